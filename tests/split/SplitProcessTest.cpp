// The real redivev-split as a child process: several files with bad ones
// among them, the listings, a bad option, and hostile names, folders,
// limits and terminals.
#include "ChildProcess.h"
#include "WavBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace wavtest;

namespace {

struct TRun {
    int Status = -1;
    QString Out;
    QString Err;
};

// Names as bytes: they need not be UTF-8. InChild as for RunChild.
TChildRun SplitBytes(const QString &WorkingDir, const std::vector<QByteArray> &Arguments,
                     const std::function<void()> &InChild = {}, const std::vector<QByteArray> &Environment = {})
{
    return RunChild(REDIVEV_SPLIT, WorkingDir, Arguments, InChild, Environment);
}

// Stderr is a pipe here, so no progress bar may appear on it.
TRun Split(const QString &WorkingDir, const QStringList &Arguments, const QString &OutputFile = {})
{
    std::vector<QByteArray> Bytes;
    for (const QString &Argument : Arguments)
        Bytes.push_back(QFile::encodeName(Argument));
    const QByteArray Output = QFile::encodeName(OutputFile);
    const TChildRun Run = SplitBytes(WorkingDir, Bytes, [&] {
        if (!Output.isEmpty())
            ::dup2(::open(Output.constData(), O_WRONLY), 1);
    });
    return {Run.Status, QString::fromUtf8(Run.Out), QString::fromUtf8(Run.Err)};
}

// Runs the rest of the child as the user nobody when it is root, for whom
// permission bits and process limits would not count. Only system calls:
// it runs between fork and exec. The program it runs then is
// ProgramForNobody's.
void AsSomebodyElse()
{
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
        ::_exit(125);
}

// Every name in Folder, hidden ones included.
QStringList Entries(const QString &Folder)
{
    return QDir(Folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Silence, then bursts of loud samples each followed by silence; with the
// default settings each burst of Length positions from Start is one piece
// of Start..Start+Length-1.
Bytes Bursts16(std::uint16_t Channels, std::uint32_t Rate, const std::vector<int> &Lengths)
{
    std::vector<std::int16_t> Values(std::size_t(1000 * Channels), 0);
    for (const int Length : Lengths) {
        for (int I = 0; I < Length * Channels; ++I)
            Values.push_back(std::int16_t(I % 2 ? -5000 - I : 5000 + I));
        Values.insert(Values.end(), std::size_t(1000 * Channels), 0);
    }
    return PcmFile(Channels, Rate, 16, Samples16(Values));
}

// The piece's samples, after the 46 bytes of header a saved wave has.
Bytes PieceSamples(const QString &Path)
{
    const Bytes File = ReadFileBytes(Path.toStdString());
    return File.size() < 46 ? Bytes{} : Bytes(File.begin() + 46, File.end());
}

Bytes SourceSamples(const Bytes &File, int FrameBytes, int Start, int End)
{
    return Bytes(File.begin() + 44 + Start * FrameBytes, File.begin() + 44 + End * FrameBytes);
}

} // namespace

TEST(SplitProcess, BadFilesAreReportedAndTheOthersStillCut)
{
    QTemporaryDir Dir;
    ASSERT_TRUE(QDir(Dir.path()).mkdir("other"));
    const Bytes Mono = Bursts16(1, 8000, {300, 500});
    const Bytes Stereo = Bursts16(2, 44100, {400});
    WriteFileBytes(Dir.filePath("mono.wav").toStdString(), Mono);
    WriteFileBytes(Dir.filePath("broken.wav").toStdString(), {'R', 'I', 'F'});
    WriteFileBytes(Dir.filePath("stereo.WAV").toStdString(), Stereo);
    WriteFileBytes(Dir.filePath("other/mono.wav").toStdString(), Stereo);
    WriteFileBytes(Dir.filePath("alaw.wav").toStdString(),
                   Riff("WAVE", {Chunk("fmt ", FmtBody(6, 1, 8000, 8)), Chunk("data", Bytes(800, 0xD5))}));
    // Named after these, a folder of pieces would be pieces/.. or pieces.
    WriteFileBytes(Dir.filePath("...wav").toStdString(), Mono);
    WriteFileBytes(Dir.filePath("..wav").toStdString(), Mono);

    const TRun Run = Split(Dir.path(), {"-j", "2", "--out", "pieces", "mono.wav", "broken.wav", "stereo.WAV",
                                        "other/mono.wav", "alaw.wav", "--", "...wav", "..wav"});
    // Some cut, some failed: told apart from a run that cut nothing.
    EXPECT_EQ(Run.Status, 3);
    EXPECT_EQ(Run.Out, "");
    QStringList Lines = Run.Err.split('\n', Qt::SkipEmptyParts);
    Lines.sort();
    EXPECT_EQ(Lines, (QStringList{"redivev-split: ...wav: no folder of its pieces can be named after it; rename the file",
                                  "redivev-split: ..wav: no folder of its pieces can be named after it; rename the file",
                                  "redivev-split: alaw.wav: unsupported format: 8-bit A-law, 1 ch, 8000 Hz",
                                  "redivev-split: broken.wav: not a WAV, RF64, Wave64 or FLAC file",
                                  "redivev-split: other/mono.wav: its pieces would go to pieces/mono, with those of "
                                  "mono.wav"}));

    const QDir Pieces(Dir.filePath("pieces"));
    EXPECT_EQ(Entries(Pieces.path()), (QStringList{"mono", "stereo"}));
    EXPECT_EQ(Entries(Dir.path()), (QStringList{"...wav", "..wav", "alaw.wav", "broken.wav", "mono.wav", "other", "pieces",
                                                "stereo.WAV"}));
    EXPECT_EQ(QDir(Pieces.filePath("mono")).entryList(QDir::Files), (QStringList{"WAVE00.wav", "WAVE01.wav"}));
    EXPECT_EQ(PieceSamples(Pieces.filePath("mono/WAVE00.wav")), SourceSamples(Mono, 2, 1000, 1299));
    EXPECT_EQ(PieceSamples(Pieces.filePath("mono/WAVE01.wav")), SourceSamples(Mono, 2, 2300, 2799));
    EXPECT_EQ(QDir(Pieces.filePath("stereo")).entryList(QDir::Files), QStringList{"WAVE00.wav"});
    EXPECT_EQ(PieceSamples(Pieces.filePath("stereo/WAVE00.wav")), SourceSamples(Stereo, 4, 1000, 1399));

    // As a cluster's log sees it: progress and a summary as lines, and the
    // failures as JSON lines in a file of their own, made with its folder.
    const TRun Logged = Split(Dir.path(), {"-j", "2", "--list", "--progress", "lines", "--errors-out",
                                           "report/errors.jsonl", "mono.wav", "broken.wav", "stereo.WAV",
                                           "other/mono.wav", "alaw.wav", "--", "...wav", "..wav"});
    EXPECT_EQ(Logged.Status, 3);
    const QStringList Said = Logged.Err.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(Said.isEmpty());
    EXPECT_EQ(Said.last(), "redivev-split: 3 listed, 4 failed, 0 skipped; 0.00 h of audio, 4 pieces");
    EXPECT_EQ(Said.filter(QRegularExpression("^redivev-split: [1-7]/7 recordings, 0.00 h of audio")).size(), 1)
        << Logged.Err.toStdString();
    QFile Report(Dir.filePath("report/errors.jsonl"));
    ASSERT_TRUE(Report.open(QIODevice::ReadOnly));
    QStringList Failed;
    for (const QByteArray &Line : Report.readAll().split('\n')) {
        if (Line.isEmpty())
            continue;
        const QJsonObject Entry = QJsonDocument::fromJson(Line).object();
        EXPECT_FALSE(Entry.value("message").toString().isEmpty()) << Line.toStdString();
        Failed << Entry.value("file").toString();
    }
    Failed.sort();
    // A listing writes no pieces, so other/mono.wav's folder is no fault.
    EXPECT_EQ(Failed, (QStringList{"...wav", "..wav", "alaw.wav", "broken.wav"}));
}

TEST(SplitProcess, NoPieceReplacesARecordingOfTheRun)
{
    QTemporaryDir Dir;
    const Bytes Long = Bursts16(1, 8000, {3000, 3000, 3000});
    const Bytes Short = Bursts16(1, 8000, {300, 500});
    ASSERT_TRUE(QDir(Dir.path()).mkpath("out/a"));
    ASSERT_TRUE(QDir(Dir.path()).mkpath("out/c"));
    WriteFileBytes(Dir.filePath("out/a/WAVE00.wav").toStdString(), Long);
    WriteFileBytes(Dir.filePath("a.wav").toStdString(), Short);
    WriteFileBytes(Dir.filePath("c.wav").toStdString(), Short);
    ASSERT_EQ(::symlink("../../a.wav", Dir.filePath("out/c/WAVE01.wav").toStdString().c_str()), 0);

    // a.wav's first piece would be out/a/WAVE00.wav, another recording;
    // c.wav's second would be out/c/WAVE01.wav, a name another was given.
    const TRun Run =
        Split(Dir.path(), {"--out", "out", "out/a/WAVE00.wav", "a.wav", "out/c/WAVE01.wav", "c.wav"});
    EXPECT_EQ(Run.Status, 3);
    QStringList Lines = Run.Err.split('\n', Qt::SkipEmptyParts);
    Lines.sort();
    EXPECT_EQ(Lines, (QStringList{"redivev-split: a.wav: a piece would replace a recording being cut, so none was "
                                  "written: out/a/WAVE00.wav",
                                  "redivev-split: c.wav: a piece would replace a recording being cut, so none was "
                                  "written: out/c/WAVE01.wav"}));
    EXPECT_EQ(ReadFileBytes(Dir.filePath("out/a/WAVE00.wav").toStdString()), Long);
    EXPECT_EQ(Entries(Dir.filePath("out/a")), QStringList{"WAVE00.wav"});
    EXPECT_EQ(QFileInfo(Dir.filePath("out/c/WAVE01.wav")).symLinkTarget(), Dir.filePath("a.wav"));
    EXPECT_EQ(Entries(Dir.filePath("out/c")), QStringList{"WAVE01.wav"});
    EXPECT_EQ(Entries(Dir.filePath("out/WAVE00")),
              (QStringList{".redivev-done", "WAVE00.wav", "WAVE01.wav", "WAVE02.wav"}));

    // A link at a piece's name is no recording: it is replaced, and the
    // recording it leads to stays as it was.
    ASSERT_TRUE(QDir(Dir.path()).mkdir("linked"));
    ASSERT_EQ(::symlink("../a.wav", Dir.filePath("linked/WAVE00.wav").toStdString().c_str()), 0);
    const TRun Linked = Split(Dir.path(), {"--out", "linked", "a.wav"});
    EXPECT_EQ(Linked.Status, 0) << Linked.Err.toStdString();
    struct stat Info {};
    ASSERT_EQ(::lstat(Dir.filePath("linked/WAVE00.wav").toStdString().c_str(), &Info), 0);
    EXPECT_TRUE(S_ISREG(Info.st_mode));
    EXPECT_EQ(PieceSamples(Dir.filePath("linked/WAVE00.wav")), SourceSamples(Short, 2, 1000, 1299));
    EXPECT_EQ(ReadFileBytes(Dir.filePath("a.wav").toStdString()), Short);
}

TEST(SplitProcess, ListingsPrintEveryPieceAndWriteNothing)
{
    QTemporaryDir Dir;
    WriteFileBytes(Dir.filePath("a,b.wav").toStdString(), Bursts16(1, 8000, {300, 500}));
    WriteFileBytes(Dir.filePath("c.wav").toStdString(), Bursts16(2, 44100, {400}));

    const TRun Csv = Split(Dir.path(), {"--list", "a,b.wav", "c.wav"});
    EXPECT_EQ(Csv.Status, 0);
    EXPECT_EQ(Csv.Err, "");
    EXPECT_EQ(Csv.Out.toStdString(), "file,index,start,end,start_s,end_s\n"
                       "\"a,b.wav\",0,1000,1299,0.125000,0.162375\n"
                       "\"a,b.wav\",1,2300,2799,0.287500,0.349875\n"
                       "c.wav,0,1000,1399,0.022676,0.031723\n");

    // 0.2 s is 1600 positions at 8000 Hz: the gap of 1000 no longer
    // parts the two bursts, and the piece ends with the recording.
    const TRun Json = Split(Dir.path(), {"--json", "--no-sound-width", "0.2s", "a,b.wav", "c.wav"});
    EXPECT_EQ(Json.Status, 0);
    EXPECT_EQ(Json.Out.toStdString(),
              "[\n"
              "  {\"file\": \"a,b.wav\", \"index\": 0, \"start\": 1000, \"end\": 3800, \"start_s\": 0.125000, "
              "\"end_s\": 0.475000},\n"
              "  {\"file\": \"c.wav\", \"index\": 0, \"start\": 1000, \"end\": 2400, \"start_s\": 0.022676, "
              "\"end_s\": 0.054422}\n"
              "]\n");
    // --auto with every setting given cuts as without it (short pieces
    // are kept, and these are long enough), and says on stderr what it
    // cut with.
    const TRun Auto = Split(Dir.path(), {"--auto", "--list", "--pad", "0", "--level-window", "0", "--min-size", "100",
                                         "--no-sound-width", "100", "--no-sound-level", "1000", "--cut-start-level",
                                         "100", "a,b.wav"});
    EXPECT_EQ(Auto.Status, 0);
    EXPECT_EQ(Auto.Out, Csv.Out.section('\n', 0, 2) + '\n');
    EXPECT_TRUE(Auto.Err.startsWith("redivev-split: a,b.wav: --cut-start-level 100 --no-sound-level 1000 "
                                    "--no-sound-width 100 --min-size 100 --backward-search 0 --forward-search 0 "
                                    "--pad 0 --level-window 0 --max-size 0 --join-short (noise floor "))
        << Auto.Err.toStdString();
    EXPECT_EQ(Auto.Err.count('\n'), 1);
    // Sound far above the floor that no piece holds is said, written or
    // listed.
    for (const QStringList &Mode : {QStringList{"--list"}, QStringList{"--out", "pieces"}}) {
        const TRun Left = Split(Dir.path(), Mode + QStringList{"--auto", "--cut-start-level", "0dB", "a,b.wav"});
        EXPECT_EQ(Left.Status, 0);
        EXPECT_TRUE(Left.Err.contains("redivev-split: a,b.wav: 2 stretches of sound up to ")) << Left.Err.toStdString();
        EXPECT_TRUE(Left.Err.contains(" lie in no piece (the first at 0.1")) << Left.Err.toStdString();
    }
    QDir(Dir.filePath("pieces")).removeRecursively();
    // Nothing reaches full scale: no piece, and that is no error.
    const TRun None = Split(Dir.path(), {"--json", "--cut-start-level", "0dB", "c.wav"});
    EXPECT_EQ(None.Status, 0);
    EXPECT_EQ(None.Out.toStdString(), "[]\n");
    // A listing that cannot be written is a failure, not a success, and
    // says why: the disk is full, or there is no stdout at all.
    const TRun Full = Split(Dir.path(), {"--list", "c.wav"}, "/dev/full");
    EXPECT_EQ(Full.Status, 1);
    EXPECT_EQ(Full.Err, "redivev-split: cannot write the listing to stdout: No space left on device\n");
    const TChildRun Closed = SplitBytes(Dir.path(), {"--list", "c.wav"}, [] { ::close(1); });
    EXPECT_EQ(Closed.Status, 1);
    EXPECT_EQ(Closed.Err, "redivev-split: cannot write the listing to stdout: Bad file descriptor\n");

    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), (QStringList{"a,b.wav", "c.wav"}));

