#pragma once
// Automatic trim-area detection: one pass over every position of a
// recording, reading levels straight from its sample bytes.
#include "engine/DetectionProgress.h"
#include "engine/FloorTrack.h"
#include "engine/SampleView.h"
#include "engine/TrimArea.h"

#include <cstdint>
#include <vector>

// Rebuilds Areas/Count. Areas[Count] is the work slot of the area being
// built and the array grows to Count + 10 at every opening, as the window's
// list does. A layout the sample access cannot read raises the same error
// reading its first sample would. Settings.LevelWindow and Settings.Pad
// change the levels read and the kept areas' edges (WindowLevels.h,
// TrimPad.h); at 0 they change nothing. Settings.MaximumSize then cuts
// pieces that are too long (TrimMaximum.h). With Progress,
// EDetectionStopped when it says stop, Areas and Count then part-built.
void DetectTrimAreas(const TSampleView &Recording, const TTrimSettings &Settings, std::vector<TTrimArea> &Areas,
                     std::int32_t &Count, const TDetectionProgress &Progress = {});
// The same with the levels compared along a floor that moves (FloorTrack.h,
// FloorScan.h); a track that does not move changes nothing.
void DetectTrimAreas(const TSampleView &Recording, const TTrimSettings &Settings, const TFloorTrack &Floor,
                     std::vector<TTrimArea> &Areas, std::int32_t &Count, const TDetectionProgress &Progress = {});
// The kept areas only.
std::vector<TTrimArea> DetectTrimAreas(const TSampleView &Recording, const TTrimSettings &Settings,
                                       const TFloorTrack &Floor = {});
