// The real redivev-split as a child process: several files with bad ones
// among them, the listings, and a bad option.
#include "WavBuilder.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace wavtest;

namespace {

struct TRun {
    int Status = -1;
    QString Out;
    QString Err;
};

// Stderr is a pipe here, so no progress bar may appear on it.
TRun Split(const QString &WorkingDir, const QStringList &Arguments, const QString &OutputFile = {})
{
    QProcess Process;
    Process.setWorkingDirectory(WorkingDir);
    if (!OutputFile.isEmpty())
        Process.setStandardOutputFile(OutputFile);
    Process.start(QStringLiteral(REDIVEV_SPLIT), Arguments);
    EXPECT_TRUE(Process.waitForFinished(60000));
    return {Process.exitStatus() == QProcess::NormalExit ? Process.exitCode() : -1,
            QString::fromUtf8(Process.readAllStandardOutput()), QString::fromUtf8(Process.readAllStandardError())};
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

    const TRun Run = Split(Dir.path(), {"-j", "2", "--out", "pieces", "mono.wav", "broken.wav", "stereo.WAV",
                                        "other/mono.wav", "alaw.wav"});
    EXPECT_EQ(Run.Status, 1);
    EXPECT_EQ(Run.Out, "");
    QStringList Lines = Run.Err.split('\n', Qt::SkipEmptyParts);
    Lines.sort();
    EXPECT_EQ(Lines, (QStringList{"redivev-split: alaw.wav: unsupported format: 8-bit A-law, 1 ch, 8000 Hz",
                                  "redivev-split: broken.wav: not a WAV, RF64, Wave64 or FLAC file",
                                  "redivev-split: other/mono.wav: its pieces would go to pieces/mono, with those of "
                                  "mono.wav"}));

    const QDir Pieces(Dir.filePath("pieces"));
    EXPECT_EQ(Pieces.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name), (QStringList{"mono", "stereo"}));
    EXPECT_EQ(QDir(Pieces.filePath("mono")).entryList(QDir::Files), (QStringList{"WAVE00.wav", "WAVE01.wav"}));
    EXPECT_EQ(PieceSamples(Pieces.filePath("mono/WAVE00.wav")), SourceSamples(Mono, 2, 1000, 1299));
    EXPECT_EQ(PieceSamples(Pieces.filePath("mono/WAVE01.wav")), SourceSamples(Mono, 2, 2300, 2799));
    EXPECT_EQ(QDir(Pieces.filePath("stereo")).entryList(QDir::Files), QStringList{"WAVE00.wav"});
    EXPECT_EQ(PieceSamples(Pieces.filePath("stereo/WAVE00.wav")), SourceSamples(Stereo, 4, 1000, 1399));
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
    // Nothing reaches full scale: no piece, and that is no error.
    const TRun None = Split(Dir.path(), {"--json", "--cut-start-level", "0dB", "c.wav"});
    EXPECT_EQ(None.Status, 0);
    EXPECT_EQ(None.Out.toStdString(), "[]\n");
    // A listing that cannot be written is a failure, not a success.
    const TRun Full = Split(Dir.path(), {"--list", "c.wav"}, "/dev/full");
    EXPECT_EQ(Full.Status, 1);
    EXPECT_EQ(Full.Err, "redivev-split: cannot write the listing: No space left on device\n");

    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), (QStringList{"a,b.wav", "c.wav"}));
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
