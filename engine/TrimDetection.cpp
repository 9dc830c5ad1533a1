// Detection straight over the sample bytes, skipping silence a block at a
// time; ScanTrimAreas in TrimScan.h is the per-position definition it must
// agree with.
#include "TrimDetection.h"

#include "SampleBlocks.h"
#include "TrimScan.h"

#include <cstdlib>
#include <limits>

namespace {

std::int32_t Magnitude8(std::uint8_t Stored)
{
    return std::abs((std::int32_t(Stored) - 128) * 256);
}

std::int32_t Magnitude16(const std::uint8_t *Data, std::int64_t ByteOffset)
{
    return std::abs(std::int32_t(LoadSample16(Data, ByteOffset)));
}

// What the sample access counts: no frames for a format that is not PCM.
std::int32_t FrameCountOf(const TSampleView &Recording)
{
    const std::int32_t FrameBytes = ZuDetail::FrameBytes(Recording.Format);
    if (Recording.Format.wFormatTag != WAVE_FORMAT_PCM || FrameBytes <= 0 || Recording.Data == nullptr)
        return 0;
    const std::int64_t Frames = Recording.DataSize / FrameBytes;
    return static_cast<std::int32_t>(std::min<std::int64_t>(Frames, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

void DetectTrimAreas(const TSampleView &Recording, const TTrimSettings &Settings, std::vector<TTrimArea> &Areas,
                     std::int32_t &Count)
{
    Count = 0;
    const std::int32_t N = FrameCountOf(Recording);
    if (N == 0)
        return;
    const std::uint8_t *Data = Recording.Data;
    auto Scan = [&](auto LevelOf, auto LoudestOf) { ScanTrimAreasSkipping(LevelOf, LoudestOf, N, Settings, Areas, Count); };
    using ZuDetail::LayoutKey;
    switch (LayoutKey(Recording.Format.wBitsPerSample, Recording.Format.nChannels)) {
    case LayoutKey(8, 1):
        Scan([Data](std::int32_t J) { return Magnitude8(Data[J]); },
             [Data](std::int64_t First) { return Loudest8(Data + First, TrimScanBlock); });
        return;
    case LayoutKey(8, 2):
        Scan(
            [Data](std::int32_t J) {
                const std::int64_t At = 2 * std::int64_t(J);
                return std::max(Magnitude8(Data[At]), Magnitude8(Data[At + 1]));
            },
            [Data](std::int64_t First) { return Loudest8(Data + 2 * First, 2 * TrimScanBlock); });
        return;
    case LayoutKey(16, 1):
        Scan([Data](std::int32_t J) { return Magnitude16(Data, 2 * std::int64_t(J)); },
             [Data](std::int64_t First) { return Loudest16(Data + 2 * First, TrimScanBlock); });
        return;
    case LayoutKey(16, 2):
        Scan(
            [Data](std::int32_t J) {
                const std::int64_t At = 4 * std::int64_t(J);
                return std::max(Magnitude16(Data, At), Magnitude16(Data, At + 2));
            },
            [Data](std::int64_t First) { return Loudest16(Data + 4 * First, 2 * TrimScanBlock); });
        return;
    default:
        // The first level read, at position 0, is where the sample access
        // refuses such a layout.
        ZuDetail::Raise(ZuDetail::Unsupported, "TZuWave.GetPosValue: Unsupported PCM Format");
    }
}

std::vector<TTrimArea> DetectTrimAreas(const TSampleView &Recording, const TTrimSettings &Settings)
{
    std::vector<TTrimArea> Areas;
    std::int32_t Count = 0;
    DetectTrimAreas(Recording, Settings, Areas, Count);
    Areas.resize(static_cast<std::size_t>(Count));
    return Areas;
}