    // Steady loud sound has no quiet stretch to take a floor from, and no
    // speech above it: said so, not a speech level above full scale, even
    // when nothing is listed.
    std::vector<std::int16_t> Steady(8000);
    for (std::size_t I = 0; I < Steady.size(); ++I)
        Steady[I] = std::int16_t(I % 2 ? -20000 : 20000);
    WriteFileBytes(Dir.filePath("steady.wav").toStdString(), PcmFile(1, 8000, 16, Samples16(Steady)));
    const TRun Loud = Split(Dir.path(), {"--auto", "--out", "steady", "steady.wav"});
    EXPECT_EQ(Loud.Status, 0);
    EXPECT_TRUE(Loud.Err.endsWith(" (no quiet stretch to measure a noise floor from: the recording stays near "
                                  "-4.3 dBFS, with nothing louder to take for speech)\n"))
        << Loud.Err.toStdString();
    EXPECT_EQ(Loud.Err.count('\n'), 1);
}

TEST(SplitProcess, BadOptionExitsWithTwoAndPointsToHelp)
{
    QTemporaryDir Dir;
    const TRun Run = Split(Dir.path(), {"--min-size", "-1", "x.wav"});
    EXPECT_EQ(Run.Status, 2);
    EXPECT_EQ(Run.Err, "redivev-split: --min-size: \"-1\" is negative; give sample positions (0 to 2147483647, "
                       "e.g. 100) or seconds (e.g. 0.4s)\nTry 'redivev-split --help' for more information.\n");
    EXPECT_EQ(Run.Out, "");
}

