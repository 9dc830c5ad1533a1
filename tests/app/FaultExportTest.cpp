// The batch export under real file-system faults: a folder it may not write
// to, a read-only file system, a disk that fills part-way, and a plain file
// where its folder belongs. Each time: the one message, no question, the
// files written before the fault intact, no truncated WAV left behind, and a
// later export succeeds once the fault is gone.
#include "FaultInjection.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>

#include <cerrno>
#include <cstring>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

using namespace apptest;
using namespace wavtest;

namespace {

// Every fault here is the folder's, none the recording's.
const QString ExportFailed = QStringLiteral("出力先のフォルダに書き込めません");

// Sizes chosen so that a 16 KiB limit or a 64 KiB disk lets the first two
// files through (2046 and 4046 bytes) and stops the third (80046) part-way.
const std::vector<TTrimArea> ThreeAreas = {{0, 1000}, {1000, 3000}, {3000, 43000}};
const std::vector<TTrimArea> OtherAreas = {{7, 1007}, {2000, 2500}, {40000, 41000}};
constexpr std::int32_t RecordingFrames = 50000;

class FaultExportTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        // The per-user data folder is the program's own folder here, so
        // that a fault of the export folder cannot be escaped by moving to
        // the per-user one.
        ProgramDir = QDir(DataHome()).filePath(QCoreApplication::applicationName());
        ASSERT_TRUE(QDir().mkpath(ProgramDir));
        Form->ProgramDirectory = [this] { return ProgramDir; };
        Form->AskYesNo = [this](const QString &, const QString &) {
            ++Questions;
            return false;
        };
        Form->OpenFolder = [](const QString &) { ADD_FAILURE() << "folder opened on No"; };
        for (std::int32_t I = 0; I < RecordingFrames; ++I)
            Samples.push_back(static_cast<std::int16_t>(I * 37 % 65536 - 32768));
        Open(WriteFile("recording.wav", Mono16(Samples)));
        ASSERT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
    }

    QString Folder() const { return QDir(ProgramDir).filePath(QStringLiteral("MakedFile")); }
    QString FileOf(int Index) const { return Folder() + QStringLiteral("/WAVE%1.wav").arg(Index, 2, 10, QLatin1Char('0')); }

    // Runs the menu command with these areas; true when it reported
    // success. A failure must name FailedPath and the system's reason.
    bool Export(const std::vector<TTrimArea> &Areas, const QString &FailedPath = {}, int ErrorNumber = 0)
    {
        Form->FAreas = Areas;
        Form->FAreaCount = static_cast<std::int32_t>(Areas.size());
        Messages.clear();
        Questions = 0;
        Form->N6->trigger();
        EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
        if (Messages.isEmpty()) {
            EXPECT_EQ(Questions, 1);
            return true;
        }
        EXPECT_EQ(Messages, QStringList{ExportFailed + QLatin1Char('\n') + FailedPath + QStringLiteral(": ")
                                        + QString::fromLocal8Bit(std::strerror(ErrorNumber))});
        EXPECT_EQ(Questions, 0) << "a failed export asked the question";
        return false;
    }

    // What the file of one area holds: the 18-byte "fmt " chunk of the
    // recording's format and exactly the area's frames.
    Bytes ExpectedFile(const TTrimArea &Area) const
    {
        const std::vector<std::int16_t> Piece(Samples.begin() + Area.StartPos, Samples.begin() + Area.EndPos);
        return Riff("WAVE", {Chunk("fmt ", FmtBody(1, 1, 44100, 16, true, 0)), Chunk("data", Samples16(Piece))});
    }

    // The folder holds exactly the files of the first Count areas, each
    // whole: nothing truncated, nothing extra.
    void ExpectFolderHolds(const std::vector<TTrimArea> &Areas, std::size_t Count)
    {
        const QStringList Present = QDir(Folder()).entryList(QDir::Files, QDir::Name);
        QStringList Wanted;
        for (std::size_t I = 0; I < Count; ++I)
            Wanted << QFileInfo(FileOf(int(I))).fileName();
        EXPECT_EQ(Present.join(' ').toStdString(), Wanted.join(' ').toStdString());
        for (std::size_t I = 0; I < Count && I < Areas.size(); ++I)
            EXPECT_EQ(ReadFileBytes(FileOf(int(I)).toStdString()), ExpectedFile(Areas[I])) << "file " << I;
        if (Count > 0) {
            TZuWave Check(nullptr);
            Check.LoadFromFile(FileOf(int(Count) - 1));
            EXPECT_EQ(Check.GetWaveSize(), Areas[Count - 1].EndPos - Areas[Count - 1].StartPos);
        }
    }

    QString ProgramDir;
    std::vector<std::int16_t> Samples;
    int Questions = 0;
};

