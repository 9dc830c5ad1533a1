// Detection and export run off the window's thread behind a progress
// dialog whose Cancel stops them: a cancelled detection leaves the areas as
// they were, a cancelled export only whole files; an export many times the
// recording's size is asked about first.
#include "DetectionSupport.h"

#include "app/BackgroundWork.h"
#include "app/Export.h"
#include "app/LevelReading.h"
#include "app/OpenNamed.h"
#include "app/PeakLevels.h"
#include "app/RecordingCommands.h"
#include "app/RecordingDocument.h"
#include "platform/Exception.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressDialog>
#include <QTest>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

using namespace apptest;

namespace {

class LongWorkTest : public CommandTest {
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        TBackgroundWork::QuietTime = std::chrono::milliseconds(0);
        // Presses Cancel as soon as a progress dialog shows.
        QObject::connect(&Watch, &QTimer::timeout, [this] {
            for (QWidget *Window : QApplication::topLevelWidgets())
                if (auto *Dialog = qobject_cast<QProgressDialog *>(Window); Dialog != nullptr && Dialog->isVisible()) {
                    if (++Dialogs == 1 && OnDialog)
                        OnDialog();
                    Modal = Dialog->windowModality() == Qt::ApplicationModal;
                    Dialog->findChild<QPushButton *>()->click();
                }
        });
        Watch.start(0);
    }
    void TearDown() override
    {
        Watch.stop();
        TBackgroundWork::QuietTime = std::chrono::milliseconds(1000);
        CommandTest::TearDown();
    }

    QString Folder() const { return ProgramDir + "/MakedFile"; }

    QTimer Watch;
    std::function<void()> OnDialog;
    int Dialogs = 0;
    bool Modal = false;
};

} // namespace

