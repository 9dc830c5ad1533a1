// Detection straight over the sample bytes, skipping silence a block at a
// time; the tests check it against the per-position definition.
#include "engine/TrimDetection.h"

#include "engine/FloorScan.h"
#include "engine/LevelBand.h"
#include "engine/SampleLevels.h"
#include "engine/ScanAsking.h"
#include "engine/TrimJoin.h"
#include "engine/TrimMaximum.h"
#include "engine/TrimPad.h"
#include "engine/TrimScan.h"
#include "engine/WindowLevels.h"

namespace {

// Sound on any channel counts: a frame's level is its loudest channel's.
template <class TCodec, int FixedChannels>
void ScanFrames(const TSampleView &Recording, std::int64_t N, const TTrimSettings &Settings,
                std::vector<TTrimArea> &Areas, std::int32_t &Count, const TDetectionProgress &Progress)
{
    const std::uint8_t *Data = Recording.Data;
    const int Channels = FixedChannels > 0 ? FixedChannels : Recording.Format.nChannels;
    const std::int64_t FrameBytes = std::int64_t(TCodec::Bytes) * Channels;
    const auto LevelOf = [=](std::int64_t J) { return FrameMagnitude<TCodec>(Data + J * FrameBytes, Channels); };
    const auto LoudestOf = [=](std::int64_t First) {
        return TCodec::Loudest(Data + First * FrameBytes, TrimScanBlock * Channels);
    };
    const auto Limits = ScanLimitsOf(Settings, TCodec::FromPanel);
    ScanAsking(Recording, 0, LevelOf, LoudestOf, N, Limits, Areas, Count, Progress);
}

} // namespace

void DetectTrimAreas(const TSampleView &Recording, const TTrimSettings &Settings, std::vector<TTrimArea> &Areas,
                     std::int32_t &Count, const TDetectionProgress &Progress)
{
    DetectTrimAreas(Recording, Settings, TFloorTrack{}, Areas, Count, Progress);
}

void DetectTrimAreas(const TSampleView &Recording, const TTrimSettings &Settings, const TFloorTrack &Floor,
                     std::vector<TTrimArea> &Areas, std::int32_t &Count, const TDetectionProgress &Progress)
{
    Count = 0;
    if (Recording.Format.wFormatTag != WAVE_FORMAT_PCM && Recording.Format.wFormatTag != WaveFormatFloat)
        return; // what the sample access counts: no frames
    const std::int64_t N = FrameCountOf(Recording);
    RefuseUnreadLayout(Recording);
    if (N == 0)
        return;
    if (Settings.Band != BandFull) {
        // The same detection on the band's levels: the areas' positions
        // are the recording's, whose samples stay as they are.
        // The filter reads the whole recording, and its copy is as long.
        NeedFrames(Recording, 0, N);
        const TBandCopy Copy = BandLimitedCopy(Recording, Settings.Band);
        TTrimSettings Full = Settings;
        Full.Band = BandFull;
        DetectTrimAreas(Copy.View, Full, Floor, Areas, Count, Progress);
        return;
    }
    // Joining short areas needs every area found; the size is judged after.
    TTrimSettings Scan = Settings;
    if (Settings.JoinShort)
        Scan.MinimumSize = 0;
    if (Floor.Moves()) {
        ScanAlongFloor(Recording, N, Scan, Floor, Areas, Count, Progress);
    } else if (Settings.LevelWindow > 0) {
        ScanWindowedLevels(Recording, N, Scan, Areas, Count, Progress);
    } else {
        WithCodec(EncodingOf(Recording.Format), [&](auto Codec) {
            using TCodec = decltype(Codec);
            switch (Recording.Format.nChannels) {
            case 1: ScanFrames<TCodec, 1>(Recording, N, Scan, Areas, Count, Progress); break;
            case 2: ScanFrames<TCodec, 2>(Recording, N, Scan, Areas, Count, Progress); break;
            default: ScanFrames<TCodec, 0>(Recording, N, Scan, Areas, Count, Progress); break;
            }
        });
    }
    if (Settings.JoinShort)
        JoinShortAreas(Areas, Count, Settings, N);
    // The pieces a maximum size cuts hold the margins too, so the cuts are
    // placed knowing where the sound lies within them.
    std::vector<TTrimArea> Sound;
    if (Settings.Pad > 0 && Settings.MaximumSize > 0)
        Sound.assign(Areas.begin(), Areas.begin() + Count);
    PadTrimAreas(Areas, Count, Settings.Pad, N);
    LimitTrimAreas(Recording, N, Settings.MaximumSize, Settings.MinimumSize, Areas, Count, Sound);
}

std::vector<TTrimArea> DetectTrimAreas(const TSampleView &Recording, const TTrimSettings &Settings,
                                       const TFloorTrack &Floor)
{
    std::vector<TTrimArea> Areas;
    std::int32_t Count = 0;
    DetectTrimAreas(Recording, Settings, Floor, Areas, Count);
    Areas.resize(static_cast<std::size_t>(Count));
    return Areas;
}
