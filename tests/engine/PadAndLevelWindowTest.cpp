// Levels over a window and the margin around pieces: the engine's detection
// against the per-position definition with each level summed afresh, and
// the margins where neighbours and the recording's ends bound them.
#include "ReferenceScan.h"
#include "engine/TrimDetection.h"
#include "engine/TrimPad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

namespace {

// 16-bit frames: runs of tone bursts, silence and noise at levels around
// the thresholds, so that windows straddle every kind of edge.
std::vector<std::int16_t> RandomFrames(std::mt19937 &Random, int Channels, std::int64_t Frames)
{
    std::vector<std::int16_t> Values;
    std::normal_distribution<double> Noise(0, 1);
    while (std::int64_t(Values.size()) < Frames * Channels) {
        const double Amplitude = std::vector<double>{0, 300, 900, 1100, 3000, 20000}[Random() % 6];
        const std::int64_t Length = 1 + Random() % 700;
        for (std::int64_t I = 0; I < Length * Channels; ++I)
            Values.push_back(std::int16_t(std::clamp(std::lround(Amplitude * Noise(Random)), -32768L, 32767L)));
    }
    Values.resize(std::size_t(Frames * Channels));
    return Values;
}

// The level of J as defined: sqrt of the mean square of J's window on the
// loudest channel.
double WindowLevel(const std::vector<std::int16_t> &Values, int Channels, std::int64_t J, std::int64_t Width)
{
    const std::int64_t N = std::int64_t(Values.size()) / Channels;
    const std::int64_t First = std::max<std::int64_t>(J - Width / 2, 0);
    const std::int64_t End = std::min(J - Width / 2 + Width, N);
    std::int64_t Loudest = 0;
    for (int Ch = 0; Ch < Channels; ++Ch) {
        std::int64_t Sum = 0;
        for (std::int64_t K = First; K < End; ++K) {
            const std::int64_t V = std::abs(std::int64_t(Values[std::size_t(K * Channels + Ch)]));
            Sum += V * V;
        }
        Loudest = std::max(Loudest, Sum);
    }
    return std::sqrt(double(Loudest) / double(End - First));
}

} // namespace

TEST(PadAndLevelWindow, WindowedDetectionIsThePerPositionScanOverWindowLevels)
{
    std::mt19937 Random(15);
    const TTrimSettings Settings[] = {
        {1000, 100, 100, 1000, 0, 0, 0, 1},       {1000, 300, 150, 2000, 40, 60, 0, 64},
        {1000, 50, 100, 1000, 500, 500, 0, 441},  {2500, 200, 120, 2500, 0, 20, 0, 7},
    };
    // Over 2^20 frames, the sums that pass quiet blocks are let go behind
    // the scan; a silence width wider than the stretch they are kept over
    // makes its reads jump beyond them.
    const TTrimSettings Long[] = {{1000, 100, 100, 1000, 0, 0, 0, 64}, {1000, 300000, 100, 1000, 0, 0, 0, 64}};
    std::vector<std::pair<TTrimSettings, std::int64_t>> Cases;
    for (const TTrimSettings &Setting : Settings)
        Cases.push_back({Setting, 0});
    for (const TTrimSettings &Setting : Long)
        Cases.push_back({Setting, 1200000});
    for (int Channels : {1, 2}) {
        for (const auto &[Setting, Frames] : Cases) {
            const std::vector<std::int16_t> Values =
                RandomFrames(Random, Channels, Frames > 0 ? Frames : 6000 + Random() % 4000);
            TSampleView View;
            View.Format = {1, std::uint16_t(Channels), 8000, 0, 0, 16, 0};
            View.Data = reinterpret_cast<const std::uint8_t *>(Values.data());
            View.DataSize = std::int64_t(Values.size() * 2);
            const std::int64_t N = std::int64_t(Values.size()) / Channels;

            std::vector<TTrimArea> Expected;
            std::int32_t ExpectedCount = 0;
            ScanTrimAreas([&](std::int64_t J) { return WindowLevel(Values, Channels, J, Setting.LevelWindow); }, N,
                          ScanLimitsOf(Setting, [](std::int64_t Level) { return double(Level); }), Expected,
                          ExpectedCount);
            std::vector<TTrimArea> Areas;
            std::int32_t Count = 0;
            DetectTrimAreas(View, Setting, Areas, Count);
            ASSERT_EQ(Count, ExpectedCount) << Channels << " channels, window " << Setting.LevelWindow;
            ASSERT_GT(Count, 0);
            for (std::int32_t I = 0; I < Count; ++I) {
                EXPECT_EQ(Areas[I].StartPos, Expected[I].StartPos) << I;
                EXPECT_EQ(Areas[I].EndPos, Expected[I].EndPos) << I;
            }
        }
    }
}

