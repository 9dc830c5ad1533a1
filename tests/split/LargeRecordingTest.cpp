// Recordings past the 32-bit limits, on sparse files so they cost no disk:
// an RF64 file of more than 2^31 frames is cut where its sound is, with
// positions that do not fit 32 bits, and its 4 GiB are never all resident
// at once: a job's memory limit counts mapped pages too.
#include "ChildProcess.h"
#include "WavBuilder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace wavtest;

TEST(LargeRecording, Rf64BurstPast2To31FramesIsListedAtItsPosition)
{
    const std::int64_t Frames = (std::int64_t(1) << 31) + 200000;
    const std::int64_t Burst = (std::int64_t(1) << 31) + 1000;
    Bytes Ds64;
    for (std::uint64_t Value : {std::uint64_t(0), std::uint64_t(Frames * 2), std::uint64_t(Frames)}) {
        PutU32(Ds64, std::uint32_t(Value));
        PutU32(Ds64, std::uint32_t(Value >> 32));
    }
    PutU32(Ds64, 0);
    Bytes Header = Riff("WAVE", {Chunk("ds64", Ds64), Chunk("fmt ", FmtBody(1, 1, 44100, 16)),
                                 ChunkDeclaring("data", 0xFFFFFFFFu, {}, false)});
    std::copy_n("RF64", 4, Header.begin());
    QTemporaryDir Dir;
    const std::string Path = Dir.filePath("long.wav").toStdString();
    WriteFileBytes(Path, Header);
    ASSERT_EQ(::truncate(Path.c_str(), off_t(Header.size() + Frames * 2)), 0);
    const Bytes Loud = Samples16(std::vector<std::int16_t>(500, 10000));
    const int Handle = ::open(Path.c_str(), O_WRONLY);
    ASSERT_EQ(::pwrite(Handle, Loud.data(), Loud.size(), off_t(Header.size() + Burst * 2)), ssize_t(Loud.size()));
    ::close(Handle);

    const TChildRun Split = RunChild(REDIVEV_SPLIT, Dir.path(), {"--list", QByteArray::fromStdString(Path)});
    EXPECT_EQ(Split.Status, 0) << Split.Err.toStdString();
    EXPECT_LT(Split.PeakResidentKiB, 256 * 1024);
    const QStringList Lines = QString::fromUtf8(Split.Out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(Lines.size(), 2);
    const QStringList Fields = Lines[1].split(',');
    ASSERT_EQ(Fields.size(), 6);
    EXPECT_EQ(Fields[1], "0");
    EXPECT_EQ(Fields[2].toLongLong(), Burst);
    EXPECT_EQ(Fields[3].toLongLong(), Burst + 599);
    EXPECT_EQ(Fields[4], QString::number(double(Burst) / 44100, 'f', 6));
}
