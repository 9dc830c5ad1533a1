// A recording in a format nothing reads is named right after it loads, and
// again by each command instead of its result; what the engine reads is
// not named, and PCM layouts nothing reads keep the report of the view.
// A recording whose file another program cuts short while it is open is
// named by the next paint, and again by each command.
#include "DetectionSupport.h"

#include "app/PaintBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

using namespace apptest;
using namespace wavtest;

namespace {

const QString Unsupported = QStringLiteral("このwavファイルの形式には対応していません\n");

// An extensible "fmt " body; Guid's first byte names the tag of the
// subformat when the rest is the common tail.
Bytes ExtensibleFmt(std::uint16_t Channels, std::uint16_t Bits, std::uint16_t ValidBits, std::uint8_t SubTag,
                    bool CommonTail = true)
{
    Bytes Body = FmtBody(0xFFFE, Channels, 48000, Bits, true, 22);
    PutU16(Body, ValidBits);
    PutU32(Body, 3); // speaker mask
    Bytes Guid = {SubTag, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    if (!CommonTail)
        Guid[15] = 0x72;
    Body.insert(Body.end(), Guid.begin(), Guid.end());
    return Body;
}

Bytes WaveWith(const Bytes &Fmt, std::vector<Bytes> Before = {})
{
    Before.push_back(Chunk("fmt ", Fmt));
    Before.push_back(Chunk("data", Bytes(96, 0)));
    return Riff("WAVE", Before);
}

class FormatReportTest : public CommandTest {};

struct TFormatCase {
    const char *Case;
    Bytes File;
    const char *Description; // nullptr: nothing is said
};

} // namespace

TEST_F(FormatReportTest, FormatsNothingReadsAreNamedOnce)
{
    const TFormatCase Cases[] = {
        {"A-law", WaveWith(FmtBody(6, 1, 8000, 8)), "8-bit A-law, 1 ch, 8000 Hz"},
        {"µ-law", WaveWith(FmtBody(7, 1, 8000, 8)), "8-bit µ-law, 1 ch, 8000 Hz"},
        {"MP3, no sample size", WaveWith(FmtBody(0x55, 2, 44100, 0)), "MP3, 2 ch, 44100 Hz"},
        {"unknown tag", WaveWith(FmtBody(0x1234, 1, 22050, 4)), "4-bit format 0x1234, 1 ch, 22050 Hz"},
        {"extensible of a foreign subformat", WaveWith(ExtensibleFmt(2, 32, 32, 3, false)),
         "32-bit extensible format, 2 ch, 48000 Hz"},
        {"extensible A-law after an odd chunk", WaveWith(ExtensibleFmt(2, 8, 8, 6), {Chunk("LIST", {'a', 'b', 'c'})}),
         "8-bit A-law, 2 ch, 48000 Hz"},
        {"extensible short of its subformat", WaveWith(FmtBody(0xFFFE, 2, 48000, 32, true, 0)),
         "32-bit extensible format, 2 ch, 48000 Hz"},
        {"PCM the sample access reads", PcmFile(2, 44100, 16, Bytes(96, 0)), nullptr},
        {"extensible plain PCM, stored as PCM", WaveWith(ExtensibleFmt(2, 16, 16, 1)), nullptr},
        // Read by the engine.
        {"float", WaveWith(FmtBody(3, 2, 44100, 32)), nullptr},
        {"extensible float", WaveWith(ExtensibleFmt(2, 32, 32, 3)), nullptr},
        {"extensible 24-bit PCM", WaveWith(ExtensibleFmt(2, 24, 24, 1)), nullptr},
        {"extensible 16-bit PCM of 12 bits", WaveWith(ExtensibleFmt(1, 16, 12, 1)), nullptr},
        {"24-bit PCM", PcmFile(1, 44100, 24, Bytes(96, 0)), nullptr},
        // Reported by the view when it paints, as before.
        {"12-bit PCM", PcmFile(1, 44100, 12, Bytes(96, 0)), nullptr},
    };
    int Loaded = 0;
    for (const TFormatCase &Case : Cases) {
        SCOPED_TRACE(Case.Case);
        Messages.clear();
        Open(WriteFile("recording" + std::to_string(++Loaded) + ".wav", Case.File));
        if (Case.Description == nullptr)
            EXPECT_EQ(Messages, QStringList{});
        else
            EXPECT_EQ(Messages, QStringList{Unsupported + QString::fromUtf8(Case.Description)});
    }
}

TEST_F(FormatReportTest, CommandsRepeatTheReportAndWriteNothing)
{
    // Loud bytes, so that any command that read them as PCM would find sound.
    Bytes Data(3000, 0x10);
    Data.insert(Data.end(), 600, 0xD5);
    Open(WriteFile("alaw.wav", Riff("WAVE", {Chunk("fmt ", FmtBody(6, 1, 8000, 8)), Chunk("data", Data)})));
    const QString Report = Unsupported + QStringLiteral("8-bit A-law, 1 ch, 8000 Hz");
    Form->N5Click();
    Form->N6Click();
    Form->N3Click();
    EXPECT_EQ(Messages, QStringList(4, Report));
    EXPECT_TRUE(Questions.isEmpty());
    EXPECT_TRUE(QDir(ProgramDir).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    EXPECT_FALSE(QDir(DataHome()).exists());

    // The next recording is judged on its own.
    Messages.clear();
    LoadLevels({{1000, 0}, {300, 5000}, {1000, 0}});
    Form->N5Click();
    EXPECT_EQ(Messages, QStringList{"1個に分割されました"});
}

TEST_F(FormatReportTest, ARecordingCutShortWhileOpenIsNamedAndItsZerosNeverUsed)
{
    // Loud over many pages, of which the cut leaves the first only.
    const QString Path = WriteFile("cut.wav", Mono16(Levels16({{1000, 0}, {30000, 5000}, {1000, 0}})));
    Open(Path);
    ASSERT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
    Form->FAreas = {{1000, 31000}};
    Form->FAreaCount = 1;
    const QString Report =
        QStringLiteral("wavファイルが他のプログラムによって短くなりました。もう一度開いてください\n") + Path;
    ASSERT_EQ(::truncate(Path.toStdString().c_str(), 4096), 0);

    // Once, however often the view paints.
    for (int Paint = 0; Paint < 2; ++Paint) {
        Form->PB->repaint();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(Errors, QStringList{Report});
    Form->FClickPos = 20000;
    Form->Playthistrimarea1Click();
    Form->N6Click();
    Form->N5Click();
    Form->N3Click();
    Form->SuggestClick();
    EXPECT_EQ(Messages, QStringList(5, Report));
    ASSERT_EQ(Form->FAreaCount, 1);
    EXPECT_EQ(Form->FAreas[0].StartPos, 1000);
    EXPECT_EQ(Form->FAreas[0].EndPos, 31000);
    EXPECT_TRUE(QDir(ProgramDir).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    EXPECT_FALSE(QDir(DataHome()).exists());
    // The areas are the user's work, and need no sample: they are saved.
    Messages.clear();
    const QString Labels = Dir.filePath(QStringLiteral("cut.txt"));
    Form->RunLabelDialog = [&](bool) -> std::optional<QString> { return Labels; };
    EXPECT_TRUE(Form->SaveAreasAsLabels());
    EXPECT_TRUE(QFileInfo(Labels).size() > 0);
    EXPECT_EQ(Messages.size(), 1);
    EXPECT_FALSE(Messages.contains(Report));

    // Written whole again and opened again, it is a recording like any.
    Errors.clear();
    Messages.clear();
    WriteFile("cut.wav", Mono16(Levels16({{1000, 0}, {30000, 5000}, {1000, 0}})));
    Open(Path);
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
    Form->PB->repaint();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
    EXPECT_EQ(Form->ZU->GetWaveSize(), 32000);
    Form->N5Click();
    EXPECT_EQ(Messages, QStringList{"1個に分割されました"});
}
