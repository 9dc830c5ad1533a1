#pragma once
// A longest piece: a kept area longer than it is cut where the recording is
// quietest, for speech datasets that want pieces of a few seconds and long
// readings that want parts of some minutes.
#include "engine/SampleView.h"
#include "engine/TrimArea.h"

#include <cstdint>
#include <vector>

// How wide the quiet moment a cut is placed in is, in milliseconds: about a
// syllable's gap, so a cut falls between sounds rather than inside one.
constexpr int QuietWindowMilliseconds = 20;

// Cuts each of Areas[0..Count-1] longer than MaximumSize positions into
// pieces of at most MaximumSize, from its start on: each cut at the position
// whose window RMS (QuietWindowMilliseconds wide, loudest channel) is lowest
// within the reach that keeps this piece and the rest longer than
// MinimumSize (the latest among equals, so pieces are as long as they may
// be, on a grid of an eighth of the window), and where the window lies
// within the area's sound when it can, else the cut does. Sound, when
// given, holds for each area the part detection found before margins
// widened it (empty: the areas themselves), so no piece is margin alone.
// Where an area is too short for that, the pieces are still at most
// MaximumSize and the first ones keep the minimum, so a short one comes
// last. The pieces of one area abut. Count grows by the
// pieces added; Areas keeps the spare slots it had after Count. A
// MaximumSize of 0 or less changes nothing. N is the recording's frame
// count; the recording's layout must be one detection reads.
void LimitTrimAreas(const TSampleView &Recording, std::int64_t N, std::int64_t MaximumSize, std::int64_t MinimumSize,
                    std::vector<TTrimArea> &Areas, std::int32_t &Count, const std::vector<TTrimArea> &Sound = {});
