#include "engine/PieceConversion.h"

#include "engine/SampleFormat.h"
#include "engine/SampleLevels.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr std::int64_t BlockFrames = 65536;

void Store(double Value, int Bits, std::uint8_t *At)
{
    const double Scale = Bits == 24 ? 8388608.0 : 32768.0;
    const auto Whole = std::int32_t(std::clamp(std::nearbyint(Value * Scale), -Scale, Scale - 1));
    for (int Byte = 0; Byte < Bits / 8; ++Byte)
        At[Byte] = std::uint8_t(std::uint32_t(Whole) >> (8 * Byte));
}

struct TSoxrDeleter {
    void operator()(soxr_t Resampler) const { soxr_delete(Resampler); }
};

} // namespace

std::string ConversionProblem(const TWaveFormatEx &Source, const TPieceConversion &Conversion)
{
    if (Conversion.Channels != 0 && Conversion.Channels != 1 && Conversion.Channels != Source.nChannels
        && !(Conversion.Channels == 2 && Source.nChannels == 1))
        return "--channels " + std::to_string(Conversion.Channels) + ": a recording of "
            + std::to_string(Source.nChannels) + " channels can be mixed to 1 channel only";
    if (Conversion.Bits == 0 && IsFloat(EncodingOf(Source)) && Conversion.Requested())
        return "--bits: give 16 or 24 to convert a floating-point recording";
    return {};
}

TSampleView ConvertedView(const TSampleView &Source, const TPieceConversion &Conversion)
{
    TSampleView View = Source;
    TWaveFormatEx &Format = View.Format;
    const int Bits = Conversion.Bits != 0 ? Conversion.Bits : std::max<int>(Source.Format.wBitsPerSample, 16);
    Format.wFormatTag = WAVE_FORMAT_PCM;
    Format.nChannels = std::uint16_t(Conversion.Channels != 0 ? Conversion.Channels : Source.Format.nChannels);
    Format.nSamplesPerSec = Conversion.Rate != 0 ? Conversion.Rate : Source.Format.nSamplesPerSec;
    Format.wBitsPerSample = std::uint16_t(Bits);
    Format.nBlockAlign = std::uint16_t(Format.nChannels * (Bits / 8));
    Format.nAvgBytesPerSec = Format.nSamplesPerSec * Format.nBlockAlign;
    Format.cbSize = 0;
    View.Data = nullptr;
    View.FileHandle = -1;
    View.Source = nullptr;
    View.FileOffset = 0;
    View.DataSize = 0;
    return View;
}

std::int64_t ConvertedFrames(std::int64_t Frames, std::uint32_t From, std::uint32_t To)
{
    if (From == To || From == 0)
        return Frames;
    // Rounded to the nearest frame, exactly in integers: Frames * To may
    // pass 64 bits, so it is split at From.
    const std::int64_t Whole = Frames / From;
    const std::int64_t Rest = Frames % From;
    return Whole * std::int64_t(To) + (Rest * std::int64_t(To) + From / 2) / From;
}

