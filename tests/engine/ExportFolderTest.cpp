// The export folder against what the disk can throw at it: links at the
// files' names, a writer killed part-way, two writers at once. Real files,
// real links, real processes.
#include "engine/ExportFolder.h"
#include "platform/FolderWriter.h"
#include "WavBuilder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace wavtest;

namespace {

// A 16-bit mono recording of Count pieces of PieceFrames frames, every
// sample derived from Seed and its position, so no two recordings match.
struct TRecording {
    TRecording(int Count, int PieceFrames, int Seed)
    {
        std::vector<std::int16_t> Values(std::size_t(Count) * PieceFrames);
        for (std::size_t I = 0; I < Values.size(); ++I)
            Values[I] = std::int16_t(I * 7919 + std::size_t(Seed) * 104729);
        Data = Samples16(Values);
        for (int I = 0; I < Count; ++I)
            Areas.push_back({I * PieceFrames, (I + 1) * PieceFrames});
        View.Format = {1, 1, 8000, 16000, 2, 16, 0};
        View.Data = Data.data();
        View.DataSize = std::int64_t(Data.size());
    }
    // The file of area I as the library's SaveToFile writes it.
    Bytes File(int I) const
    {
        const auto First = Data.begin() + 2 * Areas[std::size_t(I)].StartPos;
        const Bytes Piece(First, First + 2 * (Areas[std::size_t(I)].EndPos - Areas[std::size_t(I)].StartPos));
        return Riff("WAVE", {Chunk("fmt ", FmtBody(1, 1, 8000, 16, true, 0)), Chunk("data", Piece)});
    }
    TExportJob Job(const QString &Folder) const
    {
        return TExportJob{View, Areas.data(), std::int32_t(Areas.size()), Folder.toStdString(), {}, {}, {}};
    }
    Bytes Data;
    std::vector<TTrimArea> Areas;
    TSampleView View;
};

QString Name(int I)
{
    return QStringLiteral("WAVE%1.wav").arg(I, 2, 10, QLatin1Char('0'));
}

// Every name in the folder, hidden ones included.
QStringList Entries(const QString &Folder)
{
    return QDir(Folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Runs Body in a child process; its exit status (or 128 + signal).
template <class TBody>
pid_t Spawn(TBody &&Body)
{
    const pid_t Child = ::fork();
    if (Child == 0) {
        int Status = 0;
        try {
            Body();
        } catch (...) {
            Status = 3;
        }
        ::_exit(Status);
    }
    return Child;
}

int Reap(pid_t Child)
{
    int Status = 0;
    ::waitpid(Child, &Status, 0);
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
}

class ExportFolderTest : public ::testing::Test {
protected:
    QString Folder() const { return Dir.filePath(QStringLiteral("MakedFile")); }
    std::string Path(const QString &Name) const { return (Folder() + "/" + Name).toStdString(); }

    // Every WAVEnn.wav present is some recording's file I, whole; the
    // number of temporary files left is returned (the record is none).
    int ExpectOnlyWholeFiles(const std::vector<const TRecording *> &Candidates)
    {
        int Temporaries = 0;
        for (const QString &Entry : Entries(Folder())) {
            if (Entry == ExportRecordName)
                continue;
            if (!Entry.startsWith(QStringLiteral("WAVE"))) {
                ++Temporaries;
                continue;
            }
            const int I = Entry.mid(4, Entry.size() - 8).toInt();
            const Bytes Held = ReadFileBytes(Path(Entry));
            bool Whole = false;
            for (const TRecording *Recording : Candidates)
                Whole = Whole || Held == Recording->File(I);
            EXPECT_TRUE(Whole) << Entry.toStdString() << " is not a whole file (" << Held.size() << " bytes)";
        }
        return Temporaries;
    }

    QTemporaryDir Dir;
};

TEST_F(ExportFolderTest, LinksAtTheFilesNamesAreReplacedNotFollowed)
{
    const TRecording Recording(4, 300, 1);
    const std::string Outside = Dir.filePath("outside.wav").toStdString();
    const Bytes Precious = {'k', 'e', 'e', 'p'};
    WriteFileBytes(Outside, Precious);
    ASSERT_TRUE(QDir().mkpath(Folder()));
    ASSERT_EQ(::symlink(Outside.c_str(), Path(Name(0)).c_str()), 0);
    ASSERT_EQ(::symlink(Dir.filePath("nowhere.wav").toStdString().c_str(), Path(Name(1)).c_str()), 0);
    ASSERT_EQ(::link(Outside.c_str(), Path(Name(2)).c_str()), 0);

    WriteExportFolder(Recording.Job(Folder()));
    for (int I = 0; I < 4; ++I) {
        struct stat Info {};
        ASSERT_EQ(::lstat(Path(Name(I)).c_str(), &Info), 0);
        EXPECT_TRUE(S_ISREG(Info.st_mode)) << I;
        EXPECT_EQ(ReadFileBytes(Path(Name(I))), Recording.File(I)) << I;
    }
    EXPECT_EQ(ReadFileBytes(Outside), Precious);
    EXPECT_FALSE(QFileInfo::exists(Dir.filePath("nowhere.wav")));
    EXPECT_EQ(Entries(Folder()).size(), 5) << "four pieces and the record";

    // A folder link the user made is followed.
    const QString Real = Dir.filePath(QStringLiteral("real"));
    ASSERT_TRUE(QDir().mkpath(Real));
    ASSERT_TRUE(QDir(Folder()).removeRecursively());
    ASSERT_EQ(::symlink(Real.toStdString().c_str(), Folder().toStdString().c_str()), 0);
    WriteExportFolder(Recording.Job(Folder()));
    EXPECT_EQ(ReadFileBytes((Real + "/" + Name(3)).toStdString()), Recording.File(3));
}

TEST_F(ExportFolderTest, ARecordingInTheFolderIsRefusedBeforeAnythingIsWritten)
{
    const TRecording Recording(3, 300, 2);
    ASSERT_TRUE(QDir().mkpath(Folder()));
    const Bytes Old = {'o', 'l', 'd'};
    WriteFileBytes(Path(Name(0)), Old);
    WriteFileBytes(Path(Name(1)), Recording.Data);
    const int Handle = ::open(Path(Name(1)).c_str(), O_RDONLY);
    ASSERT_GE(Handle, 0);
    TExportJob Job = Recording.Job(Folder());
    // Any of the recordings named, not only the first.
    Job.RecordingFiles = {TFileIdentity{0, 0}, *FileIdentityOf(Handle)};
    ::close(Handle);
    try {
        WriteExportFolder(Job);
        ADD_FAILURE() << "the recording's own file was written over";
    } catch (const EExportOverwritesRecording &Error) {
        EXPECT_EQ(Error.Path, Folder() + "/" + Name(1));
    }
    EXPECT_EQ(ReadFileBytes(Path(Name(0))), Old);
    EXPECT_EQ(ReadFileBytes(Path(Name(1))), Recording.Data);
    EXPECT_EQ(Entries(Folder()).size(), 2);

    // Beyond the export's own names, where an earlier export's files are
    // removed, the recording's file stays too, even named as a temporary
    // file of a writer that died.
    const std::string Temporary = Path(".redivev-part-1.tmp");
    ASSERT_EQ(::link(Path(Name(1)).c_str(), Temporary.c_str()), 0);
    Job.Count = 1;
    WriteExportFolder(Job);
    EXPECT_EQ(ReadFileBytes(Path(Name(1))), Recording.Data);
    EXPECT_EQ(ReadFileBytes(Temporary), Recording.Data);
    EXPECT_EQ(Entries(Folder()), (QStringList{ExportRecordName, ".redivev-part-1.tmp", Name(0), Name(1)}));
}

TEST_F(ExportFolderTest, OnlyFilesAnEarlierExportWroteAndLeftAsTheyWereAreRemoved)
{
    const TRecording Ten(10, 300, 11), Three(3, 300, 12);
    const Bytes Users = {'u', 's', 'e', 'r'};
    // A folder no export wrote into keeps every file of the user's, also
    // those named as an export names its pieces.
    ASSERT_TRUE(QDir().mkpath(Folder()));
    for (const char *Own : {"WAVE99.wav", "WAVE98.flac", "WAVE100.wav", "WAVE08.wav"})
        WriteFileBytes(Path(Own), Users);
    WriteExportFolder(Three.Job(Folder()));
    EXPECT_EQ(Entries(Folder()), (QStringList{ExportRecordName, Name(0), Name(1), Name(2), "WAVE08.wav", "WAVE100.wav",
                                              "WAVE98.flac", "WAVE99.wav"}));
    EXPECT_EQ(ReadFileBytes(Path("WAVE08.wav")), Users);

    // After a larger export, its files beyond the smaller one's go, but
    // not one changed since (its bytes, or only its time), nor a link put
    // in a file's place.
    WriteExportFolder(Ten.Job(Folder()));
    WriteFileBytes(Path(Name(5)), Users);
    const timespec Times[2] = {{0, UTIME_OMIT}, {1000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, Path(Name(6)).c_str(), Times, 0), 0);
    const std::string Outside = Dir.filePath("outside.wav").toStdString();
    WriteFileBytes(Outside, Users);
    ASSERT_EQ(::unlink(Path(Name(7)).c_str()), 0);
    ASSERT_EQ(::symlink(Outside.c_str(), Path(Name(7)).c_str()), 0);
    WriteExportFolder(Three.Job(Folder()));
    EXPECT_EQ(Entries(Folder()), (QStringList{ExportRecordName, Name(0), Name(1), Name(2), Name(5), Name(6), Name(7),
                                              "WAVE100.wav", "WAVE98.flac", "WAVE99.wav"}));
    EXPECT_EQ(ReadFileBytes(Path(Name(5))), Users);
    EXPECT_EQ(ReadFileBytes(Path(Name(6))), Ten.File(6));
    EXPECT_EQ(ReadFileBytes(Outside), Users);

    // A record no export of this kind wrote removes nothing: one naming a
    // file outside the folder, one of an older run that named no files.
    struct stat Info {};
    ASSERT_EQ(::stat(Outside.c_str(), &Info), 0);
    const std::string Mtime = std::to_string(std::int64_t(Info.st_mtim.tv_sec) * 1000000000 + Info.st_mtim.tv_nsec);
    for (const std::string &Record :
         {"{\"size\": \"0\", \"mtime_ns\": \"0\", \"files\": [[\"../outside.wav\", \"4\", \"" + Mtime + "\"]]}",
          std::string("{\"settings\": \"x\", \"size\": \"0\", \"mtime_ns\": \"0\", \"pieces\": [[0, 300], [300, 600]]}")}) {
        const std::string Text = Record;
        WriteFileBytes(Path(ExportRecordName), Bytes(Text.begin(), Text.end()));
        TExportJob One = Three.Job(Folder());
        One.Count = 1;
        WriteExportFolder(One);
        EXPECT_EQ(ReadFileBytes(Outside), Users);
        EXPECT_EQ(ReadFileBytes(Path(Name(2))), Three.File(2)) << Record;
    }
}

TEST_F(ExportFolderTest, NamesFromLabelsNeverReplaceAFileNoExportWrote)
{
    const TRecording Recording(3, 300, 13);
    ASSERT_TRUE(QDir().mkpath(Folder()));
    const Bytes Other = {'o', 't', 'h', 'e', 'r'};
    WriteFileBytes(Path("other.wav"), Other);
    ASSERT_EQ(::symlink(Dir.filePath("nowhere").toStdString().c_str(), Path("intro.wav").c_str()), 0);
    TExportJob Job = Recording.Job(Folder());
    // "other_2" would be "Other_2" to a file system that ignores case.
    Job.Names = {"other", "Other_2", "intro"};
    Job.WriteLabels = true;
    const std::vector<std::string> Expected = {"other_3.wav", "Other_2.wav", "intro_2.wav"};
    EXPECT_EQ(WriteExportFolder(Job), Expected);
    for (int I = 0; I < 3; ++I)
        EXPECT_EQ(ReadFileBytes(Path(QString::fromStdString(Expected[std::size_t(I)]))), Recording.File(I)) << I;
    EXPECT_EQ(ReadFileBytes(Path("other.wav")), Other);
    const std::string Labels = "0.000000\t0.037500\tother_3\n0.037500\t0.075000\tOther_2\n0.075000\t0.112500\tintro_2\n";
    EXPECT_EQ(ReadFileBytes(Path(LabelsBesidePieces)), Bytes(Labels.begin(), Labels.end()));

    // Its own files it replaces by their names again; then what it no
    // longer writes goes, the label file too.
    EXPECT_EQ(WriteExportFolder(Job), Expected);
    Job.Count = 1;
    Job.WriteLabels = false;
    EXPECT_EQ(WriteExportFolder(Job), std::vector<std::string>{Expected[0]});
    EXPECT_EQ(Entries(Folder()), (QStringList{ExportRecordName, "intro.wav", "other.wav", "other_3.wav"}));
    // One changed since is no longer its own.
    WriteFileBytes(Path("other_3.wav"), Other);
    EXPECT_EQ(WriteExportFolder(Job), std::vector<std::string>{"other_4.wav"});
    EXPECT_EQ(ReadFileBytes(Path("other_3.wav")), Other);

    // The label file and the record are refused where a file that is kept
    // stands, before anything is written.
    for (const char *Kept : {LabelsBesidePieces, ExportRecordName}) {
        ::unlink(Path(Kept).c_str());
        WriteFileBytes(Path(Kept), Other);
        const int Handle = ::open(Path(Kept).c_str(), O_RDONLY);
        Job.RecordingFiles = {{FileIdentityOf(Handle)->Device, FileIdentityOf(Handle)->Inode, "kept.txt"}};
        ::close(Handle);
        Job.WriteLabels = true;
        Job.Count = 3;
        try {
            WriteExportFolder(Job);
            ADD_FAILURE() << Kept << " was written over";
        } catch (const EExportOverwritesRecording &Error) {
            EXPECT_EQ(Error.FilePath, Path(Kept));
            EXPECT_EQ(Error.Kept, "kept.txt");
        }
        EXPECT_EQ(ReadFileBytes(Path(Kept)), Other);
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Path("Other_2.wav"))));
    }
}

