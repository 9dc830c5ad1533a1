#include "python/ArrayDetection.h"

#include "engine/SampleFormat.h"
#include "engine/SuggestSettings.h"
#include "engine/TrimDetection.h"

#include <algorithm>

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
    // No recording stores signed 8-bit samples, so the engine's sample
    // table has no row for them: they are read as the unsigned samples 128
    // above them, a copy of a byte a sample.
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
    TFloorTrack Floor;
    if (Options.Auto) {
        const TSuggestedSettings Suggested = SuggestTrimSettings(View);
        At = TrimSettingsAt(Options, Samples.Rate, &Suggested.Settings);
        if (At.Settings)
            Floor = FloorFor(Suggested, *At.Settings);
    }
    if (!At.Settings) {
        Pieces.Error = At.Error;
        return Pieces;
    }
    Pieces.Areas = DetectTrimAreas(View, *At.Settings, Floor);
    return Pieces;
}
