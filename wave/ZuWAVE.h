#pragma once
// The wave-audio library: PCM buffer, WAV files, 8/16-bit and mono/stereo
// conversion, playback, and the TZuWave component.
#include "ZuErrors.h"
#include "ZuInternalWave.h"
#include "ZuWaveComponent.h"
