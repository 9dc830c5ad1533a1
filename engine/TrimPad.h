#pragma once
// A margin around each detected area, so that a soft start and a fading
// end that lie below the levels stay in the piece.
#include "engine/TrimArea.h"

#include <cstdint>
#include <vector>

// Widens Areas[0..Count-1] by Pad positions on each side, within 0..N. Where
// two neighbours are less than two margins apart, they share the gap at
// its middle; where they already overlap, neither moves toward the other.
void PadTrimAreas(std::vector<TTrimArea> &Areas, std::int32_t Count, std::int64_t Pad, std::int64_t N);
