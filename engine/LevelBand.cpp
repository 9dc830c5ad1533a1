#include "engine/LevelBand.h"

#include "engine/SampleFormat.h"
#include "engine/SampleLevels.h"

#include <cmath>
#include <cstring>
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

// A sample as a fraction of full scale.
double SampleAt(const std::uint8_t *At, TSampleEncoding Encoding)
{
    switch (Encoding) {
    case TSampleEncoding::UInt8: return (double(*At) - 128) / 128;
    case TSampleEncoding::Int16: return LoadSample16(At, 0) / 32768.0;
    case TSampleEncoding::Int24: return LoadSample24(At) / 8388608.0;
    case TSampleEncoding::Int32: return LoadSample32(At) / 2147483648.0;
    case TSampleEncoding::Float32: {
        float Value;
        std::memcpy(&Value, At, sizeof Value);
        return std::isfinite(Value) ? Value : 1.0;
    }
    case TSampleEncoding::Float64: {
        double Value;
        std::memcpy(&Value, At, sizeof Value);
        return std::isfinite(Value) ? Value : 1.0;
    }
    case TSampleEncoding::None: break;
    }
    return 0;
}

} // namespace

TBandCopy BandLimitedCopy(const TSampleView &Recording, std::int32_t Band)
{
    TBandCopy Copy;
    const bool Read = Recording.Format.wFormatTag == WAVE_FORMAT_PCM || Recording.Format.wFormatTag == WaveFormatFloat;
    const std::int64_t N = Read ? FrameCountOf(Recording) : 0;
    if (N > 0)
        RefuseUnreadLayout(Recording);
    const int Channels = std::max<int>(Recording.Format.nChannels, 1);
    const double Rate = std::max<double>(Recording.Format.nSamplesPerSec, 1);
    const TSampleEncoding Encoding = EncodingOf(Recording.Format);
    const int Bytes = N > 0 ? BytesPerSample(Encoding) : 0;
    // Two sections: 24 dB an octave, so a 50 Hz hum is 17 dB down.
    std::vector<TBiquad> High(std::size_t(2 * Channels), TBiquad(80, Rate, true));
    std::vector<TBiquad> Low(std::size_t(Channels), TBiquad(4000, Rate, false));
    Copy.Samples.resize(std::size_t(std::max<std::int64_t>(N, 0) * Channels));
    for (std::int64_t J = 0; J < N; ++J)
        for (int Ch = 0; Ch < Channels; ++Ch) {
            const std::size_t K = std::size_t(J * Channels + Ch);
            double Value = SampleAt(Recording.Data + std::int64_t(K) * Bytes, Encoding);
            Value = High[std::size_t(2 * Ch + 1)].Step(High[std::size_t(2 * Ch)].Step(Value));
            if (Band == BandSpeech && Rate > 8000)
                Value = Low[std::size_t(Ch)].Step(Value);
            Copy.Samples[K] = float(Value);
        }
    Copy.View.Format = {WaveFormatFloat, std::uint16_t(Channels), Recording.Format.nSamplesPerSec,
                        Recording.Format.nSamplesPerSec * 4 * std::uint32_t(Channels), std::uint16_t(4 * Channels), 32,
                        0};
    Copy.View.Data = reinterpret_cast<const std::uint8_t *>(Copy.Samples.data());
    Copy.View.DataSize = std::int64_t(Copy.Samples.size() * sizeof(float));
    return Copy;
}
