#pragma once
// Settings suggested from the recording itself, for cutting speech into
// sentences: its noise floor and speech level from the levels of short
// windows, the levels set between them, widths for pauses between
// sentences, a margin for soft starts and fading ends, and levels read
// over a window so that noise does not open pieces.
#include "engine/SampleView.h"
#include "engine/TrimArea.h"

// The level of a window of zeros, in dBFS; no window reads lower.
constexpr double SilentDb = -120;

struct TSuggestedSettings {
    TTrimSettings Settings; // in the panel's units at the recording's rate
    double NoiseFloorDb = 0; // dBFS, as 10 ms RMS
    double SpeechLevelDb = 0;
    // False when no window stands clearly above the floor: the recording is
    // silent or stays at one level throughout, with no quiet stretch to
    // measure a floor from, and SpeechLevelDb is the floor. The levels are
    // then set above that one level, so nothing is cut.
    bool SpeechFound = false;
};

// Reads every sample once. A recording with no frames gets the suggestion
// for silence: levels just above zero.
TSuggestedSettings SuggestTrimSettings(const TSampleView &Recording);