TEST(SplitProcess, NamesAreBytesAndShownSafely)
{
    QTemporaryDir Dir;
    const Bytes One = Bursts16(1, 8000, {300});
    const QByteArray Names[] = {"lat\xe9.wav", "q\"uo,te.wav", "back\\slash.wav"};
    for (const QByteArray &Name : Names)
        WriteFileBytes((QFile::encodeName(Dir.path()) + '/' + Name).toStdString(), One);
    const QByteArray Times = ",0,1000,1299,0.125000,0.162375\n";

    // The listing holds each name's exact bytes, under CSV's quoting and
    // JSON's escapes (a byte that is no UTF-8 as Python's surrogateescape).
    const TChildRun Csv = SplitBytes(Dir.path(), {"--list", Names[0], Names[1], Names[2]});
    EXPECT_EQ(Csv.Status, 0) << Csv.Err.toStdString();
    EXPECT_EQ(Csv.Out, "file,index,start,end,start_s,end_s\n"
                       "lat\xe9.wav" + Times + "\"q\"\"uo,te.wav\"" + Times + "back\\slash.wav" + Times);
    const TChildRun Json = SplitBytes(Dir.path(), {"--json", Names[1], Names[2]});
    const QJsonArray Records = QJsonDocument::fromJson(Json.Out).array();
    ASSERT_EQ(Records.size(), 2) << Json.Out.toStdString();
    EXPECT_EQ(Records[0].toObject()["file"].toString(), QString::fromUtf8(Names[1]));
    EXPECT_EQ(Records[1].toObject()["file"].toString(), QString::fromUtf8(Names[2]));
    EXPECT_TRUE(SplitBytes(Dir.path(), {"--json", Names[0]}).Out.contains(R"("file": "lat\udce9.wav")"));

    // Cut, each file's folder is named with the same bytes.
    const TChildRun Cut = SplitBytes(Dir.path(), {"--out", "out", Names[0], Names[2]});
    EXPECT_EQ(Cut.Status, 0) << Cut.Err.toStdString();
    EXPECT_EQ(ReadFileBytes((QFile::encodeName(Dir.path()) + "/out/lat\xe9/WAVE00.wav").toStdString()),
              ReadFileBytes(Dir.filePath("out/back\\slash/WAVE00.wav").toStdString()));

    // A message shows what is no UTF-8, or a control character (C0, DEL,
    // C1), as \xNN: a name cannot retitle or otherwise command a terminal.
    const TChildRun Missing =
        SplitBytes(Dir.path(), {"-j", "1", "--list", "mis\xe9.wav", "t\x1b]0;title\x07.wav", "c1\xc2\x9b\x7f.wav"});
    EXPECT_EQ(Missing.Status, 1);
    EXPECT_EQ(Missing.Err, "redivev-split: mis\\xe9.wav: cannot open: No such file or directory\n"
                           "redivev-split: t\\x1b]0;title\\x07.wav: cannot open: No such file or directory\n"
                           "redivev-split: c1\\xc2\\x9b\\x7f.wav: cannot open: No such file or directory\n");
}

