// Pieces converted for a corpus: the samples are libsoxr's own output on
// the same samples, however the conversion feeds it, and the lengths are
// exact.
#include "engine/PieceConversion.h"
#include "engine/SampleFormat.h"

#include <gtest/gtest.h>

#include <soxr.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<std::uint8_t> Converted(const TSampleView &View, const TTrimArea &Area, const TPieceConversion &To)
{
    std::vector<std::uint8_t> Bytes;
    ConvertPiece(View, Area, To,
                 [&](const std::uint8_t *Block, std::int64_t Count) { Bytes.insert(Bytes.end(), Block, Block + Count); });
    return Bytes;
}

} // namespace

TEST(PieceConversion, MonoResampledPiecesAreLibsoxrsOwnOutput)
{
    // 24-bit stereo at 44.1 kHz: a tone on the left, noise on the right,
    // long enough that the conversion works in several blocks.
    constexpr int Frames = 200000;
    std::vector<std::uint8_t> Data(std::size_t(Frames) * 6);
    std::mt19937 Random(7);
    std::vector<double> Mono(Frames);
    for (int J = 0; J < Frames; ++J) {
        const auto Left = std::int32_t(std::lround(3000000 * std::sin(J * 0.05)));
        const auto Right = std::int32_t(Random() % 4000001) - 2000000;
        for (int Ch = 0; Ch < 2; ++Ch)
            for (int Byte = 0; Byte < 3; ++Byte)
                Data[std::size_t(J) * 6 + Ch * 3 + Byte] = std::uint8_t(std::uint32_t(Ch == 0 ? Left : Right) >> (8 * Byte));
        Mono[std::size_t(J)] = (Left / 8388608.0 + Right / 8388608.0) / 2;
    }
    TSampleView View;
    View.Format = {1, 2, 44100, 44100 * 6, 6, 24, 0};
    View.Data = Data.data();
    View.DataSize = std::int64_t(Data.size());
    const TTrimArea Area{1234, 181234};

    const TPieceConversion To{16000, 1, 16};
    const std::int64_t Out = ConvertedFrames(Area.EndPos - Area.StartPos, 44100, 16000);
    EXPECT_EQ(Out, 65306); // 180000 × 16000 / 44100 = 65306.12
    std::vector<double> Expected(static_cast<std::size_t>(Out));
    const soxr_io_spec_t Io = soxr_io_spec(SOXR_FLOAT64_I, SOXR_FLOAT64_I);
    const soxr_quality_spec_t Quality = soxr_quality_spec(SOXR_VHQ, 0);
    std::size_t Done = 0;
    ASSERT_EQ(soxr_oneshot(44100, 16000, 1, Mono.data() + Area.StartPos, std::size_t(Area.EndPos - Area.StartPos),
                           nullptr, Expected.data(), Expected.size(), &Done, &Io, &Quality, nullptr),
              nullptr);
    ASSERT_EQ(Done, Expected.size());
    std::vector<std::uint8_t> Bytes;
    for (double Value : Expected) {
        const auto Whole = std::int16_t(std::clamp(std::nearbyint(Value * 32768), -32768.0, 32767.0));
        Bytes.push_back(std::uint8_t(Whole));
        Bytes.push_back(std::uint8_t(std::uint16_t(Whole) >> 8));
    }
    EXPECT_EQ(Converted(View, Area, To), Bytes);

    // At the recording's own rate nothing is resampled: the channels'
    // mean, rounded, and a mono recording doubled sample for sample.
    const std::vector<std::uint8_t> Same = Converted(View, {0, 3}, {0, 1, 16});
    ASSERT_EQ(Same.size(), 6u);
    for (int J = 0; J < 3; ++J) {
        const auto Whole = std::int16_t(std::nearbyint(Mono[std::size_t(J)] * 32768));
        EXPECT_EQ(Same[std::size_t(2 * J)] | Same[std::size_t(2 * J + 1)] << 8, std::uint16_t(Whole)) << J;
    }
    TSampleView Single = View;
    Single.Format = {1, 1, 44100, 44100 * 3, 3, 24, 0};
    const std::vector<std::uint8_t> Doubled = Converted(Single, {0, 2}, {0, 2, 24});
    EXPECT_EQ(Doubled, (std::vector<std::uint8_t>{Data[0], Data[1], Data[2], Data[0], Data[1], Data[2], Data[3],
                                                  Data[4], Data[5], Data[3], Data[4], Data[5]}));
}
