// Recordings past the 32-bit limits, on sparse files so they cost no disk:
// an RF64 file of more than 2^31 frames is cut where its sound is, with
// positions that do not fit 32 bits, and its 4 GiB are never all resident
// at once: a job's memory limit counts mapped pages too. A long FLAC
// recording is cut with neither its decoded samples resident nor a
// temporary file to hold them, and Auto cuts it as the same samples in a
// WAV file.
#include "ChildProcess.h"
#include "WavBuilder.h"
#include "engine/FlacCodec.h"

#include <QDir>
#include <QTemporaryDir>

#include <cmath>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
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

TEST(LargeRecording, LongFlacIsCutWithoutItsSamplesInMemoryOrOnDisk)
{
    // 20 minutes of 48 kHz 24-bit stereo: 330 MiB of samples, silent but
    // for three bursts, from a block of untouched pages that cost nothing.
    const std::int64_t Frames = std::int64_t(48000) * 60 * 20, FrameBytes = 6;
    const std::int64_t Bursts[] = {48000 * 60, 48000 * 600 + 17, Frames - 48000};
    const std::int64_t BurstFrames = 24000;
    void *Block = ::mmap(nullptr, std::size_t(Frames * FrameBytes), PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(Block, MAP_FAILED);
    auto *const Pcm = static_cast<std::uint8_t *>(Block);
    for (const std::int64_t Burst : Bursts)
        for (std::int64_t Byte = Burst * FrameBytes; Byte < (Burst + BurstFrames) * FrameBytes; Byte += 3)
            Pcm[Byte + 2] = 0x10;
    QTemporaryDir Dir;
    const QByteArray Path = QFile::encodeName(Dir.filePath("long.flac"));
    const int Handle = ::open(Path.constData(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(Handle, 0);
    EncodeFlac(Handle, {48000, 2, 24, Frames}, Pcm, Frames);
    ::close(Handle);
    // The same samples as a sparse WAV file, read in place: what the
    // FLAC recording's listing must be.
    const std::string Wave = Dir.filePath("long.wav").toStdString();
    const Bytes Header = Riff("WAVE", {Chunk("fmt ", FmtBody(1, 2, 48000, 24)),
                                       ChunkDeclaring("data", std::uint32_t(Frames * FrameBytes), {}, false)});
    WriteFileBytes(Wave, Header);
    ASSERT_EQ(::truncate(Wave.c_str(), off_t(Header.size() + Frames * FrameBytes)), 0);
    const int WaveHandle = ::open(Wave.c_str(), O_WRONLY);
    for (const std::int64_t Burst : Bursts)
        ASSERT_EQ(::pwrite(WaveHandle, Pcm + Burst * FrameBytes, std::size_t(BurstFrames * FrameBytes),
                           off_t(Header.size() + Burst * FrameBytes)),
                  ssize_t(BurstFrames * FrameBytes));
    ::close(WaveHandle);
    ::munmap(Block, std::size_t(Frames * FrameBytes));

    // No file of the run may pass 8 MiB, a temporary one included, and
    // its temporary folder is one of the test's own.
    const QString Temporary = Dir.filePath("tmp");
    ASSERT_TRUE(QDir().mkpath(Temporary));
    const auto Limited = [] {
        const rlimit Limit{8 << 20, 8 << 20};
        ::setrlimit(RLIMIT_FSIZE, &Limit);
    };
    const std::vector<QByteArray> Environment = {"TMPDIR=" + QFile::encodeName(Temporary)};
    const TChildRun List = RunChild(REDIVEV_SPLIT, Dir.path(), {"--list", Path}, Limited, Environment);
    EXPECT_EQ(List.Status, 0) << List.Err.toStdString();
    EXPECT_LT(List.PeakResidentKiB, 96 * 1024);
    const TChildRun WaveList = RunChild(REDIVEV_SPLIT, Dir.path(), {"--list", QByteArray::fromStdString(Wave)});
    EXPECT_EQ(WaveList.Status, 0) << WaveList.Err.toStdString();
    EXPECT_EQ(QByteArray(List.Out).replace("long.flac", "long.wav"), WaveList.Out);
    const QStringList Lines = QString::fromUtf8(List.Out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(Lines.size(), 4);
    for (int I = 0; I < 3; ++I)
        EXPECT_EQ(Lines[I + 1].split(',').value(2).toLongLong(), Bursts[I]);
    const TChildRun Cut =
        RunChild(REDIVEV_SPLIT, Dir.path(), {"--out", QFile::encodeName(Dir.filePath("pieces")), Path}, Limited,
                 Environment);
    EXPECT_EQ(Cut.Status, 0) << Cut.Err.toStdString();
    EXPECT_LT(Cut.PeakResidentKiB, 96 * 1024);
    EXPECT_EQ(QDir(Dir.filePath("pieces")).entryList({"WAVE*.flac"}, QDir::Files).size(), 3);
    EXPECT_TRUE(QDir(Temporary).isEmpty());

    // Cut short: refused once its end is reached, before any piece is
    // written, though detection found sound before the cut.
    QFile Whole(QFile::decodeName(Path));
    ASSERT_TRUE(Whole.resize(Whole.size() * 7 / 10));
    const TChildRun Short =
        RunChild(REDIVEV_SPLIT, Dir.path(), {"--out", QFile::encodeName(Dir.filePath("short")), Path}, Limited,
                 Environment);
    EXPECT_NE(Short.Status, 0);
    EXPECT_NE(Short.Err.indexOf("cut short"), -1) << Short.Err.toStdString();
    EXPECT_TRUE(QDir(Dir.filePath("short")).entryList({"WAVE*"}, QDir::Files).isEmpty());
}

TEST(LargeRecording, LongFlacUnderARisingFloorIsCutByAutoAsItsWaveIs)
{
    // 20 minutes at 16 kHz: more samples than a streamed FLAC keeps made at
    // once, so each scan of Auto's must ask for the samples it reads. The
    // floor rises from -70 to -40 dBFS; a burst 25 dB over it every 6 s.
    const std::int64_t Rate = 16000, Frames = Rate * 60 * 20;
    std::vector<std::int16_t> Samples(static_cast<std::size_t>(Frames));
    std::uint32_t Noise = 12345;
    for (std::int64_t J = 0; J < Frames; ++J) {
        Noise = Noise * 1664525u + 1013904223u;
        const double White = (double(Noise >> 8) / double(1u << 24) - 0.5) * 3.46; // unit power
        const double FloorDb = -70 + 30 * double(J) / double(Frames);
        const bool Burst = J % (6 * Rate) >= Rate && J % (6 * Rate) < 3 * Rate;
        const double Db = Burst ? FloorDb + 25 : FloorDb;
        Samples[std::size_t(J)] = std::int16_t(std::lround(32767 * std::pow(10.0, Db / 20) * White));
    }
    QTemporaryDir Dir;
    const QByteArray Wave = QFile::encodeName(Dir.filePath("room.wav"));
    WriteFileBytes(Wave.toStdString(), PcmFile(1, std::uint32_t(Rate), 16, Samples16(Samples)));
    const QByteArray Flac = QFile::encodeName(Dir.filePath("room.flac"));
    const int Handle = ::open(Flac.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(Handle, 0);
    EncodeFlac(Handle, {std::uint32_t(Rate), 1, 16, Frames}, reinterpret_cast<const std::uint8_t *>(Samples.data()),
               Frames);
    ::close(Handle);

    const TChildRun FromWave = RunChild(REDIVEV_SPLIT, Dir.path(), {"--auto", "--list", Wave});
    const TChildRun FromFlac = RunChild(REDIVEV_SPLIT, Dir.path(), {"--auto", "--list", Flac});
    EXPECT_EQ(FromFlac.Status, 0) << FromFlac.Err.toStdString();
    EXPECT_NE(FromFlac.Err.indexOf("followed as it rose"), -1) << FromFlac.Err.toStdString();
    EXPECT_EQ(QString::fromUtf8(FromFlac.Out).count('\n'), 1 + 200) << FromFlac.Err.toStdString();
    EXPECT_EQ(QByteArray(FromFlac.Out).replace("room.flac", "room.wav"), FromWave.Out);
}
