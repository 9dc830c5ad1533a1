#include "DetectionSupport.h"

#include "app/Detection.h"
#include "ReferenceScan.h"

#include <QDir>

#include <algorithm>
#include <cstdlib>

namespace apptest {

std::int32_t FrameCount(std::initializer_list<TLevelRun> Runs)
{
    std::int32_t Count = 0;
    for (const TLevelRun &Run : Runs)
        Count += Run.Count;
    return Count;
}

TWavContent ReadWav(const QString &Path)
{
    const wavtest::Bytes File = wavtest::ReadFileBytes(Path.toStdString());
    TWavContent Content;
    auto U16 = [&](std::size_t At) { return std::uint16_t(File.at(At) | File.at(At + 1) << 8); };
    auto U32 = [&](std::size_t At) { return std::uint32_t(U16(At) | std::uint32_t(U16(At + 2)) << 16); };
    // The layout SaveToFile writes: RIFF, an 18-byte fmt chunk, data.
    EXPECT_EQ(std::string(File.begin(), File.begin() + 4), "RIFF");
    EXPECT_EQ(U32(4), File.size() - 8);
    EXPECT_EQ(std::string(File.begin() + 8, File.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(U32(16), 18u);
    EXPECT_EQ(U16(20), 1u);
    Content.Channels = U16(22);
    Content.Rate = U32(24);
    Content.Bits = U16(34);
    EXPECT_EQ(std::string(File.begin() + 38, File.begin() + 42), "data");
    const std::uint32_t DataBytes = U32(42);
    EXPECT_LE(46 + DataBytes, File.size());
    Content.Data.assign(File.begin() + 46, File.begin() + 46 + std::min<std::size_t>(DataBytes, File.size() - 46));
    return Content;
}

void CommandTest::SetUp()
{
    FormTest::SetUp();
    ProgramDir = Dir.filePath(QStringLiteral("program"));
    QDir().mkpath(ProgramDir);
    Form->ProgramDirectory = [this] { return ProgramDir; };
    Form->AskYesNo = [this](const QString &Caption, const QString &Text) {
        Questions << Caption + "|" + Text;
        return Answer;
    };
    Form->OpenFolder = [this](const QString &Folder) { OpenedFolders << Folder; };
}

void CommandTest::Load(const wavtest::Bytes &File)
{
    Open(WriteFile("input" + std::to_string(++Loads) + ".wav", File));
}

void CommandTest::LoadLevels(std::initializer_list<TLevelRun> Runs)
{
    Load(Mono16(Levels16(Runs)));
}

std::vector<TTrimArea> CommandTest::Areas() const
{
    return std::vector<TTrimArea>(Form->FAreas.begin(), Form->FAreas.begin() + Form->FAreaCount);
}

wavtest::Bytes CommandTest::Held(const TZuWave &Wave) const
{
    const TZuInternalWAVE *Internal = Wave.InternalWave();
    return wavtest::Bytes(Internal->FData, Internal->FData + Internal->FDataSize);
}

} // namespace apptest

std::int32_t SampleLevel(TForm1 &Form, std::int32_t Pos)
{
    if (Pos < 0 || Pos >= Form.ZU->GetWaveSize()) {
        Form.setWindowTitle(QStringLiteral("内部エラー"));
        return 0;
    }
    const std::int32_t Level = std::abs(Form.ZU->GetPosValue16(0, Pos));
    if (Form.ZU->GetChannels() != 2)
        return Level;
    // Sound on either channel counts.
    return std::max(Level, std::abs(Form.ZU->GetPosValue16(1, Pos)));
}

// Every level through SampleLevel and the checked sample access.
void ScanTrimAreasPerSample(TForm1 &Form)
{
    const TTrimSettings Settings = ReadTrimSettings(Form);
    ScanTrimAreas([&Form](std::int32_t Pos) { return SampleLevel(Form, Pos); }, Form.ZU->GetWaveSize(), Settings,
                  Form.FAreas, Form.FAreaCount);
}