TEST_F(ExportFolderTest, AWriterKilledPartWayLeavesOnlyWholeFilesAndTheNextCleansUp)
{
    const TRecording Earlier(24, 40000, 9), Recording(24, 40000, 3); // 80 KB a file
    WriteExportFolder(Earlier.Job(Folder()));
    // Killed by the file-size limit in the middle of the first file, then
    // by a signal from outside at random moments.
    const pid_t Limited = Spawn([&] {
        const rlimit Limit{40000, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &Limit);
        ::signal(SIGXFSZ, SIG_DFL);
        WriteExportFolder(Recording.Job(Folder()));
    });
    EXPECT_EQ(Reap(Limited), 128 + SIGXFSZ);
    EXPECT_EQ(ExpectOnlyWholeFiles({&Earlier}), 1) << "the file being written stays a temporary";
    EXPECT_EQ(Entries(Folder()).filter(QStringLiteral("WAVE")).size(), 24);

    std::mt19937 Random(7);
    for (int Round = 0; Round < 6; ++Round) {
        int Ready[2];
        ASSERT_EQ(::pipe(Ready), 0);
        const pid_t Child = Spawn([&] {
            TExportJob Job = Recording.Job(Folder());
            Job.Progress = [&](std::int32_t) { (void)!::write(Ready[1], "x", 1); };
            WriteExportFolder(Job);
        });
        char Byte;
        ASSERT_EQ(::read(Ready[0], &Byte, 1), 1);
        ::usleep(Random() % 3000);
        ::kill(Child, SIGKILL);
        Reap(Child);
        ::close(Ready[0]);
        ::close(Ready[1]);
        ExpectOnlyWholeFiles({&Recording, &Earlier});
    }

    WriteExportFolder(Recording.Job(Folder()));
    EXPECT_EQ(ExpectOnlyWholeFiles({&Recording}), 0);
    EXPECT_EQ(Entries(Folder()).size(), 25);
}

