#pragma once
// The detection state machine, written once over any way of reading the
// level of a position, so that the per-sample reference and the direct path
// over the sample bytes cannot drift apart.
#include "Unit1.h"

#include <cstdint>
#include <vector>

// The detection bars' positions, read once when a scan starts (the bars
// cannot move while it runs).
struct TTrimSettings {
    std::int32_t NoSoundLevel;   // SBN: a level at most this is silent
    std::int32_t NoSoundWidth;   // SBNW: silent run that closes an area
    std::int32_t MinimumSize;    // SBML: a kept area is longer than this
    std::int32_t CutStartLevel;  // SBCSL: a level at least this opens an area
    std::int32_t BackwardSearch; // SBMZSS: width of the start's zero search
    std::int32_t ForwardSearch;  // SBMZSE: width of the end's zero search
};

// The quietest of the positions First..First+Width, earliest first among
// equals; Current when none is below 10000. The search gives up at the first
// position that is 0 or less, or N or more, so position 0 is never chosen.
template <class TLevelOf>
std::int32_t ZeroSearch(TLevelOf &LevelOf, std::int32_t N, std::int32_t First, std::int32_t Width,
                        std::int32_t Current)
{
    std::int32_t BestLevel = 10000;
    std::int32_t BestPos = Current;
    for (std::int64_t K = First; K <= std::int64_t(First) + Width; ++K) {
        if (K >= N || K <= 0)
            break;
        const std::int32_t Level = LevelOf(static_cast<std::int32_t>(K));
        if (Level < BestLevel) {
            BestLevel = Level;
            BestPos = static_cast<std::int32_t>(K);
        }
    }
    return BestPos;
}

// One pass over positions 0..N-1. Count is updated as each area is kept, so
// an error thrown by LevelOf leaves the areas closed before it in the list.
// Areas[Count] is the work slot of the area being built; the array grows to
// Count + 10 at every opening and never shrinks within the scan.
template <class TLevelOf>
void ScanTrimAreas(TLevelOf &&LevelOf, std::int32_t N, const TTrimSettings &Settings,
                   std::vector<TTrimArea> &Areas, std::int32_t &Count)
{
    Count = 0;
    bool Open = false;
    std::int32_t Silence = 0;
    for (std::int32_t J = 0; J < N; ++J) {
        const std::int32_t Level = LevelOf(J);
        Silence = Level <= Settings.NoSoundLevel ? Silence + 1 : 0;
        if (!Open && Level >= Settings.CutStartLevel) [[unlikely]] {
            const std::int32_t Start =
                ZeroSearch(LevelOf, N, J - Settings.BackwardSearch, Settings.BackwardSearch, J);
            Areas.resize(static_cast<std::size_t>(Count) + 10);
            Areas[Count].StartPos = Start;
            Open = true;
        }
        if (Open && Silence >= Settings.NoSoundWidth) [[unlikely]] {
            TTrimArea &Area = Areas[Count];
            Area.EndPos = ZeroSearch(LevelOf, N, J - Silence, Settings.ForwardSearch, J);
            Open = false;
            if (Area.EndPos - Area.StartPos > Settings.MinimumSize)
                ++Count;
        }
    }
    // A recording that ends inside a piece keeps that piece: it ends with
    // the recording instead of being lost.
    if (Open) {
        TTrimArea &Area = Areas[Count];
        Area.EndPos = N;
        if (Area.EndPos - Area.StartPos > Settings.MinimumSize)
            ++Count;
    }
}
