#pragma once
// Short areas kept instead of dropped: a word said alone ("Right" after
// "Front") is speech as much as a sentence is, and a piece too short to
// stand alone belongs with the sound nearest to it.
#include "engine/TrimArea.h"

#include <cstdint>
#include <vector>

// Areas[0..Count-1], in order and apart, as detection found them (before
// their margins). An area whose length with the margins PadTrimAreas would
// give it is at most MinimumSize joins its nearer neighbour when the
// silence between them is at most twice NoSoundWidth and the joined area
// is no longer than MaximumSize (when that is above 0); otherwise it stays
// as it is, to be kept with its margins. Count shrinks by the areas joined.
void JoinShortAreas(std::vector<TTrimArea> &Areas, std::int32_t &Count, const TTrimSettings &Settings,
                    std::int64_t N);
