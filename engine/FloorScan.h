#pragma once
// Detection over a floor that moves (FloorTrack.h): each position's level,
// read over Settings.LevelWindow positions (at least one) as WindowLevels.h
// reads it, is raised by as much as the floor of its stretch lies below
// the track's highest before it meets the settings' levels.
#include "engine/DetectionProgress.h"
#include "engine/FloorTrack.h"
#include "engine/SampleView.h"
#include "engine/TrimArea.h"

#include <cstdint>
#include <vector>

// As ScanWindowedLevels, along Track (which moves). N is the recording's
// frame count (> 0).
void ScanAlongFloor(const TSampleView &Recording, std::int64_t N, const TTrimSettings &Settings,
                    const TFloorTrack &Track, std::vector<TTrimArea> &Areas, std::int32_t &Count,
                    const TDetectionProgress &Progress);