TEST_F(ExportFolderTest, TwoWritersAtOnceLeaveOneExportsFilesNotAMix)
{
    const TRecording First(40, 20000, 4), Second(40, 20000, 5);
    for (int Round = 0; Round < 3; ++Round) {
        int Go[2];
        ASSERT_EQ(::pipe(Go), 0);
        auto Writer = [&](const TRecording &Recording) {
            return Spawn([&] {
                char Byte;
                (void)!::read(Go[0], &Byte, 1);
                WriteExportFolder(Recording.Job(Folder()));
            });
        };
        const pid_t A = Writer(First), B = Writer(Second);
        ASSERT_EQ(::write(Go[1], "go", 2), 2);
        EXPECT_EQ(Reap(A), 0);
        EXPECT_EQ(Reap(B), 0);
        ::close(Go[0]);
        ::close(Go[1]);

        ASSERT_EQ(ExpectOnlyWholeFiles({&First, &Second}), 0);
        const TRecording &Last = ReadFileBytes(Path(Name(0))) == First.File(0) ? First : Second;
        for (int I = 0; I < 40; ++I)
            EXPECT_EQ(ReadFileBytes(Path(Name(I))), Last.File(I)) << "round " << Round << ", file " << I;
    }
}

TEST_F(ExportFolderTest, AFolderHeldByAnotherWriterIsAwaitedAloudAndCanBeGivenUp)
{
    const TRecording Recording(3, 300, 6);
    ASSERT_TRUE(QDir().mkpath(Folder()));
    const int Held = ::open(Folder().toStdString().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(Held, LOCK_EX), 0);

    // Asked at once, then at each poll, until it gives up: nothing written.
    std::vector<long> Asked;
    TExportJob Job = Recording.Job(Folder());
    Job.WaitForFolder = [&](std::chrono::milliseconds Waited) {
        Asked.push_back(long(Waited.count()));
        return Asked.size() < 4;
    };
    try {
        WriteExportFolder(Job);
        ADD_FAILURE() << "wrote into a folder another writer holds";
    } catch (const EExportFailed &Error) {
        EXPECT_EQ(Error.Path, Folder());
        EXPECT_EQ(Error.Reason, "in use by another export");
    }
    ASSERT_EQ(Asked.size(), 4u);
    EXPECT_EQ(Asked[0], 0);
    EXPECT_TRUE(std::is_sorted(Asked.begin(), Asked.end()) && Asked[3] > Asked[1]) << Asked[3];
    EXPECT_TRUE(Entries(Folder()).isEmpty());

    // Released while it waits: the export goes on.
    int Polls = 0;
    Job.WaitForFolder = [&](std::chrono::milliseconds) {
        if (++Polls == 3)
            ::close(Held);
        return true;
    };
    WriteExportFolder(Job);
    EXPECT_EQ(Polls, 3);
    EXPECT_EQ(ExpectOnlyWholeFiles({&Recording}), 0);
    EXPECT_EQ(Entries(Folder()).size(), 4);
}

