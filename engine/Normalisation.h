#pragma once
// Peak normalisation: every sample scaled by one factor so that the largest
// magnitude becomes the format's full scale (32767 at 16 bits, 2^(N-1)-1 for
// N-bit integers, 1.0 for floats), rounded to nearest, ties to even. A
// float that is not finite has no magnitude to measure: the peak is the
// largest finite one's, and such a sample is left as it is.
#include "engine/SampleView.h"
#include "wave/ZuWAVE.h"

enum class TNormaliseResult {
    TooShort, // fewer than 10 positions: left alone
    Silent,   // peak 0: no factor, left alone
    Scaled,
};

TNormaliseResult NormaliseRecording(TZuWave &Recording);

// The same over the samples of View's format held at Data (View.Data's
// bytes, writable), in place.
TNormaliseResult NormaliseSamples(std::uint8_t *Data, const TSampleView &View);
