#pragma once
// The detection state machine over any way of reading the level of a
// position: ScanTrimAreas visits every position in order, as the command is
// defined; ScanTrimAreasSkipping finds the same areas while reading far fewer
// levels, for the direct path over the sample bytes.
#include "TrimArea.h"

#include <algorithm>
#include <cstdint>
#include <vector>

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

// Positions whose loudest level LoudestOf(First) gives at once: First to
// First + TrimScanBlock - 1.
constexpr std::int64_t TrimScanBlock = 64;

// The same list as ScanTrimAreas, work slot included, but reading levels
// only where they can change the outcome. It rests on two facts: the silence
// run at j is j minus the last non-silent position at or before j, and while
// an area is open only that last non-silent position matters. So inside a
// piece one loud level at the earliest position that could close the area
// pushes the search a whole silence width ahead. LevelOf must not throw: the
// order of reads differs from the plain scan's, so an error would leave a
// different list behind.
template <class TLevelOf, class TLoudestOf>
void ScanTrimAreasSkipping(TLevelOf &&LevelOf, TLoudestOf &&LoudestOf, std::int32_t N, const TTrimSettings &Settings,
                           std::vector<TTrimArea> &Areas, std::int32_t &Count)
{
    Count = 0;
    std::int64_t LastLoud = -1; // last position read with a level above NoSoundLevel
    std::int64_t J = 0;
    while (J < N) {
        // Closed: every position is read until one opens an area. A block
        // whose loudest level neither opens nor breaks the silence is passed
        // with one test.
        std::int64_t Opening = J;
        while (Opening + TrimScanBlock <= N) {
            const std::int32_t Loudest = LoudestOf(Opening);
            if (Loudest >= Settings.CutStartLevel)
                break;
            if (Loudest > Settings.NoSoundLevel)
                for (std::int64_t K = Opening + TrimScanBlock - 1;; --K)
                    if (LevelOf(static_cast<std::int32_t>(K)) > Settings.NoSoundLevel) {
                        LastLoud = K;
                        break;
                    }
            Opening += TrimScanBlock;
        }
        for (; Opening < N; ++Opening) {
            const std::int32_t Level = LevelOf(static_cast<std::int32_t>(Opening));
            if (Level > Settings.NoSoundLevel)
                LastLoud = Opening;
            if (Level >= Settings.CutStartLevel)
                break;
        }
        if (Opening >= N)
            return;
        const auto Open = static_cast<std::int32_t>(Opening);
        const std::int32_t Start = ZeroSearch(LevelOf, N, Open - Settings.BackwardSearch, Settings.BackwardSearch, Open);
        Areas.resize(static_cast<std::size_t>(Count) + 10);
        Areas[Count].StartPos = Start;

        // Open: the first position from Opening on whose silence run reaches
        // NoSoundWidth. Candidate = LastLoud + width; if a position between
        // what is known silent and the candidate is loud, the last such one
        // becomes LastLoud and the candidate moves on.
        std::int64_t KnownSilentTo = Opening; // positions in (LastLoud, KnownSilentTo] are silent
        std::int64_t Closing = 0;
        for (;;) {
            Closing = std::max<std::int64_t>(Opening, LastLoud + Settings.NoSoundWidth);
            if (Closing >= N)
                break;
            std::int64_t Loud = -1;
            for (std::int64_t K = Closing; K > KnownSilentTo; --K)
                if (LevelOf(static_cast<std::int32_t>(K)) > Settings.NoSoundLevel) {
                    Loud = K;
                    break;
                }
            KnownSilentTo = std::max(KnownSilentTo, Closing);
            if (Loud < 0)
                break;
            LastLoud = Loud;
        }
        TTrimArea &Area = Areas[Count];
        if (Closing >= N) {
            // Ends with the recording, as the plain scan does.
            Area.EndPos = N;
            if (Area.EndPos - Area.StartPos > Settings.MinimumSize)
                ++Count;
            return;
        }
        const auto Close = static_cast<std::int32_t>(Closing);
        const auto Silence = static_cast<std::int32_t>(Closing - LastLoud);
        Area.EndPos = ZeroSearch(LevelOf, N, Close - Silence, Settings.ForwardSearch, Close);
        if (Area.EndPos - Area.StartPos > Settings.MinimumSize)
            ++Count;
        J = Closing + 1;
    }
}
