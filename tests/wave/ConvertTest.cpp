#include "wave/ZuWAVE.h"

#include "platform/Heap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A wave holding exactly these data bytes in the given layout.
void Fill(TZuInternalWAVE &Wave, int Bits, int Channels, const std::vector<std::uint8_t> &Data, int Rate = 8000)
{
    Wave.FreeData();
    Wave.CreateWAVE(Rate, Bits, Channels, 1);
    Wave.FreeData();
    Wave.FData = Heap::AllocZero(Data.size());
    Wave.FDataSize = static_cast<std::int32_t>(Data.size());
    std::copy(Data.begin(), Data.end(), Wave.FData);
}

std::vector<std::uint8_t> Le16(std::initializer_list<int> Values)
{
    std::vector<std::uint8_t> Out;
    for (int v : Values) {
        Out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        Out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    }
    return Out;
}

std::vector<int> Read16(const TZuInternalWAVE &Wave)
{
    std::vector<int> Out;
    for (int i = 0; i + 1 < Wave.FDataSize; i += 2)
        Out.push_back(LoadSample16(Wave.FData, i));
    return Out;
}

std::vector<int> Read8(const TZuInternalWAVE &Wave)
{
    return std::vector<int>(Wave.FData, Wave.FData + Wave.FDataSize);
}

} // namespace

TEST(ChangeBits, EightToSixteenScalesAroundTheMidpoint)
{
    TZuInternalWAVE Wave;
    Fill(Wave, 8, 1, {0, 128, 255});
    Wave.ChangeBits(16);
    EXPECT_EQ(Read16(Wave), (std::vector<int>{-32768, 0, 32512}));
    EXPECT_EQ(Wave.FFormat.wBitsPerSample, 16);
    EXPECT_EQ(Wave.FFormat.nBlockAlign, 2);
    EXPECT_EQ(Wave.FFormat.nAvgBytesPerSec, 16000u);
    EXPECT_EQ(Wave.FDataSize, 6);
}

TEST(ChangeBits, SixteenToEightTruncatesTowardZero)
{
    TZuInternalWAVE Wave;
    Fill(Wave, 16, 1, Le16({-32768, -257, -256, -255, -1, 0, 255, 256, 32767}));
    Wave.ChangeBits(8);
    EXPECT_EQ(Read8(Wave), (std::vector<int>{0, 127, 127, 128, 128, 128, 128, 129, 255}));
    EXPECT_EQ(Wave.FFormat.nBlockAlign, 1);
    EXPECT_EQ(Wave.FFormat.nAvgBytesPerSec, 8000u);
}

TEST(ChangeBits, StereoKeepsChannelOrderAndDropsAPartialFrame)
{
    TZuInternalWAVE Wave;
    Fill(Wave, 8, 2, {0, 255, 128, 129, 77});
    Wave.ChangeBits(16);
    EXPECT_EQ(Read16(Wave), (std::vector<int>{-32768, 32512, 0, 256}));
    EXPECT_EQ(Wave.FFormat.nBlockAlign, 4);
}

TEST(ChangeChannels, StereoToMonoAveragesTowardZero)
{
    TZuInternalWAVE Wave;
    Fill(Wave, 16, 2, Le16({1, 2, -1, -2, 100, -100, 32767, 32767, -32768, -32768}));
    Wave.ChangeChannels(1);
    EXPECT_EQ(Read16(Wave), (std::vector<int>{1, -1, 0, 32767, -32768}));
    EXPECT_EQ(Wave.FDataSize, 10);
    EXPECT_EQ(Wave.FFormat.nChannels, 1);
    EXPECT_EQ(Wave.FFormat.nBlockAlign, 2);
    EXPECT_EQ(Wave.FFormat.nAvgBytesPerSec, 16000u);

    TZuInternalWAVE Bytes;
    Fill(Bytes, 8, 2, {1, 2, 254, 255, 0, 255});
    Bytes.ChangeChannels(1);
    EXPECT_EQ(Read8(Bytes), (std::vector<int>{1, 254, 127}));
}

TEST(ChangeChannels, MonoToStereoDuplicatesUnscaled)
{
    TZuInternalWAVE Wave;
    Fill(Wave, 8, 1, {7, 200});
    Wave.ChangeChannels(2);
    EXPECT_EQ(Read8(Wave), (std::vector<int>{7, 7, 200, 200}));
    EXPECT_EQ(Wave.FDataSize, 4);
    EXPECT_EQ(Wave.FFormat.nBlockAlign, 2);

    TZuInternalWAVE Wide;
    Fill(Wide, 16, 1, Le16({-5, 300, 0}));
    Wide.ChangeChannels(2);
    EXPECT_EQ(Read16(Wide), (std::vector<int>{-5, -5, 300, 300, 0, 0}));
}

TEST(Conversion, SameValueChangesNothingAndKeepsTheBlock)
{
    TZuInternalWAVE Wave;
    Fill(Wave, 16, 2, Le16({1, 2, 3}));
    std::uint8_t *Block = Wave.FData;
    Wave.ChangeBits(16);
    Wave.ChangeChannels(2);
    EXPECT_EQ(Wave.FData, Block);
    EXPECT_EQ(Wave.FDataSize, 6) << "the partial frame stays when nothing is converted";
}

TEST(Conversion, ChecksTagBeforeArgumentAndArgumentBeforeEquality)
{
    TZuInternalWAVE Wave;
    try {
        Wave.ChangeBits(24);
        FAIL();
    } catch (const EZuWaveInvalidWavePara &E) {
        EXPECT_STREQ(E.what(), "TZuInternalWAVE.ChangeBits: Invalid Parameters");
    }
    try {
        Wave.ChangeChannels(0);
        FAIL();
    } catch (const EZuWaveInvalidWavePara &E) {
        EXPECT_STREQ(E.what(), "TZuInternalWAVE.ChangeChannels: Invalid Parameters");
    }
    Wave.FFormat.wFormatTag = 3;
    try {
        Wave.ChangeBits(24);
        FAIL();
    } catch (const EZuWaveBadWaveType &E) {
        EXPECT_STREQ(E.what(), "TZuInternalWave.ChangeBits: Bad Wave Type");
    }
    EXPECT_THROW(Wave.ChangeChannels(1), EZuWaveBadWaveType);
    EXPECT_EQ(Wave.FDataSize, 2);
}

TEST(Conversion, LayoutsTheSampleAccessCannotReadAreRefusedUnchanged)
{
    TZuInternalWAVE Wave;
    Fill(Wave, 16, 1, {1, 2, 3, 4, 5, 6});
    Wave.FFormat.wBitsPerSample = 24;
    std::uint8_t *Block = Wave.FData;
    EXPECT_THROW(Wave.ChangeBits(8), EZuWaveBadWaveType);
    EXPECT_THROW(Wave.ChangeChannels(2), EZuWaveBadWaveType);
    Wave.FFormat.wBitsPerSample = 4; // frame size 0: nothing may divide by it
    EXPECT_THROW(Wave.ChangeBits(8), EZuWaveBadWaveType);
    EXPECT_EQ(Wave.FData, Block);
    EXPECT_EQ(Wave.FDataSize, 6);
}
