// Saving every trim area as MakedFile/WAVEnn.wav in the program's directory:
// the files against the recording's positions, the names, the question, and
// every way the folder or a file can fail.
#include "DetectionSupport.h"
#include "FaultInjection.h"

#include "app/Export.h"
#include "app/PaintBox.h"
#include "platform/Streams.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QScrollBar>
#include <QTimer>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace apptest;

namespace {

// The question after an export: the designed one, then how many files went where.
QString QuestionFor(int Files, const QString &Folder)
{
    return QStringLiteral("情報|分割しました。作成されたデータのフォルダを開きますか？\n%1個のファイル: %2")
        .arg(Files)
        .arg(Folder);
}
const QString Problem = "元のwavファイルに問題があります";
const QString FolderProblem = "出力先のフォルダに書き込めません";

// The export's message for a failure of the recording: what failed, and why.
QString ProblemWith(const QString &Path, const QString &Why)
{
    return Problem + QLatin1Char('\n') + Path + QStringLiteral(": ") + Why;
}

// The same for a failure of the folder, which the recording has no part in.
QString FolderProblemWith(const QString &Path, const QString &Why)
{
    return FolderProblem + QLatin1Char('\n') + Path + QStringLiteral(": ") + Why;
}

QString SystemReason(int ErrorNumber)
{
    return QString::fromLocal8Bit(std::strerror(ErrorNumber));
}

// Count pieces: a gap of quiet noise, then a burst of loud values that are
// all different, so a copy from a wrong offset cannot pass.
std::vector<std::int16_t> Pieces16(int Count, int Burst, int Gap)
{
    std::vector<std::int16_t> Samples;
    for (int Piece = 0; Piece <= Count; ++Piece) {
        for (int I = 0; I < Gap; ++I)
            Samples.push_back(std::int16_t((Samples.size() * 13) % 401 - 200));
        if (Piece == Count)
            break;
        for (int I = 0; I < Burst; ++I) {
            const int Magnitude = 3000 + int(Samples.size() * 37 % 20000);
            Samples.push_back(std::int16_t(Samples.size() % 2 ? -Magnitude : Magnitude));
        }
    }
    return Samples;
}

// 8-bit stereo: each channel has its own pattern of bytes.
wavtest::Bytes Pieces8Stereo(int Count, int Burst, int Gap)
{
    wavtest::Bytes Data;
    int Frame = 0;
    for (int Piece = 0; Piece <= Count; ++Piece) {
        for (int I = 0; I < Gap; ++I, ++Frame) {
            Data.push_back(std::uint8_t(127 + Frame % 3));
            Data.push_back(std::uint8_t(129 - Frame % 3));
        }
        if (Piece == Count)
            break;
        for (int I = 0; I < Burst; ++I, ++Frame) {
            Data.push_back(std::uint8_t(Frame % 2 ? 108 - Frame % 100 : 148 + Frame % 100));
            Data.push_back(std::uint8_t(Frame % 2 ? 200 - Frame % 50 : 40 + Frame % 80));
        }
    }
    return wavtest::PcmFile(2, 11025, 8, Data);
}

// Writes beyond Bytes fail as on a full disk, while the object lives.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t Bytes)
    {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit Limit = FOld;
        Limit.rlim_cur = Bytes;
        setrlimit(RLIMIT_FSIZE, &Limit);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
};

class ExportTest : public CommandTest {
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        Form->ShowMessage = [this](const QString &Text) {
            Messages << Text;
            CursorAtMessages << (QApplication::overrideCursor() != nullptr);
        };
    }

    QString Folder() const { return ProgramDir + "/MakedFile"; }
    QStringList Files() const { return QDir(Folder()).entryList(QDir::Files, QDir::Name); }
    QString File(const QString &Name) const { return Folder() + "/" + Name; }

    // Detects with the panel's settings, then exports; the export's own
    // messages only.
    void DetectAndExport()
    {
        Form->N5Click();
        Messages.clear();
        CursorAtMessages.clear();
        Paints = 0;
        Form->N6Click();
    }

