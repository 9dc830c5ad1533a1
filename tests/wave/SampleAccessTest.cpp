#include "WavBuilder.h"
#include "wave/ZuWAVE.h"

#include "platform/Streams.h"

#include <gtest/gtest.h>

#include <string>

using namespace wavtest;

namespace {

void Load(TZuWave &Wave, const Bytes &Image)
{
    TMemoryStream Stream(Image);
    Wave.LoadFromStream(Stream);
}

template <typename E, typename F>
std::string MessageOf(F &&Call)
{
    try {
        Call();
    } catch (const E &Error) {
        return Error.what();
    }
    return "no exception of the expected class";
}

} // namespace

TEST(SampleAccess, LayoutsAddressTheirBytes)
{
    TZuWave Wave(nullptr);
    Load(Wave, PcmFile(2, 8000, 16, Samples16({10, -20, 30, -40})));
    ASSERT_EQ(Wave.GetWaveSize(), 2);
    EXPECT_EQ(Wave.GetPosValue(0, 1), 30);
    EXPECT_EQ(Wave.GetPosValue(1, 1), -40);
    Wave.SetPosValue(1, 1, 0x1234);
    EXPECT_EQ(Wave.FInternalWave->FData[4 * 1 + 2], 0x34);
    EXPECT_EQ(Wave.FInternalWave->FData[4 * 1 + 3], 0x12);

    TZuWave Bytes8(nullptr);
    Load(Bytes8, PcmFile(2, 8000, 8, {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Bytes8.GetWaveSize(), 3);
    EXPECT_EQ(Bytes8.GetPosValue(1, 2), 6);
    EXPECT_EQ(Bytes8.GetPosValue(0, 1), 3);

    TZuWave Mono8(nullptr);
    Load(Mono8, PcmFile(1, 8000, 8, {0, 128, 255}));
    EXPECT_EQ(Mono8.GetPosValue(0, 1), 128);
    EXPECT_EQ(Mono8.GetPosValue16(0, 0), -32768);
    EXPECT_EQ(Mono8.GetPosValue16(0, 1), 0);
    EXPECT_EQ(Mono8.GetPosValue16(0, 2), 32512);
}

TEST(SampleAccess, RangeChecksOnPositionAndChannel)
{
    TZuWave Mono(nullptr);
    Load(Mono, PcmFile(1, 8000, 16, Samples16({1, 2, 3})));
    EXPECT_EQ(Mono.GetPosValue(0, 2), 3);
    const char *Get = "TZuWave.GetPosValue: Position is Out of Range";
    const char *Set = "TZuWave.SetPosValue: Position is Out of Range";
    EXPECT_EQ(MessageOf<EZuWavePositionRange>([&] { Mono.GetPosValue(0, 3); }), Get);
    EXPECT_EQ(MessageOf<EZuWavePositionRange>([&] { Mono.GetPosValue(0, -1); }), Get);
    EXPECT_EQ(MessageOf<EZuWavePositionRange>([&] { Mono.GetPosValue(1, 0); }), Get);
    EXPECT_EQ(MessageOf<EZuWavePositionRange>([&] { Mono.GetPosValue(-1, 0); }), Get);
    EXPECT_EQ(MessageOf<EZuWavePositionRange>([&] { Mono.SetPosValue(0, 3, 0); }), Set);
    EXPECT_EQ(MessageOf<EZuWavePositionRange>([&] { Mono.SetPosValue16(1, 0, 0); }), Set);

    TZuWave Stereo(nullptr);
    Load(Stereo, PcmFile(2, 8000, 8, {1, 2}));
    EXPECT_EQ(Stereo.GetPosValue(1, 0), 2);
    EXPECT_EQ(MessageOf<EZuWavePositionRange>([&] { Stereo.GetPosValue(2, 0); }), Get);
}

TEST(SampleAccess, IncompleteLastFrameIsNeverAddressed)
{
    TZuWave Wave(nullptr);
    Load(Wave, PcmFile(2, 8000, 16, {1, 0, 2, 0, 3, 0, 4}));
    EXPECT_EQ(Wave.GetWaveSize(), 1);
    EXPECT_THROW(Wave.GetPosValue(0, 1), EZuWavePositionRange);
}

TEST(SampleAccess, EmptyWaveAfterAFailedLoadHasNoPositions)
{
    TZuWave Wave(nullptr);
    EXPECT_THROW(Load(Wave, Riff("WAVE", {})), EZuWaveInvalidWaveFile);
    EXPECT_EQ(Wave.GetWaveSize(), 0);
    EXPECT_EQ(MessageOf<EZuWavePositionRange>([&] { Wave.GetPosValue(0, 0); }),
              "TZuWave.GetPosValue: Position is Out of Range");
}

TEST(SampleAccess, StoresLowBitsWithoutClamping)
{
    TZuWave Wide(nullptr);
    Wide.SetWaveSize(2);
    Wide.SetPosValue(0, 0, 40000);
    EXPECT_EQ(Wide.GetPosValue(0, 0), -25536);
    Wide.SetPosValue16(0, 1, -7);
    EXPECT_EQ(Wide.GetPosValue16(0, 1), -7);

    TZuWave Narrow(nullptr);
    Narrow.SetBits(8);
    Narrow.SetWaveSize(4);
    Narrow.SetPosValue(0, 0, 300);
    EXPECT_EQ(Narrow.GetPosValue(0, 0), 44);
    const int In[] = {-32768, -1, 0, 32767};
    const int Stored[] = {0, 127, 128, 255};
    for (int i = 0; i < 4; ++i) {
        Narrow.SetPosValue16(0, i, In[i]);
        EXPECT_EQ(Narrow.GetPosValue(0, i), Stored[i]) << In[i];
    }
    // What GetPosValue16 returns restores the same byte.
    for (int b : {0, 1, 127, 128, 200, 255}) {
        Narrow.SetPosValue(0, 0, b);
        Narrow.SetPosValue16(0, 0, Narrow.GetPosValue16(0, 0));
        EXPECT_EQ(Narrow.GetPosValue(0, 0), b);
    }
}

TEST(SampleAccess, NonPcmHasNoSizeAndRefusesAccessBeforeAnythingElse)
{
    TZuWave Wave(nullptr);
    Load(Wave, Riff("WAVE", {Chunk("fmt ", FmtBody(3, 1, 8000, 32)), Chunk("data", Bytes(16, 1))}));
    EXPECT_EQ(Wave.GetWaveSize(), 0);
    EXPECT_EQ(MessageOf<EZuWaveBadWaveType>([&] { Wave.GetPosValue(0, 0); }), "TZuWave.GetPosValue: Bad Wave Type");
    EXPECT_EQ(MessageOf<EZuWaveBadWaveType>([&] { Wave.SetPosValue(5, -1, 0); }), "TZuWave.SetPosValue: Bad Wave Type");
    EXPECT_EQ(MessageOf<EZuWaveBadWaveType>([&] { Wave.SetWaveSize(-3); }), "TZuWave.SetWaveSize: Bad Wave Type");
}

TEST(SampleAccess, UnsupportedPcmLayouts)
{
    TZuWave Wave(nullptr);
    Load(Wave, Riff("WAVE", {Chunk("fmt ", FmtBody(1, 1, 8000, 24)), Chunk("data", Bytes(9, 1))}));
    EXPECT_EQ(Wave.GetWaveSize(), 3);
    EXPECT_EQ(MessageOf<EZuWaveInvalidWave>([&] { Wave.GetPosValue(0, 0); }), "TZuWave.GetPosValue: Unsupported PCM Format");
    EXPECT_THROW(Wave.SetPosValue(0, 0, 1), EZuWaveInvalidWave);
    EXPECT_EQ(MessageOf<EZuWaveInvalidWavePara>([&] { Wave.SetWaveSize(5); }),
              "TZuInternalWAVE.CreateWAVE: Invalid Parameters");
    EXPECT_EQ(Wave.GetWaveSize(), 3) << "a failed resize keeps the held buffer";

    // Frame size 0: no positions, no division by zero.
    TZuWave Tiny(nullptr);
    Load(Tiny, Riff("WAVE", {Chunk("fmt ", FmtBody(1, 1, 8000, 4)), Chunk("data", Bytes(4, 1))}));
    EXPECT_EQ(Tiny.GetWaveSize(), 0);
    EXPECT_THROW(Tiny.GetPosValue(0, 0), EZuWavePositionRange);
    EXPECT_THROW(Tiny.SetWaveSize(3), EZuWaveInvalidWavePara);
    TZuWave NoChannel(nullptr);
    Load(NoChannel, Riff("WAVE", {Chunk("fmt ", FmtBody(1, 0, 8000, 16)), Chunk("data", Bytes(4, 1))}));
    EXPECT_EQ(NoChannel.GetWaveSize(), 0);
    EXPECT_THROW(NoChannel.SetPosValue(0, 0, 1), EZuWavePositionRange);
}

TEST(SampleAccess, SetWaveSize)
{
    TZuWave Wave(nullptr);
    Load(Wave, PcmFile(2, 11025, 8, {1, 2, 3, 4, 5, 6}));
    for (int Bad : {0, -1}) {
        EXPECT_EQ(MessageOf<EZuWaveInvalidWavePara>([&] { Wave.SetWaveSize(Bad); }), "TZuWave.SetWaveSize: Invalid Size");
    }
    TZuInternalWAVE *Held = Wave.FInternalWave;
    Wave.SetWaveSize(3);
    EXPECT_EQ(Wave.FInternalWave, Held);
    EXPECT_EQ(Wave.GetPosValue(1, 2), 6);

    Wave.SetWaveSize(2);
    EXPECT_EQ(Wave.GetWaveSize(), 2);
    EXPECT_EQ(Wave.GetFreq(), 11025);
    EXPECT_EQ(Wave.GetChannels(), 2);
    EXPECT_EQ(Wave.GetBits(), 8);
    EXPECT_EQ(Wave.FInternalWave->FFormat.nAvgBytesPerSec, 22050u);
    // Every byte is zero: for 8-bit data the lowest level, not the midpoint.
    EXPECT_EQ(Wave.GetPosValue(0, 0), 0);
    EXPECT_EQ(Wave.GetPosValue16(1, 1), -32768);
    EXPECT_EQ(Wave.FInternalWave->FRefCount, 1);
}
