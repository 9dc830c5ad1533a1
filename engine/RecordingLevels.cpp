#include "engine/RecordingLevels.h"

#include "engine/SampleFormat.h"
#include "engine/SampleLevels.h"
#include "engine/WindowLevels.h"

#include <algorithm>
#include <cmath>

namespace {

// The value below which Share of Values lie (Values is reordered).
double Quantile(std::vector<double> &Values, double Share)
{
    const auto At = Values.begin() + std::ptrdiff_t(Share * double(Values.size() - 1));
    std::nth_element(Values.begin(), At, Values.end());
    return *At;
}

} // namespace

namespace {

// A window's level in dBFS from the largest channel's sum of squared
// levels (in 16-bit steps) over Width frames.
double LevelDb(double Top, std::int64_t Width)
{
    const double Rms = std::sqrt(Top / double(Width)) / 32768.0;
    return Rms > 0 ? std::clamp(20 * std::log10(Rms), SilenceDb, LoudestDb) : SilenceDb;
}

// Samples made as they are asked for come a second of windows at a time.
inline void NeedWindow(const TSampleView &Recording, std::int64_t First, std::int64_t Width)
{
    if (Recording.Source && First % (Width * LevelsPerSecond) == 0)
        Recording.Source->Need(First, First + Width * LevelsPerSecond);
}

// 8- and 16-bit samples, mono or stereo: their values are whole 16-bit
// steps, so their squares add up exactly in integers, in a loop the
// compiler runs many samples at a time. The sums are those the general
// loop makes in doubles, where every such sum is exact too.
template <class TCodec, int Channels>
void WholeStepLevelsDb(const TSampleView &Recording, std::int64_t N, std::int64_t Width, std::vector<double> &Levels)
{
    static_assert(TCodec::StepShift == 0 && TCodec::Bytes <= 2);
    for (std::int64_t First = 0; First + Width <= N; First += Width) {
        NeedWindow(Recording, First, Width);
        const std::uint8_t *const Data = Recording.Data + First * Channels * TCodec::Bytes;
        std::int64_t Sums[Channels] = {};
        for (std::int64_t K = 0; K < Width; ++K)
            for (int Ch = 0; Ch < Channels; ++Ch) {
                const std::int64_t Value = TCodec::Signed(Data + (K * Channels + Ch) * TCodec::Bytes);
                Sums[Ch] += Value * Value;
            }
        Levels.push_back(LevelDb(double(*std::max_element(Sums, Sums + Channels)), Width));
    }
}

} // namespace

std::vector<double> WindowLevelsDb(const TSampleView &Recording)
{
    std::vector<double> Levels;
    const bool Read = Recording.Format.wFormatTag == WAVE_FORMAT_PCM || Recording.Format.wFormatTag == WaveFormatFloat;
    const std::int64_t N = Read ? FrameCountOf(Recording) : 0;
    if (N <= 0)
        return Levels;
    RefuseUnreadLayout(Recording);
    const std::int64_t Width =
        std::max<std::int64_t>(std::max<std::uint32_t>(Recording.Format.nSamplesPerSec, 1) / LevelsPerSecond, 1);
    const int Channels = Recording.Format.nChannels;
    Levels.reserve(std::size_t(N / Width));
    WithCodec(EncodingOf(Recording.Format), [&](auto Codec) {
        using TCodec = decltype(Codec);
        if constexpr (TCodec::Bytes <= 2 && !IsFloatCodec<TCodec>) {
            if (Channels == 1)
                return WholeStepLevelsDb<TCodec, 1>(Recording, N, Width, Levels);
            if (Channels == 2)
                return WholeStepLevelsDb<TCodec, 2>(Recording, N, Width, Levels);
        }
        // The exact level each sample has (not whole 16-bit steps); a float
        // that is not finite makes its window as loud as can be.
        // One 16-bit step is a power of two of every format's units, so its
        // inverse is exact and the loop multiplies instead of dividing.
        const double PerStep = 1 / static_cast<double>(TCodec::FromPanel(1));
        std::vector<double> Sums(static_cast<std::size_t>(Channels));
        for (std::int64_t First = 0; First + Width <= N; First += Width) {
            NeedWindow(Recording, First, Width);
            std::fill(Sums.begin(), Sums.end(), 0.0);
            for (std::int64_t J = First; J < First + Width; ++J)
                for (int Ch = 0; Ch < Channels; ++Ch) {
                    const std::uint8_t *At = Recording.Data + (J * Channels + Ch) * TCodec::Bytes;
                    const double Level = static_cast<double>(TCodec::Magnitude(At)) * PerStep;
                    Sums[std::size_t(Ch)] += Level * Level;
                }
            Levels.push_back(LevelDb(*std::max_element(Sums.begin(), Sums.end()), Width));
        }
    });
    return Levels;
}

std::vector<double> QuietTrackDb(const std::vector<double> &Levels)
{
    constexpr std::size_t Block = FloorBlockLevels;
    constexpr std::size_t Reach = 10; // blocks either side: 5 s
    std::vector<double> Lows;
    for (std::size_t First = 0; First < Levels.size(); First += Block) {
        std::vector<double> Part(Levels.begin() + std::ptrdiff_t(First),
                                 Levels.begin() + std::ptrdiff_t(std::min(First + Block, Levels.size())));
        Lows.push_back(Quantile(Part, 0.1));
    }
    std::vector<double> Track(Lows.size());
    for (std::size_t B = 0; B < Lows.size(); ++B)
        Track[B] = *std::min_element(Lows.begin() + std::ptrdiff_t(B > Reach ? B - Reach : 0),
                                     Lows.begin() + std::ptrdiff_t(std::min(B + Reach + 1, Lows.size())));
    return Track;
}

TNoiseFloor NoiseFloorOf(const std::vector<double> &Levels)
{
    TNoiseFloor Floor;
    if (Levels.empty())
        return Floor;
    constexpr std::size_t Block = FloorBlockLevels;
    const std::vector<double> Track = QuietTrackDb(Levels);

    // Each window against the floor where it lies: the quiet end of these
    // is the noise alone, whatever share of the recording speech fills.
    std::vector<double> Above(Levels.size());
    for (std::size_t I = 0; I < Levels.size(); ++I)
        Above[I] = Levels[I] - Track[I / Block];
    const double Low = Quantile(Above, 0.05);
    const double High = Quantile(Above, 0.15);
    // Between these two lie 0.6 to 1 standard deviations of the noise's
    // levels, as the noise fills all of the recording or a third of it.
    Floor.RippleDb = (High - Low) / 0.7;
    // The track is the noise's low end, about 1.3 deviations under its
    // middle.
    Floor.Db = *std::max_element(Track.begin(), Track.end()) + 1.3 * Floor.RippleDb;
    return Floor;
}

std::vector<double> PauseLengths(const std::vector<double> &Levels, double SilenceLevelDb)
{
    std::vector<double> Pauses;
    std::size_t Run = 0;
    bool Sounded = false;
    for (double Level : Levels) {
        if (Level <= SilenceLevelDb) {
            ++Run;
            continue;
        }
        if (Sounded && Run > 0)
            Pauses.push_back(double(Run) / LevelsPerSecond);
        Sounded = true;
        Run = 0;
    }
    return Pauses;
}