TEST(SplitProcess, OnATerminalEveryLineStartsOnAClearedLine)
{
    QTemporaryDir Dir;
    WriteFileBytes(Dir.filePath("a.wav").toStdString(), Bursts16(1, 8000, {300}));
    int Master = -1, Terminal = -1;
    ASSERT_EQ(::openpty(&Master, &Terminal, nullptr, nullptr, nullptr), 0);
    // stdout and stderr on one terminal, as in an interactive shell.
    const TChildRun Run = SplitBytes(Dir.path(), {"-j", "1", "--list", "a.wav", "t\x1b]0;title\x07.wav"}, [&] {
        ::dup2(Terminal, 1);
        ::dup2(Terminal, 2);
    });
    ::close(Terminal);
    QByteArray Shown;
    ::fcntl(Master, F_SETFL, O_NONBLOCK);
    char Buffer[4096];
    for (ssize_t Got; (Got = ::read(Master, Buffer, sizeof Buffer)) > 0;)
        Shown.append(Buffer, Got);
    ::close(Master);

    EXPECT_EQ(Run.Status, 3);
    const QByteArray Clear = "\r\x1b[K";
    EXPECT_TRUE(Shown.contains("[------------------------------] 0/2 files")) << "no progress bar: " << Shown.toStdString();
    EXPECT_TRUE(Shown.contains(
        Clear + "redivev-split: t\\x1b]0;title\\x07.wav: cannot open: No such file or directory\r\n"))
        << Shown.toStdString();
    // The bar is gone before the listing, which starts a line of its own.
    EXPECT_TRUE(Shown.contains(Clear + "file,index,start,end,start_s,end_s\r\na.wav,0,")) << Shown.toStdString();
    // The bar's own sequence is all that reaches the terminal.
    EXPECT_FALSE(QByteArray(Shown).replace(Clear, "").contains('\x1b')) << Shown.toStdString();
    EXPECT_FALSE(Shown.contains('\x07'));
}

