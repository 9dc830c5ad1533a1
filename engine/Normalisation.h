#pragma once
// Peak normalisation: every sample scaled by one factor so that the largest
// magnitude becomes 32767.
#include "ZuWAVE.h"

enum class TNormaliseResult {
    TooShort, // fewer than 10 positions: left alone
    Silent,   // peak 0: no factor, left alone
    Scaled,
};

TNormaliseResult NormaliseRecording(TZuWave &Recording);