    // Each area's file holds the recording's bytes of its positions.
    void ExpectFilesMatchAreas(const wavtest::Bytes &Source, int FrameBytes, std::uint16_t Channels,
                               std::uint32_t Rate, std::uint16_t Bits)
    {
        const wavtest::Bytes Samples(Source.begin() + 44, Source.end());
        for (std::int32_t I = 0; I < Form->FAreaCount; ++I) {
            const TTrimArea Area = Form->FAreas[I];
            const TWavContent Saved = ReadWav(ExportFileName(Folder(), I));
            EXPECT_EQ(Saved.Channels, Channels);
            EXPECT_EQ(Saved.Rate, Rate);
            EXPECT_EQ(Saved.Bits, Bits);
            const wavtest::Bytes Expected(Samples.begin() + Area.StartPos * FrameBytes,
                                          Samples.begin() + Area.EndPos * FrameBytes);
            EXPECT_TRUE(Saved.Data == Expected) << "area " << I;
        }
    }

    QList<bool> CursorAtMessages;
};

TEST_F(ExportTest, SixteenBitMonoFilesHoldExactlyTheirAreasPositions)
{
    // The fade lengths are only drawn; they change no sample.
    Form->SBAFIL->setValue(500);
    Form->SBAFOL->setValue(500);
    Form->SBMZSS->setValue(30);
    const wavtest::Bytes Source = Mono16(Pieces16(4, 700, 400));
    Load(Source);
    DetectAndExport();
    ASSERT_EQ(Form->FAreaCount, 4);
    EXPECT_EQ(Files(), (QStringList{"WAVE00.wav", "WAVE01.wav", "WAVE02.wav", "WAVE03.wav"}));
    ExpectFilesMatchAreas(Source, 2, 1, 44100, 16);
    EXPECT_EQ(Questions, QStringList{QuestionFor(4, Folder())});
    EXPECT_TRUE(OpenedFolders.isEmpty());
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(Paints, 1);
    // ZU2 keeps the last area saved.
    EXPECT_EQ(Form->ZU2->GetWaveSize(), Form->FAreas[3].EndPos - Form->FAreas[3].StartPos);
}

TEST_F(ExportTest, EightBitStereoExportsAsEightBitStereo)
{
    const wavtest::Bytes Source = Pieces8Stereo(3, 333, 250);
    Load(Source);
    DetectAndExport();
    ASSERT_EQ(Form->FAreaCount, 3);
    ExpectFilesMatchAreas(Source, 2, 2, 11025, 8);
    EXPECT_EQ(Form->ZU2->GetBits(), 8);
    EXPECT_EQ(Form->ZU2->GetChannels(), 2);
    EXPECT_EQ(Form->ZU2->GetFreq(), 11025);
}

TEST_F(ExportTest, YesOpensTheFolderWithoutATrailingSeparator)
{
    Answer = true;
    Load(Mono16(Pieces16(1, 500, 300)));
    DetectAndExport();
    EXPECT_EQ(OpenedFolders, QStringList{Folder()});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ExportTest, NoAreasStillMakesTheFolderRepaintsAndAsks)
{
    Load(Silence16(5000));
    DetectAndExport();
    EXPECT_TRUE(QDir(Folder()).exists());
    EXPECT_TRUE(Files().isEmpty());
    EXPECT_EQ(Paints, 1);
    EXPECT_EQ(Questions, QStringList{QuestionFor(0, Folder())});
}

TEST_F(ExportTest, HundredFirstAreaIsWave100)
{
    Load(Mono16(Pieces16(101, 150, 120)));
    DetectAndExport();
    ASSERT_EQ(Form->FAreaCount, 101);
    const QStringList Names = Files();
    ASSERT_EQ(Names.size(), 101);
    EXPECT_EQ(Names.first(), "WAVE00.wav");
    EXPECT_TRUE(Names.contains("WAVE09.wav"));
    EXPECT_TRUE(Names.contains("WAVE99.wav"));
    EXPECT_TRUE(Names.contains("WAVE100.wav"));
    EXPECT_EQ(ExportFileName("d", 7), "d/WAVE07.wav");
    EXPECT_EQ(ExportFileName("d", 1234), "d/WAVE1234.wav");
}