TEST(SplitProcess, TheOutputFolderIsMadeWithItsParentsOrTheCauseIsSaid)
{
    QTemporaryDir Dir;
    ASSERT_EQ(::chmod(Dir.path().toStdString().c_str(), 0777), 0);
    WriteFileBytes(Dir.filePath("a.wav").toStdString(), Bursts16(1, 8000, {300}));
    WriteFileBytes(Dir.filePath("file").toStdString(), {'x'});
    ASSERT_EQ(::symlink("nowhere/x", Dir.filePath("dangling").toStdString().c_str()), 0);
    ASSERT_TRUE(QDir(Dir.path()).mkdir("locked"));
    ASSERT_EQ(::chmod(Dir.filePath("locked").toStdString().c_str(), 0555), 0);
    struct TCase {
        QByteArray Out;
        int Status;
        QByteArray Err;
    };
    const TCase Cases[] = {
        {"a/b/c", 0, ""},
        {"file/x/y", 1, "redivev-split: file/x/y: Not a directory\n"},
        {"dangling", 1, "redivev-split: dangling: No such file or directory\n"},
        {"locked/m/n", 1, "redivev-split: locked/m/n: Permission denied\n"},
    };
    const TProgramForNobody &Split = ProgramForNobody(REDIVEV_SPLIT);
    if (Split.Program.isEmpty())
        GTEST_SKIP() << "redivev-split cannot be copied where nobody may run it: " << Split.Error.toStdString();
    for (const TCase &Case : Cases) {
        SCOPED_TRACE(Case.Out.toStdString());
        const TChildRun Run = RunChild(Split.Program, Dir.path(), {"--out", Case.Out, "a.wav"}, AsSomebodyElse,
                                       Split.Environment);
        EXPECT_EQ(Run.Status, Case.Status);
        EXPECT_EQ(Run.Err, Case.Err);
    }
    EXPECT_EQ(Entries(Dir.filePath("a/b/c")), (QStringList{".redivev-done", "WAVE00.wav"}));
    EXPECT_EQ(Entries(Dir.filePath("locked")), QStringList{});
    // The manifest's folder is made as the pieces' is.
    const TChildRun Manifest =
        SplitBytes(Dir.path(), {"--manifest", "csv", "--manifest-out", "m/n/list.csv", "--out", "o", "a.wav"});
    EXPECT_EQ(Manifest.Status, 0) << Manifest.Err.toStdString();
    const QByteArray Listed = SplitBytes(Dir.path(), {"--list", "a.wav"}).Out;
    EXPECT_EQ(ReadFileBytes(Dir.filePath("m/n/list.csv").toStdString()), Bytes(Listed.begin(), Listed.end()));
    const TChildRun Unmade =
        SplitBytes(Dir.path(), {"--manifest", "csv", "--manifest-out", "file/list.csv", "--out", "o", "a.wav"});
    EXPECT_EQ(Unmade.Status, 1);
    EXPECT_EQ(Unmade.Err, "redivev-split: --manifest-out file/list.csv: Not a directory\n");
    ::chmod(Dir.filePath("locked").toStdString().c_str(), 0755);
}

