// Loading under real file-system faults: the chosen file vanishes or is cut
// short between the dialog and the read, may not be read, or is a folder.
// Each shows its error through the standard error display, and the program
// goes on to load the next file.
#include "FaultInjection.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QScrollBar>

#include <fcntl.h>
#include <unistd.h>

#include <functional>

using namespace apptest;
using namespace wavtest;

namespace {

QString CannotOpen(const QString &Path)
{
    return QStringLiteral("ファイル ") + Path + QStringLiteral(" は開けません");
}

class FaultLoadTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        Good = WriteFile("good.wav", Mono16(std::vector<std::int16_t>(1000, 1234)));
        Chosen = WriteFile("chosen.wav", Stereo16(std::vector<std::int16_t>(2 * 3000, -77)));
        Choose(Good);
        ASSERT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
        ASSERT_EQ(Form->ZU->GetWaveSize(), 1000);
        // As if detection had run on the recording.
        Form->FAreas = {{100, 900}};
        Form->FAreaCount = 1;
    }

    // Runs the menu command; the dialog first does Meanwhile (the fault)
    // and then answers with Path.
    void Choose(const QString &Path, const std::function<void()> &Meanwhile = {})
    {
        Form->RunOpenDialog = [Path, Meanwhile]() -> std::optional<QString> {
            if (Meanwhile)
                Meanwhile();
            return Path;
        };
        Form->WAV1->trigger();
    }

    // The one error was shown; the chosen file, once whole again, loads.
    void ExpectErrorThenUsable(const QString &Error)
    {
        EXPECT_EQ(Errors, QStringList{Error});
        Errors.clear();
        WriteFileBytes(Chosen.toStdString(), Stereo16(std::vector<std::int16_t>(2 * 3000, -77)));
        Choose(Chosen);
        EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
        EXPECT_EQ(Form->ZU->GetWaveSize(), 3000);
        EXPECT_EQ(Form->ZU->GetChannels(), 2);
        EXPECT_EQ(Form->ZU->GetPosValue(1, 2999), -77);
        EXPECT_EQ(Form->SB->maximum(), 3000);
        EXPECT_EQ(Form->FAreaCount, 0);
        EXPECT_FALSE(View().isNull());
    }

    // A file that could not be opened changed nothing.
    void ExpectPreviousRecordingKept()
    {
        EXPECT_EQ(Form->ZU->GetWaveSize(), 1000);
        EXPECT_EQ(Form->ZU->GetPosValue(0, 999), 1234);
        EXPECT_EQ(Form->FAreaCount, 1);
        EXPECT_EQ(Form->SB->maximum(), 1000);
    }

    QString Good;
    QString Chosen;
};

struct TCut {
    std::size_t Length;
    const char *Error;
};

class FaultLoadTruncated : public FaultLoadTest, public ::testing::WithParamInterface<TCut> {};

} // namespace

TEST_F(FaultLoadTest, FileRemovedAfterChoosingIt)
{
    Choose(Chosen, [this] { ASSERT_TRUE(QFile::remove(Chosen)); });
    ExpectPreviousRecordingKept();
    ExpectErrorThenUsable(CannotOpen(Chosen));
}

TEST_F(FaultLoadTest, FolderChosenAsTheFile)
{
    const QString Folder = Dir.filePath(QStringLiteral("folder.wav"));
    ASSERT_TRUE(QDir().mkdir(Folder));
    Choose(Folder);
    ExpectPreviousRecordingKept();
    ExpectErrorThenUsable(CannotOpen(Folder));
}

TEST_F(FaultLoadTest, FileWithoutReadPermission)
{
    {
        faults::TModeChange Unreadable(Chosen, 0);
        faults::TPermissionBitsBind Bind;
        const int Probe = ::open(Chosen.toStdString().c_str(), O_RDONLY);
        if (Probe >= 0) {
            ::close(Probe);
            GTEST_SKIP() << "permission bits do not bind here even without the override capabilities";
        }
        Choose(Chosen);
    }
    ExpectPreviousRecordingKept();
    ExpectErrorThenUsable(CannotOpen(Chosen));
}

// Cut after the dialog: the file opens, but what is read is not a whole WAV.
// The old recording is gone by then, and its trim areas and range with it.
TEST_P(FaultLoadTruncated, FileCutShortAfterChoosingIt)
{
    const TCut Cut = GetParam();
    Choose(Chosen, [this, Cut] { ASSERT_EQ(::truncate(Chosen.toStdString().c_str(), off_t(Cut.Length)), 0); });
    EXPECT_EQ(Form->ZU->GetWaveSize(), 0);
    EXPECT_EQ(Form->FAreaCount, 0);
    EXPECT_EQ(Form->SB->maximum(), 0);
    ExpectErrorThenUsable(QString::fromUtf8(Cut.Error));
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, FaultLoadTruncated,
    ::testing::Values(TCut{0, "TZuInternalWave.LoadFromFile:Not a waveform-audio file."},
                      TCut{30, "TZuInternalWave.LoadfromFile:Error reading fmt chunk."},
                      TCut{44 + 1001, "TZuInternalWave.LoadfromFile:Error reading data chunk."}));