TEST_F(ExportTest, TheFolderHoldsOneExportAfterAnEarlierLargerOne)
{
    QDir().mkpath(Folder());
    const QDir At(Folder());
    // The user's own files, also those named as pieces are: no export
    // wrote them, so none removes them.
    const QStringList Others = {"WAVE9.wav", "WAVE007.wav", "wave05.wav", "WAVE05.wav.bak", "notes.txt",
                                "WAVE99.wav", "WAVE01.flac"};
    for (const QString &Name : Others)
        wavtest::WriteFileBytes(At.filePath(Name).toStdString(), {'x'});
    Load(Mono16(Pieces16(10, 400, 300)));
    DetectAndExport();
    ASSERT_EQ(Form->FAreaCount, 10);

    // Of the earlier export's files, one the user changed, one replaced by
    // a link and one by a folder are no longer its own.
    const QString Outside = Dir.filePath("outside.wav");
    wavtest::WriteFileBytes(Outside.toStdString(), {'k', 'e', 'e', 'p'});
    ASSERT_TRUE(QFile::remove(At.filePath("WAVE04.wav")));
    ASSERT_TRUE(QFile::link(Outside, At.filePath("WAVE04.wav")));
    wavtest::WriteFileBytes(At.filePath("WAVE05.wav").toStdString(), {'e', 'd', 'i', 't'});
    ASSERT_TRUE(QFile::remove(At.filePath("WAVE08.wav")) && At.mkdir("WAVE08.wav"));

    const wavtest::Bytes Source = Mono16(Pieces16(3, 400, 300));
    Load(Source);
    DetectAndExport();
    ASSERT_EQ(Form->FAreaCount, 3);
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();
    ExpectFilesMatchAreas(Source, 2, 1, 44100, 16);
    QStringList Expected = Others
        + QStringList{".redivev-done", "WAVE00.wav", "WAVE01.wav", "WAVE02.wav", "WAVE04.wav", "WAVE05.wav", "WAVE08.wav"};
    Expected.sort();
    EXPECT_EQ(At.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name),
              Expected);
    EXPECT_EQ(wavtest::ReadFileBytes(Outside.toStdString()), (wavtest::Bytes{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(wavtest::ReadFileBytes(At.filePath("WAVE05.wav").toStdString()), (wavtest::Bytes{'e', 'd', 'i', 't'}));
}

TEST_F(ExportTest, FolderThatCannotBeMadeGivesOneMessageAndNoQuestion)
{
    // A parent that is a regular file stops everybody, root included.
    const QString Blocker = Dir.filePath("blocker");
    wavtest::WriteFileBytes(Blocker.toStdString(), {'x'});
    ProgramDir = Blocker;
    const TScopedEnv NoDataHome("XDG_DATA_HOME", QFile::encodeName(Blocker + "/data"));
    Load(Mono16(Pieces16(2, 400, 300)));
    DetectAndExport();
    const QString PerUser = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/MakedFile";
    EXPECT_EQ(Messages, QStringList{FolderProblemWith(PerUser, SystemReason(ENOTDIR))});
    EXPECT_EQ(CursorAtMessages, QList<bool>{false});
    EXPECT_TRUE(Questions.isEmpty());
    EXPECT_EQ(Paints, 0);
    // The program goes on: the same command works once the folder can be made.
    ProgramDir = Dir.filePath("program");
    Form->N6Click();
    EXPECT_EQ(Files().size(), 2);
}

// Pieces go beside the program where the user may create and write the
// folder there (a copied folder, the build tree). Otherwise they go to the
// per-user data folder, and the question opens that one: for an installed
// copy, known by its menu entry, even in a folder the user owns
// (~/.local/bin); for a program folder only root may write; and for a
// MakedFile that root made there by running the program.
TEST_F(ExportTest, PiecesGoBesideTheProgramOnlyWhereTheUserMayWriteThem)
{
    Answer = true;
    Load(Mono16(Pieces16(2, 400, 300)));
    DetectAndExport();
    EXPECT_EQ(Files(), (QStringList{"WAVE00.wav", "WAVE01.wav"}));
    EXPECT_EQ(OpenedFolders, QStringList{Folder()});
    const wavtest::Bytes Second = wavtest::ReadFileBytes(File("WAVE01.wav").toStdString());

    const QString PerUser = DataHome() + "/" + QCoreApplication::applicationName() + "/MakedFile";
    const auto ExportToPerUser = [&](const QString &ReadOnlyPath) {
        OpenedFolders.clear();
        QDir(PerUser).removeRecursively();
        // Root ignores permission bits unless it gives up that right.
        faults::TPermissionBitsBind Bind;
        std::optional<faults::TModeChange> ReadOnly;
        if (!ReadOnlyPath.isEmpty())
            ReadOnly.emplace(ReadOnlyPath, 0555);
        DetectAndExport();
        EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();
        EXPECT_EQ(OpenedFolders, QStringList{PerUser});
        EXPECT_EQ(QDir(PerUser).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                  (QStringList{".redivev-done", "WAVE00.wav", "WAVE01.wav"}));
        EXPECT_EQ(wavtest::ReadFileBytes((PerUser + "/WAVE01.wav").toStdString()), Second);
    };

    ExportToPerUser(Folder());
    EXPECT_EQ(Files(), (QStringList{"WAVE00.wav", "WAVE01.wav"}));

    ASSERT_TRUE(QDir(Folder()).removeRecursively());
    ExportToPerUser(ProgramDir);
    EXPECT_TRUE(QDir(ProgramDir).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    const QString Entry = Dir.filePath("share/applications/redivev.desktop");
    QDir().mkpath(QFileInfo(Entry).path());
    wavtest::WriteFileBytes(Entry.toStdString(), {'[', ']'});
    ExportToPerUser(QString());
    EXPECT_TRUE(QDir(ProgramDir).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    // Where the desktop names a music folder, an installed copy's pieces go
    // there, to a folder of their own; one named but missing is none.
    const QString Music = Dir.filePath("Music");
    const QString UserDirs = Dir.filePath("config/user-dirs.dirs");
    QDir().mkpath(QFileInfo(UserDirs).path());
    const QByteArray Named = "# written by xdg-user-dirs-update\nXDG_MUSIC_DIR=\"" + QFile::encodeName(Music) + "\"\n";
    wavtest::WriteFileBytes(UserDirs.toStdString(), wavtest::Bytes(Named.begin(), Named.end()));
    ExportToPerUser(QString());
    ASSERT_TRUE(QDir().mkdir(Music));
    OpenedFolders.clear();
    DetectAndExport();
    EXPECT_EQ(OpenedFolders, QStringList{Music + "/Redivev"});
    EXPECT_EQ(QDir(Music + "/Redivev").entryList(QDir::Files, QDir::Name), (QStringList{"WAVE00.wav", "WAVE01.wav"}));
}

TEST_F(ExportTest, FileThatFailsHalfWayIsRemovedAndEarlierFilesStay)
{
    // Pieces of growing length: the first file fits under the limit, the
    // second does not.
    std::vector<std::int16_t> Samples = Pieces16(1, 300, 300);
    const std::vector<std::int16_t> Long = Pieces16(2, 3000, 300);
    Samples.insert(Samples.end(), Long.begin(), Long.end());
    Load(Mono16(Samples));
    Form->N5Click();
    ASSERT_EQ(Form->FAreaCount, 3);
    QDir().mkpath(Folder());
    wavtest::WriteFileBytes(File("WAVE02.wav").toStdString(), {'o', 'l', 'd'});
    Messages.clear();
    {
        TFileSizeLimit Limit(2000);
        Form->N6Click();
    }
    EXPECT_EQ(Messages, QStringList{FolderProblemWith(File("WAVE01.wav"), SystemReason(EFBIG))});
    EXPECT_TRUE(Questions.isEmpty());
    EXPECT_EQ(Files(), (QStringList{"WAVE00.wav", "WAVE02.wav"}));
    const TWavContent First = ReadWav(File("WAVE00.wav"));
    EXPECT_EQ(std::int32_t(First.Data.size()), 2 * (Form->FAreas[0].EndPos - Form->FAreas[0].StartPos));
    EXPECT_EQ(wavtest::ReadFileBytes(File("WAVE02.wav").toStdString()), (wavtest::Bytes{'o', 'l', 'd'}));
}

TEST_F(ExportTest, AreaOutsideTheRecordingFailsLikeTheSampleAccess)
{
    Load(Mono16(Pieces16(1, 400, 300)));
    const std::int32_t N = Form->ZU->GetWaveSize();
    Form->FAreas = {{N - 50, N + 50}};
    Form->FAreaCount = 1;
    EXPECT_THROW(Form->ExtractArea(0), EZuWavePositionRange);
    // The copy stopped at the first missing position, not before.
    EXPECT_EQ(Form->ZU2->GetPosValue(0, 49), Form->ZU->GetPosValue(0, N - 1));
    Form->N6Click();
    EXPECT_EQ(Messages,
              QStringList{ProblemWith(File("WAVE00.wav"), "TZuWave.GetPosValue: Position is Out of Range")});
    EXPECT_TRUE(Files().isEmpty());
    EXPECT_THROW(Form->ExtractArea(1), Exception);
    EXPECT_THROW(Form->ExtractArea(-1), Exception);
}

} // namespace

TEST_F(ExportTest, RecordingOpenedFromTheFolderIsNeverWrittenOver)
{
    Load(Mono16(Pieces16(3, 400, 300)));
    DetectAndExport();
    ASSERT_EQ(Files().size(), 3);
    // A piece of the last export opened as the recording: it has pieces of
    // its own, and the next export would name its first one WAVE00.wav.
    const std::string Own = File("WAVE00.wav").toStdString();
    const wavtest::Bytes Before = wavtest::ReadFileBytes(Own);
    Form->RunOpenDialog = [&] { return std::optional<QString>(File("WAVE00.wav")); };
    Form->FileOpen();
    Form->N5Click();
    const std::vector<TTrimArea> Areas = Form->FAreas;
    ASSERT_GT(Form->FAreaCount, 0);
    Messages.clear();
    Questions.clear();
    Form->N6Click();
    EXPECT_EQ(Messages, QStringList{"開いているwavファイルが出力先にあるため分割できません\n" + File("WAVE00.wav")});
    EXPECT_TRUE(Questions.isEmpty());
    EXPECT_EQ(wavtest::ReadFileBytes(Own), Before);
    EXPECT_EQ(Form->FAreas, Areas);
    EXPECT_EQ(Files().size(), 3);
}

TEST_F(ExportTest, AFolderHeldByAnotherExportIsAwaitedBehindADialogThatCancels)
{
    Load(Mono16(Pieces16(3, 400, 300)));
    ASSERT_TRUE(QDir().mkpath(Folder()));
    const int Held = ::open(Folder().toStdString().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(Held, LOCK_EX), 0);

    // Watches for the dialog while the export waits, and presses Cancel.
    QElapsedTimer Clock;
    std::optional<qint64> ShownAfter;
    bool Modal = false;
    QTimer Watch;
    Watch.setInterval(20);
    QObject::connect(&Watch, &QTimer::timeout, [&] {
        for (QWidget *Window : QApplication::topLevelWidgets()) {
            auto *Dialog = qobject_cast<QProgressDialog *>(Window);
            if (Dialog == nullptr || !Dialog->isVisible() || ShownAfter)
                continue;
            ShownAfter = Clock.elapsed();
            Modal = Dialog->windowModality() == Qt::ApplicationModal;
            QTimer::singleShot(100, Dialog, &QProgressDialog::cancel);
        }
    });
    Watch.start();
    Clock.start();
    DetectAndExport();
    ASSERT_TRUE(ShownAfter) << "the export did not say that it waits";
    EXPECT_GE(*ShownAfter, 1000);
    EXPECT_TRUE(Modal);
    EXPECT_EQ(Messages, QStringList{"出力先のフォルダは別の分割が使用中のため、分割を取り消しました\n" + Folder()});
    EXPECT_TRUE(Questions.isEmpty());
    EXPECT_TRUE(Files().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A wait shorter than a second goes without a dialog.
    ShownAfter.reset();
    QTimer::singleShot(300, [Held] { ::close(Held); });
    Questions.clear();
    DetectAndExport();
    EXPECT_FALSE(ShownAfter);
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join('|').toStdString();
    EXPECT_EQ(Files().size(), 3);
}
