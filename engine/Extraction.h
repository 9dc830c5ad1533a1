#pragma once
// Copying one trim area of a recording into a scratch wave, sample for
// sample, in the recording's format.
#include "engine/TrimArea.h"
#include "wave/ZuWAVE.h"

#include <cstdint>

// Sets Target's rate, channels and bits from Source in that order, sizes it
// to the area and copies the area's frames.
void ExtractTrimArea(TZuWave &Source, const TTrimArea &Area, TZuWave &Target);

// Copies Length frames of Source from StartPos into Target (already of
// Source's format and Length frames long), through the sample access.
void CopyFramesPerSample(TZuWave &Source, TZuWave &Target, std::int32_t StartPos, std::int32_t Length);
// The same with one block move; false, with nothing changed, when the
// layouts or the range are not ones for which that is the same copy.
bool CopyFramesDirect(TZuWave &Source, TZuWave &Target, std::int32_t StartPos, std::int32_t Length);
