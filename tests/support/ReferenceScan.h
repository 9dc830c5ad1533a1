#pragma once
// Detection as defined, one level read per position in order: the
// reference that the skipping scan of the engine must agree with.
#include "engine/TrimScan.h"

// One pass over positions 0..N-1. Count is updated as each area is kept, so
// an error thrown by LevelOf leaves the areas closed before it in the list.
// Areas[Count] is the work slot of the area being built; the array grows to
// Count + 10 at every opening and never shrinks within the scan.
template <class TLevel, class TLevelOf>
void ScanTrimAreas(TLevelOf &&LevelOf, std::int64_t N, const TScanLimits<TLevel> &Limits,
                   std::vector<TTrimArea> &Areas, std::int32_t &Count)
{
    Count = 0;
    bool Open = false;
    std::int64_t Silence = 0;
    for (std::int64_t J = 0; J < N; ++J) {
        const TLevel Level = LevelOf(J);
        Silence = Level <= Limits.NoSoundLevel ? Silence + 1 : 0;
        if (!Open && Level >= Limits.CutStartLevel) [[unlikely]] {
            const std::int64_t Start =
                ZeroSearch(LevelOf, N, J - Limits.BackwardSearch, Limits.BackwardSearch, J, Limits.ZeroLevel);
            Areas.resize(static_cast<std::size_t>(Count) + 10);
            Areas[Count].StartPos = Start;
            Open = true;
        }
        if (Open && Silence >= Limits.NoSoundWidth) [[unlikely]] {
            TTrimArea &Area = Areas[Count];
            Area.EndPos = ZeroSearch(LevelOf, N, J - Silence, Limits.ForwardSearch, J, Limits.ZeroLevel);
            Open = false;
            if (Area.EndPos - Area.StartPos > Limits.MinimumSize)
                ++Count;
        }
    }
    // A recording that ends inside a piece keeps that piece: it ends with
    // the recording instead of being lost.
    if (Open) {
        TTrimArea &Area = Areas[Count];
        Area.EndPos = N;
        if (Area.EndPos - Area.StartPos > Limits.MinimumSize)
            ++Count;
    }
}

// In the panel's own 16-bit levels.
template <class TLevelOf>
void ScanTrimAreas(TLevelOf &&LevelOf, std::int64_t N, const TTrimSettings &Settings, std::vector<TTrimArea> &Areas,
                   std::int32_t &Count)
{
    ScanTrimAreas(LevelOf, N, ScanLimitsOf(Settings), Areas, Count);
}