// True when a new file in Folder is refused, as the test needs.
bool CreationRefused(const QString &Folder)
{
    const std::string Probe = (Folder + QStringLiteral("/probe")).toStdString();
    const int Handle = ::open(Probe.c_str(), O_RDWR | O_CREAT, 0644);
    if (Handle < 0)
        return true;
    ::close(Handle);
    ::unlink(Probe.c_str());
    return false;
}

} // namespace

TEST_F(FaultExportTest, FolderWithoutWritePermissionKeepsWhatWasWritten)
{
    ASSERT_TRUE(Export({ThreeAreas[0], ThreeAreas[1]}));
    {
        faults::TModeChange ReadOnly(Folder(), 0555);
        faults::TPermissionBitsBind Bind;
        if (!CreationRefused(Folder()))
            GTEST_SKIP() << "permission bits do not bind here even without the override capabilities";
        // Files are put in place by renaming new ones into the folder, so
        // not even the first can be replaced; the two there stay whole.
        EXPECT_FALSE(Export(ThreeAreas, FileOf(0), EACCES));
        ExpectFolderHolds(ThreeAreas, 2);
    }
    EXPECT_TRUE(Export(ThreeAreas));
    ExpectFolderHolds(ThreeAreas, 3);
}

TEST_F(FaultExportTest, ReadOnlyFileSystemLeavesEarlierExportUntouched)
{
    faults::TTinyTmpfs Disk(ProgramDir, 1 << 20);
    if (!Disk.Mounted())
        GTEST_SKIP() << Disk.Reason();
    ASSERT_TRUE(Export(ThreeAreas));
    ASSERT_TRUE(Disk.SetReadOnly(true));
    EXPECT_FALSE(Export(OtherAreas, FileOf(0), EROFS));
    ExpectFolderHolds(ThreeAreas, 3);

    ASSERT_TRUE(Disk.SetReadOnly(false));
    EXPECT_TRUE(Export(OtherAreas));
    ExpectFolderHolds(OtherAreas, 3);
}

TEST_F(FaultExportTest, FileSizeLimitPartWayRemovesTheBrokenFile)
{
    {
        faults::TFileSizeLimit Limit(16 * 1024);
        EXPECT_FALSE(Export(ThreeAreas, FileOf(2), EFBIG));
    }
    ExpectFolderHolds(ThreeAreas, 2);
    EXPECT_TRUE(Export(ThreeAreas));
    ExpectFolderHolds(ThreeAreas, 3);
}

TEST_F(FaultExportTest, DiskFullPartWayRemovesTheBrokenFile)
{
    faults::TTinyTmpfs Disk(ProgramDir, 64 * 1024);
    if (!Disk.Mounted())
        GTEST_SKIP() << Disk.Reason();
    EXPECT_FALSE(Export(ThreeAreas, FileOf(2), ENOSPC));
    ExpectFolderHolds(ThreeAreas, 2);
    // A file the failed export would have replaced keeps what it held.
    const Bytes Older = {'o', 'l', 'd'};
    WriteFileBytes(FileOf(2).toStdString(), Older);
    EXPECT_FALSE(Export(ThreeAreas, FileOf(2), ENOSPC));
    EXPECT_EQ(ReadFileBytes(FileOf(2).toStdString()), Older);

    ASSERT_TRUE(Disk.Resize(1 << 20));
    EXPECT_TRUE(Export(ThreeAreas));
    ExpectFolderHolds(ThreeAreas, 3);
}

TEST_F(FaultExportTest, PlainFileWhereTheFolderBelongsIsLeftAlone)
{
    const Bytes Occupant = {'n', 'o', 't', ' ', 'a', ' ', 'f', 'o', 'l', 'd', 'e', 'r'};
    WriteFileBytes(Folder().toStdString(), Occupant);
    EXPECT_FALSE(Export(ThreeAreas, Folder(), ENOTDIR));
    EXPECT_EQ(ReadFileBytes(Folder().toStdString()), Occupant);

    ASSERT_TRUE(QFile::remove(Folder()));
    EXPECT_TRUE(Export(ThreeAreas));
    ExpectFolderHolds(ThreeAreas, 3);
}
