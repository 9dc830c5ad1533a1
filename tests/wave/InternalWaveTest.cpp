#include "wave/ZuWAVE.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(InternalWave, NewWaveHoldsOneSilent16BitMonoFrame)
{
    TZuInternalWAVE Wave;
    EXPECT_EQ(Wave.FRefCount, 1);
    EXPECT_EQ(Wave.FDataSize, 2);
    ASSERT_NE(Wave.FData, nullptr);
    EXPECT_EQ(Wave.FData[0], 0);
    EXPECT_EQ(Wave.FData[1], 0);
    EXPECT_EQ(Wave.FFormat.wFormatTag, 1);
    EXPECT_EQ(Wave.FFormat.nChannels, 1);
    EXPECT_EQ(Wave.FFormat.nSamplesPerSec, 44100u);
    EXPECT_EQ(Wave.FFormat.nAvgBytesPerSec, 88200u);
    EXPECT_EQ(Wave.FFormat.nBlockAlign, 2);
    EXPECT_EQ(Wave.FFormat.wBitsPerSample, 16);
    EXPECT_EQ(Wave.FFormat.cbSize, 0);
    EXPECT_EQ(Wave.FState, 0);
    EXPECT_NE(Wave.FWindow, nullptr);
    EXPECT_EQ(Wave.FWaveOut, nullptr);
    EXPECT_EQ(Wave.FHeader, nullptr);
    EXPECT_FALSE(Wave.FOnNotify);
}

TEST(InternalWave, CreateWaveBuildsFormatAndZeroBlock)
{
    TZuInternalWAVE Wave;
    Wave.FreeData();
    Wave.CreateWAVE(8000, 8, 2, 10);
    EXPECT_EQ(Wave.FDataSize, 20);
    EXPECT_EQ(Wave.FFormat.nBlockAlign, 2);
    EXPECT_EQ(Wave.FFormat.nAvgBytesPerSec, 16000u);
    EXPECT_EQ(Wave.FFormat.nSamplesPerSec, 8000u);
    EXPECT_EQ(Wave.FFormat.wBitsPerSample, 8);
    EXPECT_EQ(Wave.FFormat.nChannels, 2);
    EXPECT_EQ(Wave.FFormat.cbSize, 0);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(Wave.FData[i], 0) << i;
}

TEST(InternalWave, CreateWaveRefusesBadParametersAndChangesNothing)
{
    struct Case {
        int Freq, Bits, Channels, Size;
    };
    const Case Cases[] = {{0, 16, 1, 1},  {-1, 16, 1, 1}, {8000, 16, 1, 0}, {8000, 16, 1, -5},
                          {8000, 16, 0, 1}, {8000, 16, 3, 1}, {8000, 12, 1, 1}, {8000, 24, 1, 1},
                          // A byte count beyond 32-bit signed is refused, never wrapped.
                          {8000, 16, 2, 0x20000000}, {8000, 16, 1, 0x40000000}};
    for (const Case &C : Cases) {
        TZuInternalWAVE Wave;
        const TWaveFormatEx Before = Wave.FFormat;
        std::uint8_t *const Block = Wave.FData;
        try {
            Wave.CreateWAVE(C.Freq, C.Bits, C.Channels, C.Size);
            ADD_FAILURE() << C.Freq << " " << C.Bits << " " << C.Channels << " " << C.Size;
        } catch (const EZuWaveInvalidWavePara &E) {
            EXPECT_STREQ(E.what(), "TZuInternalWAVE.CreateWAVE: Invalid Parameters");
        }
        EXPECT_EQ(std::memcmp(&Before, &Wave.FFormat, sizeof Before), 0);
        EXPECT_EQ(Wave.FData, Block);
        EXPECT_EQ(Wave.FDataSize, 2);
    }
}

TEST(InternalWave, FreeDataTwiceIsHarmless)
{
    TZuInternalWAVE Wave;
    Wave.FreeData();
    EXPECT_EQ(Wave.FData, nullptr);
    EXPECT_EQ(Wave.FDataSize, 0);
    Wave.FreeData();
    EXPECT_EQ(Wave.FData, nullptr);
    EXPECT_EQ(Wave.FDataSize, 0);
}