namespace {

struct TStoredFormat {
    const char *Name;
    std::uint16_t Tag; // 1 integer PCM, 3 float
    int Bits;
};

// Frames at 16-bit scale with parts below a 16-bit step, as each format
// stores them, and the exact level of each stored sample.
struct TStoredFrames {
    std::vector<std::uint8_t> Bytes;
    std::vector<long double> Levels;
};

TStoredFrames Store(const std::vector<double> &Values, const TStoredFormat &Format)
{
    TStoredFrames Stored;
    for (const double Value : Values) {
        std::uint8_t Word[8];
        if (Format.Tag == 3 && Format.Bits == 32) {
            const float Sample = float(Value / 32768);
            std::memcpy(Word, &Sample, 4);
            Stored.Levels.push_back(std::fabs(static_cast<long double>(Sample)) * 32768);
        } else if (Format.Tag == 3) {
            const double Sample = Value / 32768;
            std::memcpy(Word, &Sample, 8);
            Stored.Levels.push_back(std::fabs(static_cast<long double>(Sample)) * 32768);
        } else {
            const long double Scale = std::ldexp(1.0L, Format.Bits - 16);
            const std::int64_t Top = (std::int64_t(1) << (Format.Bits - 1)) - 1;
            const std::int64_t Sample = std::clamp<std::int64_t>(std::llround(Value * double(Scale)), -Top - 1, Top);
            for (int B = 0; B < 8; ++B)
                Word[B] = std::uint8_t(std::uint64_t(Sample) >> (8 * B));
            Stored.Levels.push_back(std::fabs(static_cast<long double>(Sample)) / Scale);
        }
        Stored.Bytes.insert(Stored.Bytes.end(), Word, Word + Format.Bits / 8);
    }
    return Stored;
}

TSampleView ViewOf(const TStoredFrames &Stored, const TStoredFormat &Format, int Channels)
{
    TSampleView View;
    const std::uint16_t Align = std::uint16_t(Format.Bits / 8 * Channels);
    View.Format = {Format.Tag, std::uint16_t(Channels), 8000, 8000u * Align, Align, std::uint16_t(Format.Bits), 0};
    View.Data = Stored.Bytes.data();
    View.DataSize = std::int64_t(Stored.Bytes.size());
    return View;
}

// The RMS of J's window of exact levels, summed afresh, on the loudest channel.
long double ExactWindowLevel(const std::vector<long double> &Levels, int Channels, std::int64_t J, std::int64_t Width)
{
    const std::int64_t N = std::int64_t(Levels.size()) / Channels;
    const std::int64_t First = std::max<std::int64_t>(J - Width / 2, 0);
    const std::int64_t End = std::min(J - Width / 2 + Width, N);
    long double Loudest = 0;
    for (int Ch = 0; Ch < Channels; ++Ch) {
        long double Sum = 0;
        for (std::int64_t K = First; K < End; ++K)
            Sum += Levels[std::size_t(K * Channels + Ch)] * Levels[std::size_t(K * Channels + Ch)];
        Loudest = std::max(Loudest, Sum);
    }
    return std::sqrt(Loudest / static_cast<long double>(End - First));
}

} // namespace

