// The envelope levels against the drawn level of every sample, in every
// encoding the window reads, over stretches that start and end anywhere
// and span every tier.
#include "app/PeakLevels.h"
#include "app/SampleValues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

struct TEncodingCase {
    const char *Name;
    std::uint16_t Tag;
    std::uint16_t Bits;
    int Channels = 2;
};

class PeakLevelsTest : public ::testing::TestWithParam<TEncodingCase> {};

// Random bytes, with the odd full-scale, not-a-number and infinite sample.
std::vector<std::uint8_t> Samples(const TEncodingCase &Case, std::int64_t Count, std::mt19937 &Random)
{
    const int Bytes = Case.Bits / 8;
    std::vector<std::uint8_t> Data(std::size_t(Count * Bytes));
    std::uniform_int_distribution<int> Byte(0, 255);
    std::uniform_real_distribution<double> Level(-1.2, 1.2);
    std::uniform_int_distribution<int> Rare(0, 5000);
    for (std::int64_t I = 0; I < Count; ++I) {
        std::uint8_t *At = Data.data() + I * Bytes;
        if (Case.Tag == 3) {
            double Value = Level(Random) * std::pow(10.0, -Byte(Random) % 4);
            const int Odd = Rare(Random);
            if (Odd == 0)
                Value = std::numeric_limits<double>::quiet_NaN();
            else if (Odd == 1)
                Value = -std::numeric_limits<double>::infinity();
            if (Bytes == 4) {
                const float Narrow = float(Value);
                std::memcpy(At, &Narrow, 4);
            } else {
                std::memcpy(At, &Value, 8);
            }
            continue;
        }
        // Mostly quiet, now and then loud: so the loudest sample of a
        // stretch is a different one at every scale.
        const bool Loud = Rare(Random) < 3;
        for (int B = 0; B < Bytes; ++B)
            At[B] = std::uint8_t(Byte(Random));
        if (!Loud && Bytes > 1)
            At[Bytes - 1] = std::uint8_t(Byte(Random) % 2 ? 0x00 : 0xFF);
        else if (!Loud)
            At[0] = std::uint8_t(120 + Byte(Random) % 16);
    }
    return Data;
}

TEST_P(PeakLevelsTest, EveryStretchHasTheLowestAndHighestLevelOfItsSamples)
{
    const TEncodingCase Case = GetParam();
    const int Channels = Case.Channels;
    // Long enough for four tiers: BlockFrames × Fan × Fan frames and more.
    const std::int64_t Frames = TPeakLevels::BlockFrames * TPeakLevels::Fan * TPeakLevels::Fan * 3 + 77;
    std::mt19937 Random(1234);
    const std::vector<std::uint8_t> Data = Samples(Case, Frames * Channels, Random);
    TSampleView View;
    View.Format.wFormatTag = Case.Tag;
    View.Format.nChannels = Channels;
    View.Format.nSamplesPerSec = 8000;
    View.Format.nBlockAlign = std::uint16_t(Channels * Case.Bits / 8);
    View.Format.nAvgBytesPerSec = 8000u * View.Format.nBlockAlign;
    View.Format.wBitsPerSample = Case.Bits;
    View.Data = Data.data();
    View.DataSize = std::int64_t(Data.size());
    const TSampleEncoding Encoding = EncodingOf(View.Format);
    ASSERT_NE(Encoding, TSampleEncoding::None);

    const TPeakLevels Levels(View);
    ASSERT_EQ(Levels.Frames(), Frames);
    std::uniform_int_distribution<std::int64_t> Start(0, Frames - 1);
    std::uniform_real_distribution<double> Scale(0, std::log(double(Frames)));
    std::vector<std::pair<std::int64_t, std::int64_t>> Stretches{{0, Frames}, {0, 1}, {Frames - 1, Frames},
                                                                 {256, 512}, {255, 65537}, {4096, Frames}};
    for (int I = 0; I < 150; ++I) {
        const std::int64_t First = Start(Random);
        const auto Length = std::int64_t(std::exp(Scale(Random)));
        Stretches.emplace_back(First, std::min(Frames, First + std::max<std::int64_t>(Length, 1)));
    }
    for (const auto &[First, Last] : Stretches) {
        for (int Ch = 0; Ch < Channels; ++Ch) {
            std::int32_t Low = std::numeric_limits<std::int32_t>::max();
            std::int32_t High = std::numeric_limits<std::int32_t>::min();
            for (std::int64_t Frame = First; Frame < Last; ++Frame) {
                const std::int32_t Level = DrawnLevel(Scaled16(View, Encoding, Frame, Ch));
                Low = std::min(Low, Level);
                High = std::max(High, Level);
            }
            const TLevelRange Range = Levels.Range(Ch, First, Last);
            ASSERT_EQ(std::pair(Range.Low, Range.High), std::pair(Low, High))
                << "frames " << First << " .. " << Last << ", channel " << Ch;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Encodings, PeakLevelsTest,
                         ::testing::Values(TEncodingCase{"UInt8", 1, 8}, TEncodingCase{"Int16", 1, 16},
                                           TEncodingCase{"Int16Mono", 1, 16, 1}, TEncodingCase{"Int16Six", 1, 16, 6},
                                           TEncodingCase{"Int16Eight", 1, 16, 8},
                                           TEncodingCase{"Int24", 1, 24}, TEncodingCase{"Int32", 1, 32},
                                           TEncodingCase{"Float32", 3, 32}, TEncodingCase{"Float64", 3, 64}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

} // namespace