TEST_F(LongWorkTest, ACancelledDetectionLeavesTheAreasAsTheyWere)
{
    // Each loud position opens an area whose start search looks 5000
    // positions back: billions of reads in all.
    std::vector<std::int16_t> Samples;
    for (int I = 0; I < 100000; ++I) {
        const auto Run = Levels16({{1, 5000}, {10, 0}});
        Samples.insert(Samples.end(), Run.begin(), Run.end());
    }
    Load(Mono16(Samples));
    Form->SBMZSS->setValue(5000);
    Form->SBNW->setValue(10);
    const std::vector<TTrimArea> Before{{3, 50}, {70, 200}};
    Form->FAreas = Before;
    Form->FAreaCount = 2;
    // A file dropped meanwhile waits until the detection has ended.
    const QString Dropped = WriteFile("dropped.wav", Silence16(500));
    // Enter, to the dialog or its button, is no Cancel: a key meant for
    // the window must not end the work.
    bool EnterCancelled = true;
    OnDialog = [&] {
        for (QWidget *Window : QApplication::topLevelWidgets())
            if (auto *Dialog = qobject_cast<QProgressDialog *>(Window); Dialog != nullptr && Dialog->isVisible()) {
                QTest::keyClick(Dialog, Qt::Key_Return);
                QTest::keyClick(Dialog->findChild<QPushButton *>(), Qt::Key_Enter);
                EnterCancelled = Dialog->wasCanceled();
            }
        OpenNamedFile(*Form, Dropped);
    };

    Form->N5Click();
    EXPECT_EQ(Form->ZU->GetWaveSize(), 1100000);
    EXPECT_GE(Dialogs, 1);
    EXPECT_TRUE(Modal);
    EXPECT_FALSE(EnterCancelled);
    EXPECT_EQ(Form->FAreas, Before);
    EXPECT_EQ(Form->FAreaCount, 2);
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join('|').toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QElapsedTimer Clock;
    Clock.start();
    while (Form->ZU->GetWaveSize() != 500 && Clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(Form->ZU->GetWaveSize(), 500);
}

TEST_F(LongWorkTest, AnOverlargeExportIsAskedAndACancelledOneLeavesWholeFiles)
{
    std::vector<std::int16_t> Samples(30000);
    for (std::size_t I = 0; I < Samples.size(); ++I)
        Samples[I] = std::int16_t(I * 7919 % 60000 - 30000);
    const wavtest::Bytes Source = Mono16(Samples);
    Load(Source);
    // 2000 overlapping areas: 100 MB from a recording of 60 kB.
    Form->FAreas.assign(2000, TTrimArea{1000, 26000});
    Form->FAreaCount = 2000;

    Answer = false;
    Form->N6Click();
    ASSERT_EQ(Questions.size(), 1);
    EXPECT_TRUE(Questions[0].startsWith("確認|")) << Questions[0].toStdString();
    EXPECT_FALSE(QDir(Folder()).exists() && !QDir(Folder()).isEmpty());
    EXPECT_EQ(Dialogs, 0);

    Answer = true;
    Questions.clear();
    Form->N6Click();
    EXPECT_EQ(Questions.size(), 1) << "asked whether to open the folder after a cancel";
    EXPECT_EQ(Messages, QStringList{"保存を取り消しました。それまでに保存したファイルは出力先に残っています\n" + Folder()});
    const QStringList Present =
        QDir(Folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    ASSERT_FALSE(Present.isEmpty());
    EXPECT_LT(Present.size(), 2000);
    const wavtest::Bytes Piece(Source.begin() + 44 + 2000, Source.begin() + 44 + 52000);
    for (int I = 0; I < Present.size(); ++I) {
        ASSERT_EQ(Present[I], QFileInfo(ExportFileName(Folder(), I)).fileName());
        EXPECT_TRUE(ReadWav(ExportFileName(Folder(), I)).Data == Piece) << I;
    }
}

namespace {

// A long recording: Seconds of 44.1 kHz stereo silence (a sparse file,
// nothing to write) ending in a second of full-scale square wave.
QString WriteLongRecording(const QString &Path, std::int64_t Seconds)
{
    const std::int64_t DataBytes = Seconds * 44100 * 4;
    wavtest::Bytes Header = wavtest::PcmFile(2, 44100, 16, {});
    EXPECT_EQ(Header.size(), 44u);
    const auto Put32 = [&](std::size_t At, std::uint32_t Value) {
        for (int I = 0; I < 4; ++I)
            Header[At + std::size_t(I)] = std::uint8_t(Value >> (8 * I));
    };
    Put32(4, std::uint32_t(36 + DataBytes));
    Put32(40, std::uint32_t(DataBytes));
    QFile File(Path);
    EXPECT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(reinterpret_cast<const char *>(Header.data()), qint64(Header.size()));
    EXPECT_TRUE(File.resize(44 + DataBytes - 44100 * 4));
    File.seek(File.size());
    QByteArray Square;
    for (int Frame = 0; Frame < 44100; ++Frame) {
        const std::int16_t Value = Frame % 100 < 50 ? 30000 : -30000;
        for (int Channel = 0; Channel < 2; ++Channel)
            Square.append(char(Value & 0xFF)).append(char((Value >> 8) & 0xFF));
    }
    File.write(Square);
    return Path;
}

// The longest wait between two turns of the window's event loop.
class TLoopProbe {
public:
    TLoopProbe()
    {
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            FLongest = std::max(FLongest, FClock.restart());
            ++FTicks;
        });
        FTimer.start(5);
        FClock.start();
    }
    qint64 Longest() const { return std::max(FLongest, FClock.elapsed()); }
    int Ticks() const { return FTicks; }

private:
    int FTicks = 0;
    QTimer FTimer;
    QElapsedTimer FClock;
    qint64 FLongest = 0;
};

bool WaitFor(const std::function<bool()> &Condition, int Milliseconds)
{
    QElapsedTimer Clock;
    Clock.start();
    while (!Condition() && Clock.elapsed() < Milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return Condition();
}

} // namespace

// A long recording opens at once: its file is mapped, not copied, and its
// levels are read on a thread of their own while the window keeps turning
// its event loop; the view shows them as they arrive, and the line over it
// stops the reading on a click, keeping the recording open.
TEST_F(CommandTest, ALongRecordingOpensWhileTheWindowAnswers)
{
    const QString Path = WriteLongRecording(Dir.filePath(QStringLiteral("long.wav")), 40 * 60);
    const std::int64_t Frames = std::int64_t(40) * 60 * 44100;
    const TLoopProbe Probe;
    QElapsedTimer Clock;
    Clock.start();
    Open(Path);
    EXPECT_LT(Clock.elapsed(), 1000);
    ASSERT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
    EXPECT_EQ(Form->ZU->GetWaveSize(), Frames);
    ASSERT_NE(Form->FLevelReading, nullptr);
    EXPECT_TRUE(Form->FLevelReading->Line().contains(QStringLiteral("long.wav"))) << Form->FLevelReading->Line().toStdString();
    const int TicksOpening = Probe.Ticks();
    ASSERT_TRUE(WaitFor([this] { return Form->FLevelReading->Ended(); }, 60000));
    // The window answered while the levels were read, not only once they
    // were (the bound leaves room for a busy machine's scheduling).
    EXPECT_GE(Probe.Ticks() - TicksOpening, 5);
    EXPECT_LT(Probe.Longest(), 500);
    const std::shared_ptr<const TPeakLevels> Levels = Form->Peaks();
    ASSERT_TRUE(Levels->Complete());
    EXPECT_EQ(Levels->Range(0, Frames - 44100, Frames).High, 30000);
    EXPECT_EQ(Levels->Range(1, 0, Frames - 44100).High, 0);
    // The line goes once the window has seen the end.
    EXPECT_TRUE(WaitFor([this] { return Form->FLevelReading->isHidden(); }, 5000));

    // Opened again, and the reading stopped at once: the recording stays.
    Open(Path);
    ASSERT_NE(Form->FLevelReading, nullptr);
    QTest::mouseClick(Form->FLevelReading->CancelButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([this] { return Form->FLevelReading->Ended(); }, 60000));
    EXPECT_FALSE(Form->Peaks()->Complete());
    EXPECT_LT(Form->Peaks()->ReadFrames(), Frames);
    EXPECT_TRUE(WaitFor([this] { return Form->FLevelReading->Line().contains(QStringLiteral("中止")); }, 5000))
        << Form->FLevelReading->Line().toStdString();
    EXPECT_TRUE(Form->FLevelReading->isVisible());
    EXPECT_EQ(Form->ZU->GetWaveSize(), Frames);
    EXPECT_EQ(Form->ZU->GetPosValue(0, std::int32_t(Frames - 1)), -30000);
}

// The long commands need no window: a document, the scratch wave, and no
// parent for the progress dialog, which short work never shows.
TEST(RecordingCommandsTest, OpenFindExportAndNormaliseWithoutAWindow)
{
    QTemporaryDir Dir;
    const auto Write = [&Dir](const QString &Name, const wavtest::Bytes &Bytes) {
        QFile File(Dir.filePath(Name));
        EXPECT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(reinterpret_cast<const char *>(Bytes.data()), qint64(Bytes.size()));
        return QFile::encodeName(File.fileName()).toStdString();
    };
    const std::string Burst = Write(QStringLiteral("burst.wav"), Mono16(Levels16({{1000, 0}, {300, 5000}, {1000, 0}})));
    TRecordingDocument Document;
    TZuWave Scratch(nullptr);
    TRecordingCommands Commands(Document, Scratch, nullptr);
    ASSERT_TRUE(Commands.Open(Burst));
    EXPECT_EQ(QFile::encodeName(Document.RecordingName()).toStdString(), Burst);
    EXPECT_EQ(Document.Wave().GetWaveSize(), 2300);

    EXPECT_EQ(Commands.Detect(TTrimSettings{}), std::optional<QString>(QStringLiteral("1個に分割されました")));
    EXPECT_EQ(Document.ShownAreas(), (std::vector<TTrimArea>{{1000, 1299}}));
    EXPECT_FALSE(Document.HasUnsavedAreas());

    const QString Folder = Dir.filePath(QStringLiteral("pieces"));
    EXPECT_EQ(Commands.Export(Folder, {}), QString());
    EXPECT_EQ(ReadWav(Folder + QStringLiteral("/WAVE00.wav")).Data.size(), 299u * 2);
    EXPECT_EQ(Scratch.GetWaveSize(), 299);

    EXPECT_EQ(Commands.Normalise(), TNormaliseResult::Scaled);
    EXPECT_GT(std::abs(Document.Wave().GetPosValue(0, 1100)), 30000);

    // What no reader takes leaves the document as it was, and is named.
    const std::string Text = Write(QStringLiteral("notes.wav"), wavtest::Bytes(64, 'x'));
    try {
        Commands.Open(Text);
        ADD_FAILURE() << "a text file opened";
    } catch (const Exception &Error) {
        EXPECT_NE(std::string(Error.what()).find("notes.wav"), std::string::npos) << Error.what();
    }
    EXPECT_EQ(QFile::encodeName(Document.RecordingName()).toStdString(), Burst);
    EXPECT_EQ(Document.ShownAreas(), (std::vector<TTrimArea>{{1000, 1299}}));
}
