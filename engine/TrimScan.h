#pragma once
// The detection state machine over any way of reading the level of a
// position, reading only the levels that can change the outcome. The tests
// hold the plain definition it must agree with, which visits every position
// in order (ReferenceScan.h).
#include "engine/TrimArea.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// The settings in the magnitude type a recording's levels are read in
// (see SampleLevels.h): the levels carried over exactly, the widths as
// they are, in 64 bits.
template <class TLevel>
struct TScanLimits {
    TLevel NoSoundLevel;
    TLevel CutStartLevel;
    TLevel ZeroLevel; // the zero search takes only levels below this
    std::int64_t NoSoundWidth;
    std::int64_t MinimumSize;
    std::int64_t BackwardSearch;
    std::int64_t ForwardSearch;
};

// The panel's own 16-bit levels, or those carried by FromPanel.
template <class TFromPanel>
auto ScanLimitsOf(const TTrimSettings &Settings, TFromPanel &&FromPanel)
    -> TScanLimits<decltype(FromPanel(std::int64_t(0)))>
{
    return {FromPanel(Settings.NoSoundLevel), FromPanel(Settings.CutStartLevel), FromPanel(10000),
            Settings.NoSoundWidth,           Settings.MinimumSize,              Settings.BackwardSearch,
            Settings.ForwardSearch};
}

inline TScanLimits<std::int32_t> ScanLimitsOf(const TTrimSettings &Settings)
{
    return ScanLimitsOf(Settings, [](std::int64_t Level) { return std::int32_t(Level); });
}

// The quietest of the positions First..First+Width, earliest first among
// equals; Current when none is below ZeroLevel. The search gives up at the
// first position that is 0 or less, or N or more, so position 0 is never
// chosen.
template <class TLevel, class TLevelOf>
std::int64_t ZeroSearch(TLevelOf &LevelOf, std::int64_t N, std::int64_t First, std::int64_t Width,
                        std::int64_t Current, TLevel ZeroLevel)
{
    TLevel BestLevel = ZeroLevel;
    std::int64_t BestPos = Current;
    for (std::int64_t K = First; K <= First + Width; ++K) {
        if (K >= N || K <= 0)
            break;
        const TLevel Level = LevelOf(K);
        if (Level < BestLevel) {
            BestLevel = Level;
            BestPos = K;
        }
    }
    return BestPos;
}

// Positions whose loudest level LoudestOf(First) gives at once: First to
// First + TrimScanBlock - 1.
constexpr std::int64_t TrimScanBlock = 64;

// The list the plain scan over every position gives (positions 0..N-1;
// Areas[Count] is the work slot of the area being built, and the array grows
// to Count + 10 at every opening), but reading levels only where they can
// change the outcome. It rests on two facts: the silence
// run at j is j minus the last non-silent position at or before j, and while
// an area is open only that last non-silent position matters. So inside a
// piece one loud level at the earliest position that could close the area
// pushes the search a whole silence width ahead. LevelOf must not throw: the
// order of reads differs from the plain scan's, so an error would leave a
// different list behind.
template <class TLevel, class TLevelOf, class TLoudestOf>
void ScanTrimAreasSkipping(TLevelOf &&LevelOf, TLoudestOf &&LoudestOf, std::int64_t N,
                           const TScanLimits<TLevel> &Limits, std::vector<TTrimArea> &Areas, std::int32_t &Count)
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
            const TLevel Loudest = LoudestOf(Opening);
            if (Loudest >= Limits.CutStartLevel)
                break;
            if (Loudest > Limits.NoSoundLevel)
                for (std::int64_t K = Opening + TrimScanBlock - 1;; --K)
                    if (LevelOf(K) > Limits.NoSoundLevel) {
                        LastLoud = K;
                        break;
                    }
            Opening += TrimScanBlock;
        }
        for (; Opening < N; ++Opening) {
            const TLevel Level = LevelOf(Opening);
            if (Level > Limits.NoSoundLevel)
                LastLoud = Opening;
            if (Level >= Limits.CutStartLevel)
                break;
        }
        if (Opening >= N)
            return;
        const std::int64_t Start =
            ZeroSearch(LevelOf, N, Opening - Limits.BackwardSearch, Limits.BackwardSearch, Opening, Limits.ZeroLevel);
        Areas.resize(static_cast<std::size_t>(Count) + 10);
        Areas[Count].StartPos = Start;

        // Open: the first position from Opening on whose silence run reaches
        // NoSoundWidth. Candidate = LastLoud + width; if a position between
        // what is known silent and the candidate is loud, the last such one
        // becomes LastLoud and the candidate moves on.
        std::int64_t KnownSilentTo = Opening; // positions in (LastLoud, KnownSilentTo] are silent
        std::int64_t Closing = 0;
        for (;;) {
            Closing = std::max<std::int64_t>(Opening, LastLoud + Limits.NoSoundWidth);
            if (Closing >= N)
                break;
            // Read backwards; a whole block that is silent is passed with
            // one test.
            std::int64_t Loud = -1;
            for (std::int64_t K = Closing; K > KnownSilentTo;) {
                const std::int64_t Block = K - TrimScanBlock + 1;
                if (Block > KnownSilentTo && !(LoudestOf(Block) > Limits.NoSoundLevel)) {
                    K = Block - 1;
                    continue;
                }
                if (LevelOf(K) > Limits.NoSoundLevel) {
                    Loud = K;
                    break;
                }
                --K;
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
            if (Area.EndPos - Area.StartPos > Limits.MinimumSize)
                ++Count;
            return;
        }
        const std::int64_t Silence = Closing - LastLoud;
        Area.EndPos = ZeroSearch(LevelOf, N, Closing - Silence, Limits.ForwardSearch, Closing, Limits.ZeroLevel);
        if (Area.EndPos - Area.StartPos > Limits.MinimumSize)
            ++Count;
        J = Closing + 1;
    }
}

template <class TLevelOf, class TLoudestOf>
void ScanTrimAreasSkipping(TLevelOf &&LevelOf, TLoudestOf &&LoudestOf, std::int64_t N, const TTrimSettings &Settings,
                           std::vector<TTrimArea> &Areas, std::int32_t &Count)
{
    ScanTrimAreasSkipping(LevelOf, LoudestOf, N, ScanLimitsOf(Settings), Areas, Count);
}
