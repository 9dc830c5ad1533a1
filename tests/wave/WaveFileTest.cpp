#include "WavBuilder.h"
#include "wave/ZuWAVE.h"

#include "platform/Heap.h"
#include "platform/Streams.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace wavtest;

namespace {

Bytes Saved(TZuInternalWAVE &Wave)
{
    TMemoryStream Stream;
    Wave.SaveToFile(Stream);
    return Stream.Bytes();
}

std::uint32_t U32At(const Bytes &B, std::size_t Offset)
{
    return std::uint32_t(B[Offset]) | std::uint32_t(B[Offset + 1]) << 8 | std::uint32_t(B[Offset + 2]) << 16
        | std::uint32_t(B[Offset + 3]) << 24;
}

// Loads Image into a fresh wave; returns the message of the error, or "".
std::string LoadInto(TZuInternalWAVE &Wave, const Bytes &Image)
{
    TMemoryStream Stream(Image);
    try {
        Wave.LoadFromFile(Stream);
        return "";
    } catch (const EZuWaveInvalidWaveFile &E) {
        return E.what();
    }
}

Bytes Fmt16(std::uint16_t Channels = 1) { return Chunk("fmt ", FmtBody(1, Channels, 8000, 16)); }

} // namespace

TEST(WaveFileWrite, DefaultWaveIs48BytesWithExactHeader)
{
    TZuInternalWAVE Wave;
    const Bytes File = Saved(Wave);
    ASSERT_EQ(File.size(), 48u);
    const Bytes Expected = Concat({{'R', 'I', 'F', 'F'}, {40, 0, 0, 0}, {'W', 'A', 'V', 'E'}, {'f', 'm', 't', ' '},
                                   {18, 0, 0, 0}, FmtBody(1, 1, 44100, 16, true, 0), {'d', 'a', 't', 'a'},
                                   {2, 0, 0, 0}, {0, 0}});
    EXPECT_EQ(File, Expected);
}

TEST(WaveFileWrite, OddDataGetsOneZeroPadByteNotCountedInItsSize)
{
    TZuInternalWAVE Wave;
    Wave.FreeData();
    Wave.FData = Heap::AllocZero(3);
    Wave.FDataSize = 3;
    Wave.FData[0] = 0xAA;
    Wave.FData[1] = 0xBB;
    Wave.FData[2] = 0xCC;
    const Bytes File = Saved(Wave);
    ASSERT_EQ(File.size(), 50u);
    EXPECT_EQ(U32At(File, 4), 42u);
    EXPECT_EQ(U32At(File, 42), 3u);
    EXPECT_EQ(File[46], 0xAA);
    EXPECT_EQ(File[48], 0xCC);
    EXPECT_EQ(File[49], 0);
}

TEST(WaveFileWrite, WaveWithoutDataWritesAnEmptyDataChunk)
{
    TZuInternalWAVE Wave;
    EXPECT_NE(LoadInto(Wave, Bytes{'j', 'u', 'n', 'k'}), "");
    ASSERT_EQ(Wave.FData, nullptr);
    const Bytes File = Saved(Wave);
    ASSERT_EQ(File.size(), 46u);
    EXPECT_EQ(U32At(File, 4), 38u);
    EXPECT_EQ(U32At(File, 42), 0u);
}

TEST(WaveFileWrite, WritesAtTheStreamsCurrentPosition)
{
    TZuInternalWAVE Wave;
    TMemoryStream Stream(Bytes{1, 2, 3});
    Stream.SetPosition(3);
    Wave.SaveToFile(Stream);
    ASSERT_EQ(Stream.Bytes().size(), 51u);
    EXPECT_EQ(Stream.Bytes()[0], 1);
    EXPECT_EQ(Stream.Bytes()[3], 'R');
}

struct Layout {
    int Bits, Channels;
};

class WaveFileRoundTrip : public ::testing::TestWithParam<Layout> {};