// Temporary names it is made to try: taken ones first, then its own.
class TTakenNamesFirst : public TFolderWriter {
public:
    TTakenNamesFirst(const std::string &Folder, std::vector<std::string> Taken)
        : TFolderWriter(Folder), FTaken(std::move(Taken))
    {
    }

protected:
    std::string NewTemporaryName() override
    {
        return FNext < FTaken.size() ? FTaken[FNext++] : TFolderWriter::NewTemporaryName();
    }

private:
    std::vector<std::string> FTaken;
    std::size_t FNext = 0;
};

TEST_F(ExportFolderTest, ATemporaryNameAlreadyTakenIsPassedOverNotOpened)
{
    ASSERT_TRUE(QDir().mkpath(Folder()));
    const std::string Outside = Dir.filePath("outside").toStdString();
    WriteFileBytes(Outside, {'o', 'u', 't'});
    WriteFileBytes(Path(".redivev-part-1.tmp"), {'k', 'e', 'e', 'p'});
    ASSERT_EQ(::symlink(Outside.c_str(), Path(".redivev-part-2.tmp").c_str()), 0);
    ASSERT_EQ(::symlink(Dir.filePath("made").toStdString().c_str(), Path(".redivev-part-3.tmp").c_str()), 0);

    TTakenNamesFirst Writer(Folder().toStdString(), {".redivev-part-1.tmp", ".redivev-part-2.tmp", ".redivev-part-3.tmp"});
    Writer.WriteWhole("WAVE00.wav", [](int Out) { WriteAll(Out, "piece", 5); });
    EXPECT_EQ(ReadFileBytes(Path("WAVE00.wav")), (Bytes{'p', 'i', 'e', 'c', 'e'}));
    EXPECT_EQ(ReadFileBytes(Path(".redivev-part-1.tmp")), (Bytes{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(ReadFileBytes(Outside), (Bytes{'o', 'u', 't'}));
    EXPECT_FALSE(QFileInfo::exists(Dir.filePath("made")));
    EXPECT_EQ(Entries(Folder()),
              (QStringList{".redivev-part-1.tmp", ".redivev-part-2.tmp", ".redivev-part-3.tmp", "WAVE00.wav"}));
}

TEST_F(ExportFolderTest, AFolderUnderOneThatMayNotBeWrittenSaysPermissionDenied)
{
    // Root may write anywhere: the writer runs as nobody then.
    ASSERT_EQ(::chmod(Dir.path().toStdString().c_str(), 0755), 0);
    const QString Locked = Dir.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(Locked));
    ASSERT_EQ(::chmod(Locked.toStdString().c_str(), 0555), 0);
    int Said[2];
    ASSERT_EQ(::pipe(Said), 0);
    const pid_t Child = ::fork();
    if (Child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(4);
        std::string Message = "made";
        try {
            TFolderWriter Writer((Locked + "/missing/deeper").toStdString());
        } catch (const EFileSystemError &Error) {
            Message = Error.Path + ": " + Error.Reason;
        }
        (void)!::write(Said[1], Message.data(), Message.size());
        ::_exit(0);
    }
    ::close(Said[1]);
    char Buffer[512] = {};
    const ssize_t Got = ::read(Said[0], Buffer, sizeof Buffer - 1);
    ::close(Said[0]);
    EXPECT_EQ(Reap(Child), 0);
    EXPECT_EQ(std::string(Buffer, std::size_t(std::max<ssize_t>(Got, 0))),
              (Locked + "/missing/deeper: ").toStdString() + std::strerror(EACCES));
    ::chmod(Locked.toStdString().c_str(), 0755);
}

} // namespace
