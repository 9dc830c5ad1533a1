#pragma once
// The wave-audio library: PCM buffer, WAV files, 8/16-bit and mono/stereo
// conversion, playback, and the TZuWave component.
#include "wave/ZuErrors.h"
#include "wave/ZuFileCheck.h"
#include "wave/ZuInternalWave.h"
#include "wave/ZuWaveComponent.h"