TEST_P(WaveFileRoundTrip, SameFormatRecordAndDataBlock)
{
    const Layout L = GetParam();
    TZuInternalWAVE Wave;
    Wave.FreeData();
    Wave.CreateWAVE(22050, L.Bits, L.Channels, 1001);
    for (int i = 0; i < Wave.FDataSize; ++i)
        Wave.FData[i] = static_cast<std::uint8_t>(i * 37 + 11);
    const Bytes File = Saved(Wave);
    EXPECT_EQ(File.size(), std::size_t(Wave.FDataSize + Wave.FDataSize % 2 + 46));

    TZuInternalWAVE Copy;
    ASSERT_EQ(LoadInto(Copy, File), "");
    EXPECT_EQ(std::memcmp(&Copy.FFormat, &Wave.FFormat, sizeof(TWaveFormatEx)), 0);
    ASSERT_EQ(Copy.FDataSize, Wave.FDataSize);
    EXPECT_EQ(std::memcmp(Copy.FData, Wave.FData, std::size_t(Wave.FDataSize)), 0);
    EXPECT_EQ(Saved(Copy), File);
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, WaveFileRoundTrip,
                         ::testing::Values(Layout{8, 1}, Layout{8, 2}, Layout{16, 1}, Layout{16, 2}));

TEST(WaveFileRead, ChunksOtherThanFmtAndDataAreSkippedOddOnesWithTheirPad)
{
    const Bytes Data = Samples16({1, -2, 3});
    const Bytes File = Riff("WAVE", {Chunk("LIST", {1, 2, 3, 4}), Fmt16(), Chunk("odd ", {9, 9, 9}),
                                     Chunk("fact", {0, 0, 0, 0}), Chunk("data", Data)});
    TZuInternalWAVE Wave;
    ASSERT_EQ(LoadInto(Wave, File), "");
    ASSERT_EQ(Wave.FDataSize, 6);
    EXPECT_EQ(std::memcmp(Wave.FData, Data.data(), 6), 0);
    EXPECT_EQ(Wave.FFormat.nSamplesPerSec, 8000u);

    // Thousands of small ones, odd and even: tens of kilobytes of headers
    // that fall on every alignment to the blocks in which they are read.
    std::vector<Bytes> Many = {Fmt16()};
    for (int i = 0; i < 3000; ++i)
        Many.push_back(Chunk("odd ", Bytes(std::size_t(i % 7), 9)));
    Many.push_back(Chunk("data", Data));
    TZuInternalWAVE Behind;
    ASSERT_EQ(LoadInto(Behind, Riff("WAVE", Many)), "");
    ASSERT_EQ(Behind.FDataSize, 6);
    EXPECT_EQ(std::memcmp(Behind.FData, Data.data(), 6), 0);
}

TEST(WaveFileRead, TopLevelChunksBeforeTheWaveFormAreSkipped)
{
    const Bytes File = Concat({Chunk("JUNK", {1, 2, 3}), Riff("AVI ", {Chunk("data", {1, 2})}),
                               PcmFile(1, 8000, 8, {5, 6, 7})});
    TZuInternalWAVE Wave;
    ASSERT_EQ(LoadInto(Wave, File), "");
    EXPECT_EQ(Wave.FDataSize, 3);
    EXPECT_EQ(Wave.FData[2], 7);
}

TEST(WaveFileRead, RejectedContentLeavesNoDataBlock)
{
    struct Case {
        const char *Name;
        Bytes Image;
        const char *Message;
    };
    const Bytes Data = Samples16({1, 2});
    const Case Cases[] = {
        {"empty", {}, "TZuInternalWave.LoadFromFile:Not a waveform-audio file."},
        {"garbage", {'h', 'e', 'l', 'l', 'o', 0, 1, 2, 3, 4, 5, 6, 7}, "TZuInternalWave.LoadFromFile:Not a waveform-audio file."},
        {"other form", Riff("AVI ", {Fmt16(), Chunk("data", Data)}), "TZuInternalWave.LoadFromFile:Not a waveform-audio file."},
        {"no fmt", Riff("WAVE", {Chunk("data", Data)}), "TZuInternalWave.LoadFromFile:Unable to locate fmt chunk."},
        {"data before fmt", Riff("WAVE", {Chunk("data", Data), Fmt16()}),
         "TZuInternalWave.LoadfromFile:Unable to locate data chunk."},
        {"fmt past the end", Concat({Riff("WAVE", {}), ChunkDeclaring("fmt ", 16, {1, 0, 1, 0}, false)}),
         "TZuInternalWave.LoadFromFile:Unable to locate fmt chunk."},
        {"short data", Riff("WAVE", {Fmt16(), ChunkDeclaring("data", 100, Data, false)}),
         "TZuInternalWave.LoadfromFile:Error reading data chunk."},
        {"data over 2 GiB", Riff("WAVE", {Fmt16(), ChunkDeclaring("data", 0x80000000u, Data, false)}),
         "TZuInternalWave.LoadfromFile:Error reading data chunk."},
        {"data 4 GiB", Riff("WAVE", {Fmt16(), ChunkDeclaring("data", 0xFFFFFFFFu, Data, false)}),
         "TZuInternalWave.LoadfromFile:Error reading data chunk."},
    };
    for (const Case &C : Cases) {
        TZuInternalWAVE Wave;
        EXPECT_EQ(LoadInto(Wave, C.Image), C.Message) << C.Name;
        EXPECT_EQ(Wave.FData, nullptr) << C.Name;
        EXPECT_EQ(Wave.FDataSize, 0) << C.Name;
    }
}

