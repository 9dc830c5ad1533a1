// FLAC through the engine's codec: its own files back byte for byte, the
// reference encoder's files sample for sample, and every kind of bad file
// and failed write reported in words rather than decoded into noise.
#include "engine/FlacCodec.h"
#include "engine/ScratchFile.h"
#include "WavBuilder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

using namespace wavtest;

namespace {

struct TFd {
    explicit TFd(const std::string &Path, int Flags = O_RDONLY) : H(::open(Path.c_str(), Flags, 0644)) {}
    ~TFd() { ::close(H); }
    int H;
};

// Full-scale extremes first, then by turns constant, tonal and noisy
// stretches, so the encoder uses every kind of subframe; 70000 frames span
// more than one decoding block.
Bytes Signal(int Bits, int Channels, int Frames = 70000)
{
    const std::int32_t Max = (1 << (Bits - 1)) - 1, Min = -Max - 1;
    const std::int32_t Edge[] = {Min, Max, 0, -1};
    Bytes Out;
    std::uint32_t Noise = 12345;
    for (int F = 0; F < Frames; ++F)
        for (int C = 0; C < Channels; ++C) {
            Noise = Noise * 1664525u + 1013904223u;
            const int Kind = F < 8 ? 3 : (F / 4096) % 3;
            std::int32_t V = Kind == 3   ? Edge[(F + C) % 4]
                             : Kind == 0 ? Min / (C + 2)
                             : Kind == 1 ? std::int32_t(std::lround(Max * std::sin(F * 0.01 * (C + 1))))
                                         : std::int32_t(Noise >> (32 - Bits)) + Min;
            for (int B = 0; B < Bits / 8; ++B)
                Out.push_back(std::uint8_t(Bits == 8 ? V + 128 : V >> (8 * B)));
        }
    return Out;
}

// Data whose header states Frames frames (0: not recorded).
Bytes Stating(Bytes Data, std::int64_t Frames)
{
    Data[21] = std::uint8_t((Data[21] & 0xF0) | (Frames >> 32));
    for (int I = 0; I < 4; ++I)
        Data[std::size_t(22 + I)] = std::uint8_t(Frames >> (24 - 8 * I));
    return Data;
}

// Data followed by an ID3v1 tag, as some taggers leave it.
Bytes Appended(Bytes Data)
{
    const char Tag[] = "TAGtitle";
    Data.insert(Data.end(), Tag, Tag + 8);
    Data.resize(Data.size() + 120, ' ');
    return Data;
}

class FlacCodecTest : public ::testing::Test {
protected:
    std::string Path(const char *Name) const { return Dir.filePath(QString::fromUtf8(Name)).toStdString(); }
    // The reference encoder's stream of Pcm, encoded from a WAV file, or fed
    // raw through a pipe so that its header leaves the length open.
    Bytes Reference(int Bits, int Channels, const Bytes &Pcm, bool Piped)
    {
        WriteFileBytes(Path("in.wav"), PcmFile(std::uint16_t(Channels), 48000, std::uint16_t(Bits), Pcm));
        WriteFileBytes(Path("in.raw"), Pcm);
        const std::string Command =
            Piped ? "flac -s --force-raw-format --endian=little --sign=" + std::string(Bits == 8 ? "un" : "") +
                        "signed --channels=" + std::to_string(Channels) + " --bps=" + std::to_string(Bits) +
                        " --sample-rate=48000 - < '" + Path("in.raw") + "' > '" + Path("ref.flac") + "' 2>/dev/null"
                  : "flac -s -f -o '" + Path("ref.flac") + "' '" + Path("in.wav") + "' 2>/dev/null";
        EXPECT_EQ(std::system(Command.c_str()), 0) << Command;
        return ReadFileBytes(Path("ref.flac"));
    }
    // Decodes Handle into a temporary file and reads the samples back into Back.
    TFlacInfo Decode(int Handle, const TFlacProgress &Progress = {})
    {
        std::string Why;
        const int Out = OpenScratchFile(Why);
        EXPECT_GE(Out, 0) << Why;
        struct TClose {
            int H;
            ~TClose() { ::close(H); }
        } Closing{Out};
        const TFlacInfo Info = DecodeFlac(Handle, Out, Progress);
        Back.assign(std::size_t(Info.Frames) * std::size_t(Info.Channels * Info.Bits / 8), 0);
        EXPECT_EQ(::pread(Out, Back.data(), Back.size(), 0), ssize_t(Back.size()));
        return Info;
    }
    // What DecodeFlac makes of the file Data: the message it raises, or ""
    // with the samples and header in Back and Got.
    std::string DecodeError(const Bytes &Data)
    {
        WriteFileBytes(Path("in.flac"), Data);
        try {
            Got = Decode(TFd(Path("in.flac")).H);
        } catch (const EFlacError &E) {
            return E.what();
        }
        return "";
    }
    // The seconds of Data the reference decoder gets through, as messages
    // give them: going on past errors, it writes exactly the frames that decode.
    std::string ReferenceSeconds(const Bytes &Data, int FrameBytes, int Rate)
    {
        WriteFileBytes(Path("measure.flac"), Data);
        const std::string Command =
            "flac -s -d -F -f -o '" + Path("measure.wav") + "' '" + Path("measure.flac") + "' 2>/dev/null";
        std::system(Command.c_str());
        const std::size_t Frames = (ReadFileBytes(Path("measure.wav")).size() - 44) / std::size_t(FrameBytes);
        char Text[32];
        std::snprintf(Text, sizeof Text, " %.1f ", double(Frames) / Rate);
        return Text;
    }
    std::vector<std::uint8_t> Back;
    TFlacInfo Got;
    QTemporaryDir Dir;
};

TEST_F(FlacCodecTest, RoundTripsEverySampleSizeAndChannelCount)
{
    for (const int Bits : {8, 16, 24})
        for (const int Channels : {1, 2, 6})
            for (const int Frames : {70000, 0, 300001}) {
                SCOPED_TRACE(std::to_string(Bits) + " bits, " + std::to_string(Channels) + " channels, " +
                             std::to_string(Frames) + " frames");
                const Bytes Pcm = Signal(Bits, Channels, Frames);
                const TFlacInfo Info{Bits == 24 ? 96000u : 44100u, Channels, Bits, Frames};
                TFd File(Path("round.flac"), O_RDWR | O_CREAT | O_TRUNC);
                EncodeFlac(File.H, Info, Pcm.data(), Info.Frames);
                ::lseek(File.H, 5, SEEK_SET);
                std::vector<double> Shares;
                Got = Decode(File.H, [&](double Share) { Shares.push_back(Share); });
                EXPECT_EQ(::lseek(File.H, 0, SEEK_CUR), 5) << "the caller's offset moved";
                EXPECT_TRUE(Back == Pcm);
                const TFlacInfo Head = ReadFlacInfo(File.H);
                EXPECT_TRUE(Got.Rate == Info.Rate && Got.Channels == Channels && Got.Bits == Bits &&
                            Got.Frames == Frames);
                EXPECT_TRUE(Head.Rate == Info.Rate && Head.Channels == Channels && Head.Bits == Bits);
                EXPECT_EQ(Head.Frames, Frames ? Frames : -1) << "a header's length of 0 means \"not recorded\"";
                ASSERT_FALSE(Shares.empty());
                EXPECT_TRUE(std::is_sorted(Shares.begin(), Shares.end()) && Shares.back() == 1.0);
                // Read to the real end: past a header that states fewer frames
                // than the stream holds (an editor's slip), and up to bytes
                // appended after the last frame (a tag some programs add).
                const Bytes Written = ReadFileBytes(Path("round.flac"));
                for (const Bytes &Variant : {Stating(Written, Frames / 10 * 9), Appended(Written)}) {
                    EXPECT_EQ(DecodeError(Variant), "");
                    EXPECT_TRUE(Back == Pcm && Got.Frames == Frames);
                }
            }
}

TEST_F(FlacCodecTest, DecodesTheReferenceEncodersStreamsToTheirSamples)
{
    for (const int Bits : {8, 16, 24})
        for (const bool Piped : {false, true}) {
            SCOPED_TRACE(std::to_string(Bits) + (Piped ? " bits, piped" : " bits"));
            const Bytes Pcm = Signal(Bits, 2, 30000);
            EXPECT_EQ(DecodeError(Reference(Bits, 2, Pcm, Piped)), "");
            EXPECT_EQ(ReadFlacInfo(TFd(Path("in.flac")).H).Frames, Piped ? -1 : 30000);
            EXPECT_TRUE(Got.Rate == 48000 && Got.Channels == 2 && Got.Bits == Bits && Got.Frames == 30000);
            EXPECT_TRUE(Back == Pcm);
        }
}

TEST_F(FlacCodecTest, RefusesBadFilesWithAReason)
{
    const Bytes Pcm = Signal(16, 2);
    EncodeFlac(TFd(Path("good.flac"), O_RDWR | O_CREAT | O_TRUNC).H, {44100, 2, 16, 70000}, Pcm.data(), 70000);
    const Bytes Good = ReadFileBytes(Path("good.flac"));
    // Long enough for its halves to be decoded side by side.
    const Bytes LongPcm = Signal(16, 2, 300000);
    EncodeFlac(TFd(Path("long.flac"), O_RDWR | O_CREAT | O_TRUNC).H, {44100, 2, 16, 300000}, LongPcm.data(), 300000);
    const Bytes Long = ReadFileBytes(Path("long.flac"));
    const auto Cut = [](const Bytes &Data, double Share) {
        return Bytes(Data.begin(), Data.begin() + std::ptrdiff_t(double(Data.size()) * Share));
    };
    // One bit: the frame keeps its length and fails only its checksum, which
    // the decoder answers with silence unless the error is heeded. Without
    // a length in the header, nothing else would tell.
    const auto Flipped = [](Bytes Data, double Share = 0.5) {
        Data[std::size_t(double(Data.size()) * Share)] ^= 0x10;
        return Data;
    };
    // The header's 36-bit length at its largest: 2^36 frames of a file of a
    // few kilobytes, which no block may be sized from up front (found by
    // fuzzing, where the sanitizer's allocator refuses such a request).
    const auto Lying = [](Bytes Data) { return Stating(std::move(Data), (std::int64_t(1) << 36) - 1); };
    // Samples that decode cleanly but are not those the encoder was given.
    const auto Unchecked = [](Bytes Data) {
        Data[26] ^= 0x01;
        return Data;
    };
    const Bytes PipedCut = Cut(Reference(16, 2, Pcm, true), 0.6);
    // Measured: the message also gives the seconds that really decode.
    const struct {
        const char *Name;
        Bytes Data;
        const char *Reason;
        bool Measured = false;
    } Cases[] = {
        {"cut in the middle", Cut(Good, 0.5), "cut short", true},
        {"long, cut in its first half", Cut(Long, 0.3), "cut short", true},
        {"long, cut in its second half", Cut(Long, 0.8), "cut short", true},
        {"cut, length not recorded", PipedCut, "cut short", true},
        {"checksum differs", Unchecked(Good), "checksum (MD5)"},
        {"long, checksum differs", Unchecked(Long), "checksum (MD5)"},
        {"long, damaged in its first half", Flipped(Long, 0.3), "damaged"},
        {"long, damaged in its second half", Flipped(Long, 0.8), "damaged"},
        {"damaged in the middle", Flipped(Good), "damaged"},
        {"damaged, length not recorded", Flipped(Reference(16, 2, Pcm, true)), "damaged"},
        {"header only", Bytes(Good.begin(), Good.begin() + 42), "cut short"},
        {"length far beyond the file", Lying(Good), "cut short"},
        {"a WAV file", PcmFile(2, 44100, 16, Pcm), "not a FLAC recording"},
        {"empty", {}, "not a FLAC recording"},
        {"32-bit samples", Reference(32, 2, Pcm, true), "32-bit samples is not supported"},
    };
    for (const auto &Case : Cases) {
        const std::string Message = DecodeError(Case.Data);
        EXPECT_NE(Message.find(Case.Reason), std::string::npos) << Case.Name << ": " << Message;
        if (Case.Measured) {
            EXPECT_NE(Message.find(ReferenceSeconds(Case.Data, 4, Case.Data == PipedCut ? 48000 : 44100)),
                      std::string::npos)
                << Case.Name << ": " << Message;
        }
    }
}

TEST_F(FlacCodecTest, AStopAskedForEndsTheDecoding)
{
    // Long enough for its halves to be decoded side by side, and for the
    // stop to be asked more than once.
    const Bytes Pcm = Signal(16, 2, 600000);
    EncodeFlac(TFd(Path("long.flac"), O_RDWR | O_CREAT | O_TRUNC).H, {44100, 2, 16, 600000}, Pcm.data(), 600000);
    std::string Why;
    const int Out = OpenScratchFile(Why);
    ASSERT_GE(Out, 0) << Why;
    std::atomic<int> Asked{0};
    try {
        DecodeFlac(TFd(Path("long.flac")).H, Out, {}, [&Asked] { return ++Asked >= 2; });
        ADD_FAILURE() << "decoded despite the stop";
    } catch (const EFlacError &Error) {
        EXPECT_NE(std::string(Error.what()).find("stopped"), std::string::npos) << Error.what();
    }
    ::close(Out);
    EXPECT_GE(Asked.load(), 2);
}

TEST_F(FlacCodecTest, EncodingFailuresAreReported)
{
    const Bytes Pcm = Signal(16, 2);
    const auto Failure = [&](const std::string &Out, int Bits, int Channels) -> std::string {
        try {
            EncodeFlac(TFd(Out, O_WRONLY | O_CREAT).H, {44100, Channels, Bits, 0}, Pcm.data(), 70000);
        } catch (const EFlacError &E) {
            return E.what();
        }
        return "";
    };
    EXPECT_NE(Failure("/dev/full", 16, 2).find(std::strerror(ENOSPC)), std::string::npos);
    EXPECT_NE(Failure(Path("x"), 32, 2).find("32-bit"), std::string::npos);
    EXPECT_NE(Failure(Path("x"), 16, 9).find("9 channels"), std::string::npos);
}

} // namespace
