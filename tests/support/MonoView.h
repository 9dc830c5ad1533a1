#pragma once
// 16-bit mono samples held by a test, seen as a recording, and samples
// made of runs of levels.
#include "engine/SampleView.h"
#include "engine/TrimArea.h"

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <vector>

// Pieces compared and printed whole in the tests' expectations.
inline bool operator==(const TTrimArea &A, const TTrimArea &B)
{
    return A.StartPos == B.StartPos && A.EndPos == B.EndPos;
}

inline void PrintTo(const TTrimArea &Area, std::ostream *Out)
{
    *Out << "{" << Area.StartPos << ", " << Area.EndPos << "}";
}

inline TSampleView MonoView16(const std::vector<std::int16_t> &Samples, std::uint32_t Rate)
{
    TSampleView View;
    View.Format = {1, 1, Rate, Rate * 2, 2, 16, 0};
    View.Data = reinterpret_cast<const std::uint8_t *>(Samples.data());
    View.DataSize = std::int64_t(Samples.size() * 2);
    return View;
}

// Count positions of one level.
struct TLevelRun {
    std::int32_t Count;
    std::int32_t Level;
};

// 16-bit samples of the given levels. The sign alternates from position to
// position, so that only the magnitude can make a level; 32768 is -32768.
inline std::vector<std::int16_t> Levels16(std::initializer_list<TLevelRun> Runs)
{
    std::vector<std::int16_t> Samples;
    for (const TLevelRun &Run : Runs)
        for (std::int32_t I = 0; I < Run.Count; ++I) {
            const bool Negative = Run.Level > 32767 || Samples.size() % 2 == 1;
            Samples.push_back(static_cast<std::int16_t>(Negative ? -Run.Level : Run.Level));
        }
    return Samples;
}