TEST(WaveFileRead, TruncatedFmtIsAnErrorReadingIt)
{
    // The fmt header fits inside RIFF and image, its body does not.
    Bytes Image = Riff("WAVE", {ChunkDeclaring("fmt ", 16, {1, 0, 2, 0}, false)});
    TZuInternalWAVE Wave;
    EXPECT_EQ(LoadInto(Wave, Image), "TZuInternalWave.LoadfromFile:Error reading fmt chunk.");
    EXPECT_EQ(Wave.FFormat.nChannels, 1) << "the format is untouched before the fmt body is read";
    EXPECT_EQ(Wave.FData, nullptr);
}

TEST(WaveFileRead, FormatIsTheFilesWhenTheFailureComesAfterIt)
{
    const Bytes Image = Riff("WAVE", {Chunk("fmt ", FmtBody(1, 2, 11025, 8)), ChunkDeclaring("data", 9, {1}, false)});
    TZuInternalWAVE Wave;
    EXPECT_EQ(LoadInto(Wave, Image), "TZuInternalWave.LoadfromFile:Error reading data chunk.");
    EXPECT_EQ(Wave.FFormat.nChannels, 2);
    EXPECT_EQ(Wave.FFormat.nSamplesPerSec, 11025u);
    EXPECT_EQ(Wave.FFormat.wBitsPerSample, 8);
}

TEST(WaveFileRead, ShortFmtChunksReplaceOnlyTheBytesTheyHold)
{
    const Bytes Data = {1, 2, 3, 4};
    TZuInternalWAVE Empty;
    ASSERT_EQ(LoadInto(Empty, Riff("WAVE", {Chunk("fmt ", {}), Chunk("data", Data)})), "");
    EXPECT_EQ(Empty.FFormat.nSamplesPerSec, 44100u);
    EXPECT_EQ(Empty.FFormat.wBitsPerSample, 16);
    EXPECT_EQ(Empty.FDataSize, 4);

    TZuInternalWAVE Common;
    Common.FFormat.cbSize = 7;
    ASSERT_EQ(LoadInto(Common, Riff("WAVE", {Chunk("fmt ", FmtBody(1, 2, 8000, 8)), Chunk("data", Data)})), "");
    EXPECT_EQ(Common.FFormat.nChannels, 2);
    EXPECT_EQ(Common.FFormat.nSamplesPerSec, 8000u);
    EXPECT_EQ(Common.FFormat.nAvgBytesPerSec, 16000u);
    EXPECT_EQ(Common.FFormat.nBlockAlign, 2);
    EXPECT_EQ(Common.FFormat.wBitsPerSample, 8);
    EXPECT_EQ(Common.FFormat.cbSize, 7);

    // An odd fmt body is followed by its pad byte before the data chunk.
    TZuInternalWAVE Odd;
    ASSERT_EQ(LoadInto(Odd, Riff("WAVE", {Chunk("fmt ", {3, 0, 2}), Chunk("data", Data)})), "");
    EXPECT_EQ(Odd.FFormat.wFormatTag, 3);
    EXPECT_EQ(Odd.FFormat.nChannels, 2) << "low byte replaced, high byte kept";
}

TEST(WaveFileRead, NonPcmTagLoadsAsTheFileSays)
{
    TZuInternalWAVE Wave;
    ASSERT_EQ(LoadInto(Wave, Riff("WAVE", {Chunk("fmt ", FmtBody(3, 1, 8000, 32, true, 0)), Chunk("data", {1, 2, 3, 4})})), "");
    EXPECT_EQ(Wave.FFormat.wFormatTag, 3);
    EXPECT_EQ(Wave.FFormat.wBitsPerSample, 32);
    EXPECT_EQ(Wave.FDataSize, 4);
}

