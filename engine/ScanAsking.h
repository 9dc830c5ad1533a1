#pragma once
// The detection scan as every reader of a recording runs it: a recording
// whose samples are made as they are asked for (a FLAC decoded a stretch at
// a time) is asked first for all that a read may touch, and the progress is
// counted at every read, so that also the long edge searches of wide
// settings are seen.
#include "engine/DetectionProgress.h"
#include "engine/SampleView.h"
#include "engine/TrimScan.h"

#include <cstdint>
#include <vector>

template <class TLevelOf, class TLoudestOf, class TLimits>
void ScanCounting(const TLevelOf &LevelOf, const TLoudestOf &LoudestOf, std::int64_t N, const TLimits &Limits,
                  std::vector<TTrimArea> &Areas, std::int32_t &Count, const TDetectionProgress &Progress)
{
    if (!Progress) {
        ScanTrimAreasSkipping(LevelOf, LoudestOf, N, Limits, Areas, Count);
        return;
    }
    TDetectionTicks Ticks(Progress, N);
    ScanTrimAreasSkipping([&](std::int64_t J) { Ticks.Tick(J); return LevelOf(J); },
                          [&](std::int64_t First) { Ticks.Tick(First); return LoudestOf(First); }, N, Limits, Areas,
                          Count);
}

// Reach: how many frames on either side of a position its level reads.
template <class TLevelOf, class TLoudestOf, class TLimits>
void ScanAsking(const TSampleView &Recording, std::int64_t Reach, const TLevelOf &LevelOf, const TLoudestOf &LoudestOf,
                std::int64_t N, const TLimits &Limits, std::vector<TTrimArea> &Areas, std::int32_t &Count,
                const TDetectionProgress &Progress)
{
    if (!Recording.Source) {
        ScanCounting(LevelOf, LoudestOf, N, Limits, Areas, Count, Progress);
        return;
    }
    const TSampleSource &Source = *Recording.Source;
    ScanCounting(
        [&](std::int64_t J) {
            Source.Need(J - Reach, J + Reach + 1);
            return LevelOf(J);
        },
        [&](std::int64_t First) {
            Source.Need(First - Reach, First + TrimScanBlock + Reach);
            return LoudestOf(First);
        },
        N, Limits, Areas, Count, Progress);
}