TEST(SplitProcess, TheManifestReplacesNoFileTheRunReadsOrWrites)
{
    QTemporaryDir Dir;
    const Bytes Recording = Bursts16(1, 8000, {300, 500});
    WriteFileBytes(Dir.filePath("a.wav").toStdString(), Recording);
    WriteFileBytes(Dir.filePath("b.wav").toStdString(), Recording);
    const std::string Labels = "0.125\t0.162375\tx\n";
    WriteFileBytes(Dir.filePath("a.txt").toStdString(), Bytes(Labels.begin(), Labels.end()));
    WriteFileBytes(Dir.filePath("list").toStdString(), {'a', '.', 'w', 'a', 'v', '\n'});
    ASSERT_EQ(::link(Dir.filePath("a.txt").toStdString().c_str(), Dir.filePath("hard.csv").toStdString().c_str()), 0);
    struct TCase {
        std::vector<QByteArray> Arguments;
        QByteArray Err;
    };
    const QByteArray Nothing = "; nothing was written\n";
    const TCase Cases[] = {
        {{"--areas", "a.txt", "--manifest-out", "a.txt", "a.wav"},
         "--manifest-out a.txt: is the --areas file (a.txt), which the manifest would replace"},
        {{"--areas", "a.txt", "--manifest-out", "hard.csv", "a.wav"},
         "--manifest-out hard.csv: is the --areas file (a.txt), which the manifest would replace"},
        {{"--areas-beside", "--manifest-out", "./a.txt", "a.wav"},
         "--manifest-out ./a.txt: is the label file of a.wav (a.txt), which the manifest would replace"},
        // Not there yet, the label file would be read from the manifest.
        {{"--areas-beside", "--manifest-out", "b.txt", "a.wav", "b.wav"},
         "--manifest-out b.txt: is the label file of b.wav (b.txt), which the manifest would replace"},
        {{"--files-from", "list", "--manifest-out", "list"},
         "--manifest-out list: is the --files-from list (list), which the manifest would replace"},
        {{"--manifest-out", "o/WAVE01.wav", "a.wav"},
         "--manifest-out o/WAVE01.wav: is a name in the folder of the pieces of a.wav (o), whose files would "
         "replace the manifest"},
        {{"--manifest-out", "o/../o/.redivev-done", "a.wav"},
         "--manifest-out o/../o/.redivev-done: is a name in the folder of the pieces of a.wav (o), whose files "
         "would replace the manifest"},
        {{"--manifest-out", "o/b", "a.wav", "b.wav"},
         "--manifest-out o/b: is the folder of the pieces of b.wav (o/b)"},
    };
    for (const TCase &Case : Cases) {
        std::vector<QByteArray> Arguments = {"--manifest", "csv", "--out", "o"};
        Arguments.insert(Arguments.end(), Case.Arguments.begin(), Case.Arguments.end());
        SCOPED_TRACE(Case.Err.toStdString());
        const TChildRun Run = SplitBytes(Dir.path(), Arguments);
        EXPECT_EQ(Run.Status, 1);
        EXPECT_EQ(Run.Err, "redivev-split: " + Case.Err + Nothing);
        EXPECT_EQ(Entries(Dir.path()), (QStringList{"a.txt", "a.wav", "b.wav", "hard.csv", "list"}));
        EXPECT_EQ(ReadFileBytes(Dir.filePath("a.txt").toStdString()), Bytes(Labels.begin(), Labels.end()));
        EXPECT_EQ(ReadFileBytes(Dir.filePath("list").toStdString()).size(), 6u);
    }
    // A list on standard input that the shell opened from a file.
    const QByteArray List = QFile::encodeName(Dir.filePath("list"));
    const TChildRun Piped =
        SplitBytes(Dir.path(), {"--files-from", "-", "--manifest", "csv", "--manifest-out", "list", "--out", "o"},
                   [&] { ::dup2(::open(List.constData(), O_RDONLY), 0); });
    EXPECT_EQ(Piped.Err, "redivev-split: --manifest-out list: is the --files-from list (standard input), which the "
                         "manifest would replace" + Nothing);
    EXPECT_EQ(ReadFileBytes(Dir.filePath("list").toStdString()).size(), 6u);
}

