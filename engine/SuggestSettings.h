#pragma once
// Settings suggested from the recording itself, for cutting speech into
// sentences: its noise floor and speech level from the levels of short
// windows, the levels set between them, widths for pauses between
// sentences, a margin for soft starts and fading ends, and levels read
// over a window so that noise does not open pieces.
#include "engine/SampleView.h"
#include "engine/TrimArea.h"

struct TSuggestedSettings {
    TTrimSettings Settings; // in the panel's units at the recording's rate
    double NoiseFloorDb = 0; // dBFS, as 10 ms RMS
    double SpeechLevelDb = 0;
};

// Reads every sample once. A recording with no frames gets the suggestion
// for silence: levels just above zero.
TSuggestedSettings SuggestTrimSettings(const TSampleView &Recording);
