#include "python/ArrayDetection.h"

#include "engine/SampleFormat.h"
#include "engine/SuggestSettings.h"
#include "engine/TrimPad.h"
#include "engine/TrimDetection.h"
#include "engine/TrimScan.h"

#include <algorithm>
#include <cstdlib>

namespace {

// No recording stores signed 8-bit samples, so the engine has no reader
// for them; this one gives the levels its unsigned reader gives.
struct TInt8Codec {
    static std::int32_t Magnitude(const std::int8_t *At) { return std::abs(std::int32_t(*At)) * 256; }
    static std::int32_t Loudest(const std::int8_t *At, std::int64_t Count)
    {
        std::int8_t Low = 0, High = 0;
        for (std::int64_t I = 0; I < Count; ++I) {
            Low = std::min(Low, At[I]);
            High = std::max(High, At[I]);
        }
        return std::max(-std::int32_t(Low), std::int32_t(High)) * 256;
    }
};

std::vector<TTrimArea> DetectInt8(const TArraySamples &Samples, const TTrimSettings &Settings)
{
    const auto *Data = static_cast<const std::int8_t *>(Samples.Data);
    const int Channels = Samples.Channels;
    const auto LevelOf = [=](std::int64_t J) {
        const std::int8_t *Frame = Data + J * Channels;
        std::int32_t Level = TInt8Codec::Magnitude(Frame);
        for (int Ch = 1; Ch < Channels; ++Ch)
            Level = std::max(Level, TInt8Codec::Magnitude(Frame + Ch));
        return Level;
    };
    const auto LoudestOf = [=](std::int64_t First) {
        return TInt8Codec::Loudest(Data + First * Channels, TrimScanBlock * Channels);
    };
    std::vector<TTrimArea> Areas;
    std::int32_t Count = 0;
    if (Samples.Frames > 0)
        ScanTrimAreasSkipping(LevelOf, LoudestOf, Samples.Frames, ScanLimitsOf(Settings), Areas, Count);
    PadTrimAreas(Areas, Count, Settings.Pad, Samples.Frames);
    Areas.resize(static_cast<std::size_t>(Count));
    return Areas;
}

} // namespace

bool IsReadable(const TArraySamples &Samples)
{
    if (Samples.Channels < 1 || Samples.Channels > MaxChannels)
        return false;
    switch (Samples.Kind) {
    case 'i': return Samples.Bytes == 1 || Samples.Bytes == 2 || Samples.Bytes == 4;
    case 'u': return Samples.Bytes == 1;
    case 'f': return Samples.Bytes == 4 || Samples.Bytes == 8;
    default: return false;
    }
}

TArrayPieces DetectInArray(const TArraySamples &Samples, const TSplitOptions &Options)
{
    const bool Signed8 = Samples.Kind == 'i' && Samples.Bytes == 1;
    TArrayPieces Pieces;
    TSettingsAtRate At = TrimSettingsAt(Options, Samples.Rate);
    // The levels a window or a maximum size reads come from the engine's
    // reader alone, which needs the samples in a recording's own coding.
    if (At.Settings && Signed8 && !Options.Auto && At.Settings->LevelWindow == 0 && At.Settings->MaximumSize == 0) {
        Pieces.Areas = DetectInt8(Samples, *At.Settings);
        return Pieces;
    }
    std::vector<std::uint8_t> Shifted;
    if (Signed8) {
        const auto *Data = static_cast<const std::uint8_t *>(Samples.Data);
        Shifted.assign(Data, Data + Samples.Frames * Samples.Channels);
        for (std::uint8_t &Byte : Shifted)
            Byte ^= 0x80;
    }
    TSampleView View;
    View.Format.wFormatTag = Samples.Kind == 'f' ? WaveFormatFloat : WAVE_FORMAT_PCM;
    View.Format.nChannels = std::uint16_t(Samples.Channels);
    View.Format.nSamplesPerSec = Samples.Rate;
    View.Format.wBitsPerSample = std::uint16_t(8 * Samples.Bytes);
    View.Format.nBlockAlign = std::uint16_t(Samples.Bytes * Samples.Channels);
    View.Format.nAvgBytesPerSec = Samples.Rate * View.Format.nBlockAlign;
    View.Data = Signed8 ? Shifted.data() : static_cast<const std::uint8_t *>(Samples.Data);
    View.DataSize = Samples.Frames * View.Format.nBlockAlign;
    if (Options.Auto) {
        const TSuggestedSettings Suggested = SuggestTrimSettings(View);
        At = TrimSettingsAt(Options, Samples.Rate, &Suggested.Settings);
    }
    if (!At.Settings) {
        Pieces.Error = At.Error;
        return Pieces;
    }
    Pieces.Areas = DetectTrimAreas(View, *At.Settings);
    return Pieces;
}
