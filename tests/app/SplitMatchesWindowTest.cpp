// redivev-split, run as a child process, writes byte for byte the files the
// window's export writes for the same recording and settings, in every
// layout, normalised or not; and for the areas the window wrote as labels.
#include "DetectionSupport.h"

#include "app/PaintBox.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScrollBar>

#include <cmath>
#include <map>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace apptest;

namespace {

struct TLayout {
    std::uint16_t Bits;
    std::uint16_t Channels;
    std::uint32_t Rate;
    bool Normalise;
};

void PrintTo(const TLayout &Layout, std::ostream *Out)
{
    *Out << Layout.Bits << "-bit " << Layout.Channels << "ch " << Layout.Rate << " Hz"
         << (Layout.Normalise ? " normalised" : "");
}

// Pieces of varying length and loudness between gaps of faint noise, the
// right channel following its own envelope, so that the zero searches, the
// stereo level and the normalising factor all have something to decide.
wavtest::Bytes Recording(const TLayout &Layout)
{
    wavtest::Bytes Data;
    auto Put = [&](int Value) {
        if (Layout.Bits == 8)
            Data.push_back(std::uint8_t(std::clamp(Value / 256 + 128, 0, 255)));
        else
            wavtest::PutU16(Data, std::uint16_t(std::int16_t(Value)));
    };
    int Frame = 0;
    for (int Piece = 0; Piece < 12; ++Piece) {
        const int Gap = 180 + Piece * 37 % 240;
        const int Burst = 150 + Piece * 91 % 500;
        const int Loudness = 2500 + Piece * 1733 % 9000;
        for (int I = 0; I < Gap + Burst; ++I, ++Frame) {
            const bool Loud = I >= Gap;
            const int Noise = (Frame * 7919) % 600 - 300;
            const double Tone = std::sin(Frame * (0.05 + Piece * 0.01));
            Put(Loud ? int(Loudness * Tone) : Noise);
            if (Layout.Channels == 2)
                Put(Loud ? int(Loudness * 0.6 * std::cos(Frame * 0.07)) : Noise / 2);
        }
    }
    for (int I = 0; I < 400; ++I)
        Put(0), Layout.Channels == 2 ? Put(0) : void();
    return wavtest::PcmFile(Layout.Channels, Layout.Rate, Layout.Bits, Data);
}

class SplitMatchesWindow : public CommandTest, public ::testing::WithParamInterface<TLayout> {};

} // namespace

TEST_P(SplitMatchesWindow, SameFilesByteForByte)
{
    const TLayout Layout = GetParam();
    const wavtest::Bytes Source = Recording(Layout);
    Load(Source);
    Form->SBN->setValue(1200);
    Form->SBCSL->setValue(1500);
    Form->SBNW->setValue(150);
    Form->SBML->setValue(120);
    Form->SBMZSS->setValue(40);
    Form->SBMZSE->setValue(60);
    if (Layout.Normalise)
        Form->N3Click();
    Form->N5Click();
    Form->N6Click();
    ASSERT_GE(Form->FAreaCount, 8);

    QStringList Arguments = {"--no-sound-level", "1200", "--cut-start-level", "1500", "--no-sound-width", "150",
                             "--min-size", "120", "--backward-search", "40", "--forward-search", "60",
                             "--out", Dir.filePath("cli"), Dir.filePath("input1.wav")};
    if (Layout.Normalise)
        Arguments.prepend("--normalise");
    QProcess Split;
    Split.start(QStringLiteral(REDIVEV_SPLIT), Arguments);
    ASSERT_TRUE(Split.waitForFinished(60000));
    EXPECT_EQ(Split.exitCode(), 0) << Split.readAllStandardError().toStdString();

    const QDir Window(ProgramDir + "/MakedFile");
    const QDir Cli(Dir.filePath("cli"));
    const QStringList Names = Window.entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(Names.size(), Form->FAreaCount);
    EXPECT_EQ(Cli.entryList(QDir::Files, QDir::Name), Names);
    for (const QString &Name : Names)
        EXPECT_TRUE(wavtest::ReadFileBytes(Cli.filePath(Name).toStdString())
                    == wavtest::ReadFileBytes(Window.filePath(Name).toStdString()))
            << Name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Layouts, SplitMatchesWindow,
                         ::testing::Values(TLayout{8, 1, 11025, false}, TLayout{8, 2, 22050, false},
                                           TLayout{16, 1, 44100, false}, TLayout{16, 2, 48000, false},
                                           TLayout{8, 2, 8000, true}, TLayout{16, 1, 32000, true}));