TEST(WaveFileRead, LongFmtKeepsItsFirst18Bytes)
{
    Bytes Body = FmtBody(2, 1, 8000, 4, true, 4);
    Body.insert(Body.end(), {0xDE, 0xAD, 0xBE, 0xEF});
    TZuInternalWAVE Wave;
    ASSERT_EQ(LoadInto(Wave, Riff("WAVE", {Chunk("fmt ", Body), Chunk("data", {7, 7})})), "");
    EXPECT_EQ(std::memcmp(&Wave.FFormat, Body.data(), 18), 0);
    EXPECT_EQ(Wave.FDataSize, 2);
}

namespace {

Bytes ExtensibleFmt(std::uint16_t Bits, std::uint16_t ValidBits, bool PcmGuid)
{
    Bytes Body = FmtBody(0xFFFE, 2, 48000, Bits, true, 22);
    PutU16(Body, ValidBits);
    PutU32(Body, 3); // speaker mask
    const Bytes Pcm = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    Bytes Guid = Pcm;
    if (!PcmGuid)
        Guid[0] = 0x03; // IEEE float
    Body.insert(Body.end(), Guid.begin(), Guid.end());
    return Body;
}

} // namespace

TEST(WaveFileRead, ExtensiblePlainPcmIsStoredAsPcm)
{
    TZuInternalWAVE Wave;
    ASSERT_EQ(LoadInto(Wave, Riff("WAVE", {Chunk("fmt ", ExtensibleFmt(16, 16, true)), Chunk("data", Samples16({1, 2}))})), "");
    EXPECT_EQ(Wave.FFormat.wFormatTag, 1);
    EXPECT_EQ(Wave.FFormat.cbSize, 0);
    EXPECT_EQ(Wave.FFormat.nChannels, 2);
    EXPECT_EQ(Wave.FFormat.nSamplesPerSec, 48000u);

    // Anything else extensible keeps its tag and so stays refused later.
    const Bytes Others[] = {ExtensibleFmt(16, 12, true), ExtensibleFmt(16, 16, false), ExtensibleFmt(24, 24, true)};
    for (const Bytes &Fmt : Others) {
        TZuInternalWAVE Other;
        ASSERT_EQ(LoadInto(Other, Riff("WAVE", {Chunk("fmt ", Fmt), Chunk("data", {0, 0, 0, 0, 0, 0})})), "");
        EXPECT_EQ(Other.FFormat.wFormatTag, 0xFFFE);
    }
}

TEST(WaveFileRead, LyingRiffSizesAreBoundedByDeclaredExtentAndImage)
{
    // A RIFF size too small to reach the data chunk hides it.
    Bytes Small = PcmFile(1, 8000, 16, Samples16({1, 2}));
    Small[4] = 4 + 8 + 16;
    Small[5] = Small[6] = Small[7] = 0;
    TZuInternalWAVE Hidden;
    EXPECT_EQ(LoadInto(Hidden, Small), "TZuInternalWave.LoadfromFile:Unable to locate data chunk.");

    // A huge one still loads: the image ends the walk.
    Bytes Huge = PcmFile(1, 8000, 16, Samples16({1, 2}));
    Huge[4] = Huge[5] = Huge[6] = Huge[7] = 0xFF;
    TZuInternalWAVE Loaded;
    EXPECT_EQ(LoadInto(Loaded, Huge), "");
    EXPECT_EQ(Loaded.FDataSize, 4);

    // The data body may run past the declared RIFF end as long as the image holds it.
    Bytes Past = PcmFile(1, 8000, 16, Samples16({1, 2, 3, 4}));
    Past[4] = 4 + 24 + 8 + 2;
    Past[5] = Past[6] = Past[7] = 0;
    TZuInternalWAVE Beyond;
    EXPECT_EQ(LoadInto(Beyond, Past), "");
    EXPECT_EQ(Beyond.FDataSize, 8);
}

TEST(WaveFileRead, StreamShorterThanItsSizeIsAReadErrorAndLeavesNoBlock)
{
    TMemoryStream Stream(PcmFile(1, 8000, 16, Samples16({1, 2})));
    Stream.SetPosition(10);
    TZuInternalWAVE Wave;
    try {
        Wave.LoadFromFile(Stream);
        FAIL() << "no exception";
    } catch (const EReadError &E) {
        EXPECT_STREQ(E.what(), "ストリームからの読み込みエラー");
    }
    EXPECT_EQ(Wave.FData, nullptr);
    EXPECT_EQ(Wave.FDataSize, 0);
}
