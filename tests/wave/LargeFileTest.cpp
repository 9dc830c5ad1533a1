// Files of several gigabytes, made sparse so that they cost no disk: a load
// reads the chunk headers first, so its memory follows the data chunk, not
// the file, and a data chunk too large to hold is refused unread. Each load
// runs in a process of its own, whose peak resident memory is the load's.
#include "WavBuilder.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

using namespace wavtest;

namespace {

struct TPiece {
    std::int64_t Offset;
    Bytes Content;
};

// Gives the file Length bytes and writes the pieces; the rest are holes,
// which take no room on any file system that has them, tmpfs included.
// False when the file system cannot have a file that long.
bool WriteSparse(const std::string &Path, const std::vector<TPiece> &Pieces, std::int64_t Length)
{
    const int File = ::open(Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool Ok = File >= 0 && ::ftruncate(File, off_t(Length)) == 0;
    for (const TPiece &Piece : Pieces)
        Ok = Ok && ::pwrite(File, Piece.Content.data(), Piece.Content.size(), off_t(Piece.Offset))
            == ssize_t(Piece.Content.size());
    if (File >= 0)
        ::close(File);
    return Ok;
}

Bytes Header(const char (&Id)[5], std::uint32_t Size)
{
    Bytes Out;
    PutId(Out, Id);
    PutU32(Out, Size);
    return Out;
}

struct TProbe {
    std::string Outcome;       // "frames N" or "error MESSAGE"
    long PeakGrowthKiB = -1;
};

TProbe LoadInChildProcess(const QString &Path)
{
    QProcess Child;
    Child.start(QStringLiteral(LOAD_PROBE), {Path});
    if (!Child.waitForFinished(120000)) {
        Child.kill();
        Child.waitForFinished();
        return {"load_probe did not finish: " + Child.errorString().toStdString()};
    }
    const QList<QByteArray> Lines = Child.readAllStandardOutput().split('\n');
    if (Child.exitCode() != 0 || Lines.size() < 2)
        return {"load_probe failed: " + Child.readAllStandardError().toStdString()};
    return {Lines[0].toStdString(), Lines[1].toLong()};
}

struct TLargeCase {
    const char *Name;
    std::vector<TPiece> Pieces;
    std::int64_t Length;
    std::string Outcome;
};

} // namespace

TEST(LargeFile, MemoryFollowsTheDataChunkNotTheFile)
{
    // Well above what the 40 KB of data and the program need, far below
    // any of the files: reading one of them whole cannot pass unseen, also
    // not under the sanitizers, whose shadow memory grows with the process.
    constexpr long BoundKiB = 32 * 1024;
    const Bytes Fmt = Chunk("fmt ", FmtBody(1, 2, 44100, 16));
    const Bytes Data(40000, 0x5A);
    const Bytes Loaded = Chunk("data", Data);

    const std::int64_t OverLimit = 2'200'000'000;
    const std::int64_t LongFmt = 0x7FFFFFF0;
    const std::int64_t JunkAt = 12 + 8 + LongFmt;
    const std::int64_t JunkSize = 0x7FFF0000;
    const std::int64_t DataAt = JunkAt + 8 + JunkSize; // just inside the largest RIFF extent
    const TLargeCase Cases[] = {
        {"data declared over 2^31-1, file that long",
         {{0, Concat({Header("RIFF", std::uint32_t(OverLimit - 8)), {'W', 'A', 'V', 'E'}, Fmt,
                      Header("data", std::uint32_t(OverLimit - 44))})}},
         OverLimit,
         "error TZuInternalWave.LoadfromFile:Error reading data chunk."},
        {"40 KB recording padded with zeros to 6 GB", {{0, PcmFile(2, 44100, 16, Data)}}, 6'000'000'000,
         "frames 10000"},
        {"2 GiB fmt body and 2 GiB junk chunk before the data, zeros to 6 GB",
         {{0, Concat({Header("RIFF", 0xFFFFFFFFu), {'W', 'A', 'V', 'E'}, Header("fmt ", LongFmt),
                      FmtBody(1, 2, 44100, 16)})},
          {JunkAt, Header("JUNK", std::uint32_t(JunkSize))},
          {DataAt, Loaded}},
         6'000'000'000,
         "frames 10000"},
    };

    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    const QString Path = Dir.filePath(QStringLiteral("large.wav"));
    for (const TLargeCase &Case : Cases) {
        SCOPED_TRACE(Case.Name);
        if (!WriteSparse(Path.toStdString(), Case.Pieces, Case.Length))
            GTEST_SKIP() << "no sparse file of " << Case.Length << " bytes here: " << std::strerror(errno);
        const TProbe Result = LoadInChildProcess(Path);
        EXPECT_EQ(Result.Outcome, Case.Outcome);
        EXPECT_GE(Result.PeakGrowthKiB, 0);
        EXPECT_LT(Result.PeakGrowthKiB, BoundKiB);
    }
}