namespace {

class LabelsReplayed : public CommandTest {
protected:
    // Runs redivev-split in the private directory.
    int Split(const QStringList &Arguments)
    {
        QProcess Split;
        Split.setWorkingDirectory(Dir.path());
        Split.start(QStringLiteral(REDIVEV_SPLIT), Arguments);
        EXPECT_TRUE(Split.waitForFinished(60000));
        SplitErr = QString::fromUtf8(Split.readAllStandardError());
        return Split.exitCode();
    }
    // Every file of Folder and its bytes, by name.
    std::map<QString, wavtest::Bytes> Files(const QString &Folder)
    {
        std::map<QString, wavtest::Bytes> Files;
        for (const QString &Name : QDir(Folder).entryList(QDir::Files))
            Files[Name] = wavtest::ReadFileBytes(QDir(Folder).filePath(Name).toStdString());
        return Files;
    }
    QString SplitErr;
};

} // namespace

TEST_F(LabelsReplayed, AreasCorrectedInTheWindowAndWrittenAsLabelsCutTheSamePieces)
{
    Load(Recording({16, 2, 8000, false}));
    // The longest bursts are cut too: the window reads its maximum size.
    TypeInto(Form->Settings->Edit13, QStringLiteral("40ms"));
    Form->N5Click();
    const std::int32_t Detected = Form->FAreaCount;
    ASSERT_GE(Detected, 12);
    EXPECT_TRUE(std::all_of(Form->FAreas.begin(), Form->FAreas.begin() + Detected,
                            [](const TTrimArea &Area) { return Area.EndPos - Area.StartPos <= 320; }));
    // Corrected by hand: an edge moved, an area dropped.
    Form->FAreas[1].EndPos -= 7;
    Form->FAreas.erase(Form->FAreas.begin() + 3);
    --Form->FAreaCount;
    Form->N6Click();
    const QString Labels = Dir.filePath("corrected.txt");
    Form->RunLabelDialog = [&](bool Save) -> std::optional<QString> {
        EXPECT_TRUE(Save);
        return Labels;
    };
    Form->LabelExportAction->trigger();
    EXPECT_EQ(Messages.last(), QString::number(Detected - 1) + QStringLiteral("個の範囲をラベルに書き出しました"));

    ASSERT_EQ(Split({"--areas", Labels, "--out", "cli", "input1.wav"}), 0) << SplitErr.toStdString();
    const std::map<QString, wavtest::Bytes> Window = Files(ProgramDir + "/MakedFile");
    EXPECT_EQ(Window.size(), std::size_t(Detected - 1));
    EXPECT_TRUE(Files(Dir.filePath("cli")) == Window);

    // Read back, the areas are the same; named after labels edited
    // elsewhere, the pieces are the same files under their new names.
    const std::vector<TTrimArea> Corrected = Areas();
    Form->FAreaCount = 0;
    QFile File(Labels);
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    QByteArray Text = File.readAll();
    File.close();
    Text.replace("WAVE00", "Intro").replace("WAVE01", "intro");
    ASSERT_TRUE(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
    File.write(Text);
    File.close();
    Form->RunLabelDialog = [&](bool) -> std::optional<QString> { return Labels; };
    Form->LabelImportAction->trigger();
    EXPECT_EQ(Areas(), Corrected);
    Form->NamedExportAction->trigger();
    const std::map<QString, wavtest::Bytes> Named = Files(ProgramDir + "/MakedFile");
    ASSERT_EQ(Named.size(), Window.size());
    EXPECT_TRUE(Named.at("Intro.wav") == Window.at("WAVE00.wav"));
    EXPECT_TRUE(Named.at("intro_2.wav") == Window.at("WAVE01.wav"));
    EXPECT_TRUE(Named.at("WAVE02.wav") == Window.at("WAVE02.wav"));
}

TEST_F(LabelsReplayed, ALabelFileThatIsNoAreasOfTheRecordingLeavesTheAreasAndNamesItsLine)
{
    Load(Mono16(std::vector<std::int16_t>(8000, 0))); // 0.181406 s at 44100 Hz
    Form->FAreas = {{100, 200}};
    Form->FAreaCount = 1;
    Form->PB->repaint(); // shown, as a detection shows its areas
    const QString Labels = WriteFile("bad.txt", {'0', '\t', '0', '.', '1', '\n', '0', '\t', '1', '\n'});
    Form->RunLabelDialog = [&](bool) -> std::optional<QString> { return Labels; };
    Form->LabelImportAction->trigger();
    EXPECT_EQ(Messages.last(), QStringLiteral("ラベルファイルを読み込めません\n") + Labels
                                   + QStringLiteral(":2: the end 1 s is beyond the recording, which ends at 0.181406 s"));
    EXPECT_EQ(Areas(), (std::vector<TTrimArea>{{100, 200}}));
    // Areas not read from labels have no names to export under.
    Form->NamedExportAction->trigger();
    EXPECT_EQ(Messages.last(), QStringLiteral("ラベルを読み込んだ範囲ではないため、ラベル名では保存できません"));
    EXPECT_FALSE(QDir(ProgramDir + "/MakedFile").exists());

    // A good file replaces the areas in one step that can be undone; the
    // byte-order mark a text editor may put first is no part of its line.
    const QString Good = WriteFile("good.txt", {0xEF, 0xBB, 0xBF, '0', '\t', '0', '.', '1', '\t', 'x', '\n'});
    Form->RunLabelDialog = [&](bool) -> std::optional<QString> { return Good; };
    Form->LabelImportAction->trigger();
    EXPECT_EQ(Areas(), (std::vector<TTrimArea>{{0, 4410}}));
    Form->UndoAction->trigger();
    EXPECT_EQ(Areas(), (std::vector<TTrimArea>{{100, 200}}));
}

// Readers share a recording: the window opens one that another reader
// holds locked, and redivev-split cuts the one the window holds open; only
// a writer keeps a file to itself.
TEST_F(LabelsReplayed, ARecordingIsReadByTheWindowAndTheSplitterAtOnce)
{
    const QString Path = Dir.filePath(QStringLiteral("shared.wav"));
    wavtest::WriteFileBytes(Path.toStdString(), Recording({16, 2, 44100, false}));
    {
        const int Reader = ::open(Path.toStdString().c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(::flock(Reader, LOCK_SH | LOCK_NB), 0);
        Open(Path);
        ::close(Reader);
    }
    ASSERT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
    ASSERT_GT(Form->ZU->GetWaveSize(), 0);

    EXPECT_EQ(Split({"--out", "cli", Path}), 0) << SplitErr.toStdString();
    EXPECT_FALSE(QDir(Dir.filePath("cli")).entryList({"*.wav"}, QDir::Files).isEmpty());

    // A file being written is read by nobody: the window keeps what it has.
    const QString Written = Dir.filePath(QStringLiteral("written.wav"));
    wavtest::WriteFileBytes(Written.toStdString(), Recording({8, 1, 8000, false}));
    const int Writer = ::open(Written.toStdString().c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(::flock(Writer, LOCK_EX | LOCK_NB), 0);
    const std::int32_t Frames = Form->ZU->GetWaveSize();
    Form->RunOpenDialog = [Written]() -> std::optional<QString> { return Written; };
    Form->WAV1->trigger();
    ::close(Writer);
    EXPECT_EQ(Errors, QStringList{QStringLiteral("ファイル ") + Written + QStringLiteral(" は開けません")});
    EXPECT_EQ(Form->ZU->GetWaveSize(), Frames);
}
