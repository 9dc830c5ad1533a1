#include "engine/FloorScan.h"

#include "engine/ScanAsking.h"
#include "engine/WindowLevels.h"

#include <algorithm>
#include <cmath>

namespace {

template <class TCodec>
void ScanAlong(const TSampleView &Recording, std::int64_t N, const TTrimSettings &Settings, const TFloorTrack &Track,
               std::vector<TTrimArea> &Areas, std::int32_t &Count, const TDetectionProgress &Progress)
{
    using TWindowed = TWindowLevels<TCodec>;
    TWindowed Levels(Recording.Data, Recording.Format.nChannels, N, std::max(Settings.LevelWindow, 1));
    // Mean squares, so that a stretch's raise is one product. The levels
    // only ever meet the settings', which these raises do not make exact
    // anyway.
    const auto Square = [](const typename TWindowed::TLevel &Level) {
        return static_cast<double>(Level.Sum) / static_cast<double>(Level.Count);
    };
    std::vector<double> Raise(Track.BelowDb.size());
    for (std::size_t S = 0; S < Raise.size(); ++S)
        Raise[S] = std::pow(10.0, -Track.BelowDb[S] / 10);
    const std::int64_t Stretch = std::max<std::int64_t>(Track.StretchFrames, 1);
    const std::int64_t Last = std::int64_t(Raise.size()) - 1;
    const auto StretchOf = [=](std::int64_t J) { return std::size_t(std::min(J / Stretch, Last)); };
    const auto LevelOf = [&](std::int64_t J) { return Square(Levels(J)) * Raise[StretchOf(J)]; };
    // A block within one stretch is raised as a whole; one that crosses
    // into the next is read position by position.
    const auto LoudestOf = [&](std::int64_t First) {
        const std::size_t Where = StretchOf(First);
        if (Where == StretchOf(First + TrimScanBlock - 1))
            return Square(Levels.Loudest(First)) * Raise[Where];
        double Top = LevelOf(First);
        for (std::int64_t J = First + 1; J < First + TrimScanBlock; ++J)
            Top = std::max(Top, LevelOf(J));
        return Top;
    };
    const auto Limits = ScanLimitsOf(Settings, [&](std::int64_t Level) { return Square(TWindowed::FromPanel(Level)); });
    ScanAsking(Recording, Levels.Reach(), LevelOf, LoudestOf, N, Limits, Areas, Count, Progress);
}

} // namespace

void ScanAlongFloor(const TSampleView &Recording, std::int64_t N, const TTrimSettings &Settings,
                    const TFloorTrack &Track, std::vector<TTrimArea> &Areas, std::int32_t &Count,
                    const TDetectionProgress &Progress)
{
    WithCodec(EncodingOf(Recording.Format), [&](auto Codec) {
        ScanAlong<decltype(Codec)>(Recording, N, Settings, Track, Areas, Count, Progress);
    });
}