void ConvertPiece(const TSampleView &Source, const TTrimArea &Area, const TPieceConversion &Conversion,
                  const std::function<void(const std::uint8_t *Bytes, std::int64_t Count)> &Sink)
{
    const TSampleView Target = ConvertedView(Source, Conversion);
    const TSampleEncoding Encoding = EncodingOf(Source.Format);
    const int From = Source.Format.nChannels;
    const int To = Target.Format.nChannels;
    const std::int64_t FrameBytes = FrameBytesOf(Source);
    const std::uint32_t InRate = Source.Format.nSamplesPerSec;
    const std::uint32_t OutRate = Target.Format.nSamplesPerSec;
    const std::int64_t InFrames = Area.EndPos - Area.StartPos;
    const std::int64_t OutFrames = ConvertedFrames(InFrames, InRate, OutRate);

    std::unique_ptr<soxr, TSoxrDeleter> Resampler;
    if (InRate != OutRate) {
        soxr_error_t Error = nullptr;
        const soxr_io_spec_t Io = soxr_io_spec(SOXR_FLOAT64_I, SOXR_FLOAT64_I);
        const soxr_quality_spec_t Quality = soxr_quality_spec(SOXR_VHQ, 0);
        Resampler.reset(soxr_create(InRate, OutRate, unsigned(To), &Error, &Io, &Quality, nullptr));
        if (Error != nullptr)
            throw std::runtime_error(std::string("cannot resample: ") + Error);
    }
    std::vector<double> In(std::size_t(BlockFrames * To));
    // Room for a block's output and what the resampler held back.
    const std::int64_t OutRoom = ConvertedFrames(BlockFrames, InRate, OutRate) + 4096;
    std::vector<double> Out(std::size_t(OutRoom * To));
    std::vector<std::uint8_t> Bytes(std::size_t(OutRoom * Target.Format.nBlockAlign));
    std::int64_t Written = 0;
    const auto Emit = [&](const double *Samples, std::int64_t Frames) {
        Frames = std::min(Frames, OutFrames - Written);
        if (Frames <= 0)
            return;
        const int Width = Target.Format.wBitsPerSample / 8;
        for (std::int64_t I = 0; I < Frames * To; ++I)
            Store(Samples[I], Target.Format.wBitsPerSample, Bytes.data() + I * Width);
        Sink(Bytes.data(), Frames * Target.Format.nBlockAlign);
        Written += Frames;
    };
    const auto Resample = [&](const double *Samples, std::int64_t Frames) {
        if (!Resampler) {
            Emit(Samples, Frames);
            return;
        }
        std::size_t Done = 0;
        const soxr_error_t Error = soxr_process(Resampler.get(), Samples, std::size_t(Frames), nullptr, Out.data(),
                                                std::size_t(OutRoom), &Done);
        if (Error != nullptr)
            throw std::runtime_error(std::string("cannot resample: ") + Error);
        Emit(Out.data(), std::int64_t(Done));
    };
    for (std::int64_t First = Area.StartPos; First < Area.EndPos; First += BlockFrames) {
        const std::int64_t Frames = std::min(BlockFrames, Area.EndPos - First);
        NeedFrames(Source, First, First + Frames);
        // A sample that is not finite as silence, which the resampler would
        // otherwise spread over the whole piece.
        WithCodec(Encoding, [&](auto Codec) {
            using TCodec = decltype(Codec);
            const auto SampleFraction = [](const std::uint8_t *At) { return FiniteFraction<TCodec>(At, 0.0); };
            for (std::int64_t J = 0; J < Frames; ++J) {
                const std::uint8_t *Frame = Source.Data + (First + J) * FrameBytes;
                if (To == 1 && From > 1) {
                    double Sum = 0;
                    for (int Ch = 0; Ch < From; ++Ch)
                        Sum += SampleFraction(Frame + Ch * TCodec::Bytes);
                    In[std::size_t(J)] = Sum / From;
                } else {
                    for (int Ch = 0; Ch < To; ++Ch)
                        In[std::size_t(J * To + Ch)] =
                            SampleFraction(Frame + (From == 1 ? 0 : Ch) * TCodec::Bytes);
                }
            }
        });
        Resample(In.data(), Frames);
    }
    // The resampler's tail, until it has given all it holds.
    while (Resampler && Written < OutFrames) {
        std::size_t Done = 0;
        if (soxr_process(Resampler.get(), nullptr, 0, nullptr, Out.data(), std::size_t(OutRoom), &Done) != nullptr
            || Done == 0)
            break;
        Emit(Out.data(), std::int64_t(Done));
    }
    // A piece always holds the frames its header states.
    std::fill(Out.begin(), Out.end(), 0.0);
    while (Written < OutFrames)
        Emit(Out.data(), std::min(OutRoom, OutFrames - Written));
}