// Wide integers and floats hold levels between 16-bit steps and floats
// beyond full scale: a window's level is the RMS of the exact levels, as a
// single sample's level is, in every format and however wide the window
// (wider ones are summed from stored stretches, and the scan jumps).
TEST(PadAndLevelWindow, WindowLevelsAreThoseOfTheExactSampleLevelsInEveryFormat)
{
    const TStoredFormat Formats[] = {
        {"24-bit", 1, 24}, {"32-bit", 1, 32}, {"float", 3, 32}, {"double", 3, 64}};
    const TTrimSettings Settings[] = {
        {1000, 100, 100, 1000, 0, 0, 0, 1},      {1000, 300, 150, 2000, 40, 60, 0, 64},
        {1000, 50, 100, 1000, 500, 500, 0, 441}, {2500, 4000, 120, 2500, 0, 20, 0, 3001},
    };
    std::mt19937 Random(21);
    std::normal_distribution<double> Noise(0, 1);
    std::uniform_real_distribution<double> Fraction(-0.5, 0.5);
    for (const TStoredFormat &Format : Formats)
        for (int Channels : {1, 2})
            for (const TTrimSettings &Setting : Settings) {
                SCOPED_TRACE(testing::Message() << Format.Name << ", " << Channels << " channels, window "
                                                << Setting.LevelWindow);
                std::vector<double> Values;
                const std::int64_t N = 6000 + Random() % 4000;
                while (std::int64_t(Values.size()) < N * Channels) {
                    const double Amplitude = std::vector<double>{0, 300, 1000, 1001, 2500, 20000, 45000}[Random() % 7];
                    const std::int64_t Length = 1 + Random() % 700;
                    for (std::int64_t I = 0; I < Length * Channels; ++I)
                        Values.push_back(Amplitude * Noise(Random) + Fraction(Random));
                }
                Values.resize(std::size_t(N * Channels));
                const TStoredFrames Stored = Store(Values, Format);

                std::vector<TTrimArea> Expected;
                std::int32_t ExpectedCount = 0;
                ScanTrimAreas(
                    [&](std::int64_t J) { return ExactWindowLevel(Stored.Levels, Channels, J, Setting.LevelWindow); },
                    N, ScanLimitsOf(Setting, [](std::int64_t Level) { return static_cast<long double>(Level); }),
                    Expected, ExpectedCount);
                std::vector<TTrimArea> Areas;
                std::int32_t Count = 0;
                DetectTrimAreas(ViewOf(Stored, Format, Channels), Setting, Areas, Count);
                ASSERT_EQ(Count, ExpectedCount);
                ASSERT_GT(Count, 0);
                for (std::int32_t I = 0; I < Count; ++I) {
                    EXPECT_EQ(Areas[I].StartPos, Expected[I].StartPos) << I;
                    EXPECT_EQ(Areas[I].EndPos, Expected[I].EndPos) << I;
                }
            }

    // 24-bit squares of levels 256255 / 256 = 1000.996 and 256001 / 256 =
    // 1000.004 are sound at a silence level of 1000 with or without a
    // window, also where a long silence width makes the scan jump through
    // them with a window wider than the stretches sums are kept at.
    for (const double Level : {256255 / 256.0, 256001 / 256.0}) {
        std::vector<double> Square(22000, 0);
        for (std::size_t I = 1000; I < 21000; ++I)
            Square[I] = I % 2 ? Level : -Level;
        const TStoredFrames Stored = Store(Square, Formats[0]);
        for (std::int32_t Window : {0, 81, 3001}) {
            TTrimSettings Setting;
            Setting.NoSoundWidth = 2000;
            Setting.CutStartLevel = 1000;
            Setting.LevelWindow = Window;
            const std::vector<TTrimArea> Areas = DetectTrimAreas(ViewOf(Stored, Formats[0], 1), Setting);
            ASSERT_EQ(Areas.size(), 1u) << Level << ", window " << Window;
            EXPECT_GE(Areas[0].EndPos - Areas[0].StartPos, 20000 - Window) << Level << ", window " << Window;
        }
    }
}

TEST(PadAndLevelWindow, MarginsStopAtNeighboursAndTheRecordingsEnds)
{
    struct TCase {
        std::vector<TTrimArea> Found;
        std::int64_t Pad;
        std::vector<TTrimArea> Padded;
    };
    const std::int64_t N = 1000;
    const TCase Cases[] = {
        {{{100, 200}, {500, 600}}, 50, {{50, 250}, {450, 650}}},
        // At the ends of the recording.
        {{{20, 200}, {900, 990}}, 50, {{0, 250}, {850, 1000}}},
        // Closer than two margins: the gap is shared at its middle.
        {{{100, 200}, {261, 400}}, 50, {{50, 230}, {230, 450}}},
        {{{100, 200}, {201, 400}}, 50, {{50, 200}, {200, 450}}},
        // Already overlapping (a long end search): neither grows into the other.
        {{{100, 300}, {250, 400}, {700, 800}}, 50, {{50, 300}, {250, 450}, {650, 850}}},
        {{{100, 200}}, 0, {{100, 200}}},
    };
    for (const TCase &Case : Cases) {
        std::vector<TTrimArea> Areas = Case.Found;
        Areas.push_back({7, 7}); // the work slot stays as it was
        PadTrimAreas(Areas, std::int32_t(Case.Found.size()), Case.Pad, N);
        for (std::size_t I = 0; I < Case.Padded.size(); ++I) {
            EXPECT_EQ(Areas[I].StartPos, Case.Padded[I].StartPos) << I;
            EXPECT_EQ(Areas[I].EndPos, Case.Padded[I].EndPos) << I;
        }
        EXPECT_EQ(Areas.back().StartPos, 7);
    }
}
