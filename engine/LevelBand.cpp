#include "engine/LevelBand.h"

#include "engine/SampleFormat.h"
#include "engine/RecordingLevels.h"
#include "engine/SampleLevels.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// A second-order section (Butterworth), direct form I.
class TBiquad {
public:
    TBiquad(double Frequency, double Rate, bool HighPass)
    {
        const double W = 2 * std::numbers::pi * std::min(Frequency / Rate, 0.49);
        const double Alpha = std::sin(W) / std::sqrt(2.0), Cos = std::cos(W), A0 = 1 + Alpha;
        const double Edge = HighPass ? (1 + Cos) / 2 : (1 - Cos) / 2;
        B0 = Edge / A0;
        B1 = (HighPass ? -2 * Edge : 2 * Edge) / A0;
        B2 = Edge / A0;
        A1 = -2 * Cos / A0;
        A2 = (1 - Alpha) / A0;
    }
    double Step(double X)
    {
        const double Y = B0 * X + B1 * X1 + B2 * X2 - A1 * Y1 - A2 * Y2;
        X2 = X1;
        X1 = X;
        Y2 = Y1;
        Y1 = Y;
        return Y;
    }

private:
    double B0, B1, B2, A1, A2;
    double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
};

// Each sample of Recording filtered to Band, in frame order, to
// Sink(Index, Value), Index counting samples (frames × channels); the
// frame count, or 0 for a recording that holds none.
template <class TSink>
std::int64_t FilterSamples(const TSampleView &Recording, std::int32_t Band, TSink &&Sink)
{
    const bool Read = Recording.Format.wFormatTag == WAVE_FORMAT_PCM || Recording.Format.wFormatTag == WaveFormatFloat;
    const std::int64_t N = Read ? FrameCountOf(Recording) : 0;
    if (N <= 0)
        return 0;
    RefuseUnreadLayout(Recording);
    const int Channels = std::max<int>(Recording.Format.nChannels, 1);
    const double Rate = std::max<double>(Recording.Format.nSamplesPerSec, 1);
    // Two sections: 24 dB an octave, so a 50 Hz hum is 17 dB down.
    std::vector<TBiquad> High(std::size_t(2 * Channels), TBiquad(80, Rate, true));
    std::vector<TBiquad> Low(std::size_t(Channels), TBiquad(4000, Rate, false));
    const bool LowPass = Band == BandSpeech && Rate > 8000;
    // The samples are read a block at a time, the sample table's loop
    // picked once for each, into values the filter then runs over.
    const TSampleEncoding Encoding = EncodingOf(Recording.Format);
    constexpr std::int64_t BlockFrames = 1024;
    std::vector<double> Values(std::size_t(BlockFrames * Channels));
    for (std::int64_t First = 0; First < N; First += BlockFrames) {
        const std::int64_t Frames = std::min(BlockFrames, N - First), Count = Frames * Channels;
        WithCodec(Encoding, [&](auto Codec) {
            using TCodec = decltype(Codec);
            const std::uint8_t *From = Recording.Data + First * Channels * TCodec::Bytes;
            for (std::int64_t I = 0; I < Count; ++I)
                // Not finite: full scale, loud as can be.
                Values[std::size_t(I)] = FiniteFraction<TCodec>(From + I * TCodec::Bytes, 1.0);
        });
        for (std::int64_t J = 0; J < Frames; ++J)
            for (int Ch = 0; Ch < Channels; ++Ch) {
                const std::int64_t K = J * Channels + Ch;
                double Value = Values[std::size_t(K)];
                Value = High[std::size_t(2 * Ch + 1)].Step(High[std::size_t(2 * Ch)].Step(Value));
                if (LowPass)
                    Value = Low[std::size_t(Ch)].Step(Value);
                Sink(First * Channels + K, Value);
            }
    }
    return N;
}

} // namespace

TBandCopy BandLimitedCopy(const TSampleView &Recording, std::int32_t Band)
{
    TBandCopy Copy;
    const int Channels = std::max<int>(Recording.Format.nChannels, 1);
    const bool Read = Recording.Format.wFormatTag == WAVE_FORMAT_PCM || Recording.Format.wFormatTag == WaveFormatFloat;
    Copy.Samples.resize(std::size_t(std::max<std::int64_t>(Read ? FrameCountOf(Recording) : 0, 0) * Channels));
    FilterSamples(Recording, Band, [&Copy](std::int64_t K, double Value) { Copy.Samples[std::size_t(K)] = float(Value); });
    Copy.View.Format = {WaveFormatFloat, std::uint16_t(Channels), Recording.Format.nSamplesPerSec,
                        Recording.Format.nSamplesPerSec * 4 * std::uint32_t(Channels), std::uint16_t(4 * Channels), 32,
                        0};
    Copy.View.Data = reinterpret_cast<const std::uint8_t *>(Copy.Samples.data());
    Copy.View.DataSize = std::int64_t(Copy.Samples.size() * sizeof(float));
    return Copy;
}

std::vector<double> BandLevelsDb(const TSampleView &Recording, std::int32_t Band)
{
    const int Channels = std::max<int>(Recording.Format.nChannels, 1);
    const std::int64_t Width =
        std::max<std::int64_t>(std::max<std::uint32_t>(Recording.Format.nSamplesPerSec, 1) / LevelsPerSecond, 1);
    const std::int64_t PerWindow = Width * Channels;
    std::vector<double> Levels;
    std::vector<double> Sums(std::size_t(Channels), 0.0);
    FilterSamples(Recording, Band, [&](std::int64_t K, double Value) {
        Sums[std::size_t(K % Channels)] += Value * Value;
        if ((K + 1) % PerWindow != 0)
            return;
        // As a window of the band-limited copy reads: its loudest channel.
        const double Rms = std::sqrt(*std::max_element(Sums.begin(), Sums.end()) / double(Width));
        Levels.push_back(Rms > 0 ? std::clamp(20 * std::log10(Rms), SilenceDb, LoudestDb) : SilenceDb);
        std::fill(Sums.begin(), Sums.end(), 0.0);
    });
    return Levels;
}
