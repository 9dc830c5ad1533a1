#pragma once
// A trim area of a recording the engine holds, put into the scratch wave in
// a layout the wave library plays (8 or 16 bits, mono or stereo).
#include "engine/SampleView.h"
#include "engine/TrimArea.h"

class TZuWave;

// Whether the area's playable copy fits a wave (2^31-1 bytes of samples).
bool FitsPlayable(const TSampleView &Recording, const TTrimArea &Area);

// Sets Target's rate, channels and bits and copies the area: 8 and 16-bit
// samples as stored, wider integers and floats rounded to 16 bits; the
// first two channels only. An area outside the recording raises as the
// sample access does, one that does not fit as a wave's size does.
void CopyPlayable(const TSampleView &Recording, const TTrimArea &Area, TZuWave &Target);
