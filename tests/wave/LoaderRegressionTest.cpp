// Files the fuzzer found that once broke the loader or the sample access.
// Each case loads the file and does what the program then does with it.
#include "WavBuilder.h"
#include "wave/ZuWAVE.h"

#include "platform/Streams.h"

#include <gtest/gtest.h>

#include <string>

using namespace wavtest;

namespace {

struct TOddLayout {
    std::uint16_t Bits;
    std::uint16_t Channels;
};

class OddLayoutSampleAccess : public ::testing::TestWithParam<TOddLayout> {};

} // namespace

// Layouts whose bit count and channel count once combined to the same key as
// 16-bit mono or stereo: the samples were read two bytes wide past the block.
TEST_P(OddLayoutSampleAccess, IsRefusedNotReadAsSixteenBit)
{
    const TOddLayout Layout = GetParam();
    const Bytes Data(std::size_t(Layout.Channels) * 4, 0x5A);
    TMemoryStream Stream(Riff("WAVE", {Chunk("fmt ", FmtBody(1, Layout.Channels, 8000, Layout.Bits)),
                                      Chunk("data", Data)}));
    TZuWave Wave(nullptr);
    Wave.LoadFromStream(Stream);
    ASSERT_EQ(Wave.GetWaveSize(), 4);

    for (std::int32_t Pos : {0, 3}) {
        try {
            Wave.GetPosValue(0, Pos);
            ADD_FAILURE() << "sample read at " << Pos;
        } catch (const EZuWaveInvalidWave &Error) {
            EXPECT_STREQ(Error.what(), "TZuWave.GetPosValue: Unsupported PCM Format");
        }
        EXPECT_THROW(Wave.GetPosValue16(1, Pos), EZuWaveInvalidWave);
        EXPECT_THROW(Wave.SetPosValue(0, Pos, 0x1234), EZuWaveInvalidWave);
    }
    const TZuInternalWAVE &Buffer = *Wave.InternalWave();
    ASSERT_EQ(Buffer.FDataSize, std::int32_t(Data.size()));
    EXPECT_EQ(Bytes(Buffer.FData, Buffer.FData + Buffer.FDataSize), Data);
}

INSTANTIATE_TEST_SUITE_P(CollidingKeys, OddLayoutSampleAccess,
                         ::testing::Values(TOddLayout{8, 33}, TOddLayout{8, 34}, TOddLayout{12, 18},
                                           TOddLayout{15, 5}));