TEST(SplitProcess, AFileSizeLimitIsAnErrorNamingThePiece)
{
    QTemporaryDir Dir;
    WriteFileBytes(Dir.filePath("long.wav").toStdString(), Bursts16(1, 8000, {40000}));
    const TChildRun Run = SplitBytes(Dir.path(), {"--out", "pieces", "long.wav"}, [] {
        const rlimit Limit{30000, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &Limit);
        ::signal(SIGXFSZ, SIG_DFL);
    });
    EXPECT_EQ(Run.Status, 1);
    EXPECT_EQ(Run.Err, "redivev-split: long.wav: pieces/WAVE00.wav: File too large\n");
    EXPECT_EQ(Entries(Dir.filePath("pieces")), QStringList{}) << "the piece's temporary file stays";
}

TEST(SplitProcess, MoreJobsThanTheSystemGivesThreadsStillCutEveryFile)
{
    QTemporaryDir Dir;
    ASSERT_EQ(::chmod(Dir.path().toStdString().c_str(), 0777), 0);
    std::vector<QByteArray> Arguments = {"-j", "6", "--out", "pieces"};
    for (int I = 0; I < 6; ++I) {
        Arguments.push_back("f" + QByteArray::number(I) + ".wav");
        WriteFileBytes(Dir.filePath(QString::fromLatin1(Arguments.back())).toStdString(), Bursts16(1, 8000, {300}));
    }
    // No second thread at all: the process limit is one, and taken. The
    // leak checker's own thread could not start either.
    const QByteArray Sanitizer = qgetenv("ASAN_OPTIONS");
    const TProgramForNobody &Split = ProgramForNobody(REDIVEV_SPLIT);
    if (Split.Program.isEmpty())
        GTEST_SKIP() << "redivev-split cannot be copied where nobody may run it: " << Split.Error.toStdString();
    std::vector<QByteArray> Environment = Split.Environment;
    Environment.push_back("ASAN_OPTIONS=" + Sanitizer + (Sanitizer.isEmpty() ? "" : ":") + "detect_leaks=0");
    const TChildRun Run = RunChild(
        Split.Program, Dir.path(), Arguments,
        [] {
            AsSomebodyElse();
            const rlimit Limit{1, 1};
            ::setrlimit(RLIMIT_NPROC, &Limit);
        },
        Environment);
    EXPECT_EQ(Run.Status, 0);
    EXPECT_EQ(Run.Err, "");
    for (int I = 0; I < 6; ++I)
        EXPECT_EQ(Entries(Dir.filePath(QStringLiteral("pieces/f%1").arg(I))),
                  (QStringList{".redivev-done", "WAVE00.wav"}))
            << I;
}

TEST(SplitProcess, AFolderHeldByAnotherExportIsAwaitedAndSaidSo)
{
    QTemporaryDir Dir;
    WriteFileBytes(Dir.filePath("a.wav").toStdString(), Bursts16(1, 8000, {300, 500}));
    ASSERT_TRUE(QDir(Dir.path()).mkdir("pieces"));
    const int Held = ::open(Dir.filePath("pieces").toStdString().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(Held, LOCK_EX), 0);

    QProcess Process;
    Process.setWorkingDirectory(Dir.path());
    Process.setReadChannel(QProcess::StandardError);
    Process.start(QStringLiteral(REDIVEV_SPLIT), {"--out", "pieces", "a.wav"});
    QByteArray Said;
    while (!Said.endsWith('\n') && Process.waitForReadyRead(30000))
        Said += Process.readAllStandardError();
    EXPECT_EQ(Said, "redivev-split: pieces: waiting for another export into this folder to finish\n");
    EXPECT_FALSE(Process.waitForFinished(300)) << "it did not wait";
    EXPECT_EQ(Entries(Dir.filePath("pieces")), QStringList{});

    ::close(Held);
    ASSERT_TRUE(Process.waitForFinished(30000));
    EXPECT_EQ(Process.exitCode(), 0);
    EXPECT_EQ(Process.readAllStandardError(), "");
    EXPECT_EQ(Entries(Dir.filePath("pieces")), (QStringList{".redivev-done", "WAVE00.wav", "WAVE01.wav"}));
}
