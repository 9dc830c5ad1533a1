#pragma once
// Levels read in a band of frequencies: a hum or a rumble below the voice
// lifts every level by as much as it is loud, so the silences between
// sentences stop being silent. Reading levels above about 80 Hz (or in the
// speech band, 80 Hz to 4 kHz) sees the speech and the pauses as they are.
// The band decides only where the cuts go: the pieces keep every sample.
#include "engine/SampleView.h"

#include <cstdint>
#include <vector>

// TTrimSettings::Band's values.
constexpr std::int32_t BandFull = 0;
constexpr std::int32_t BandHighPass = 1; // above ~80 Hz
constexpr std::int32_t BandSpeech = 2;   // ~80 Hz to ~4 kHz

// The recording filtered to Band, as 32-bit float samples (full scale 1)
// with its channels and rate: a copy of four bytes a sample, which
// detection reads instead of the recording. A layout detection cannot read
// raises its error.
struct TBandCopy {
    std::vector<float> Samples;
    TSampleView View;
};
TBandCopy BandLimitedCopy(const TSampleView &Recording, std::int32_t Band);

// The 10 ms levels of Recording in Band, as WindowLevelsDb reads them from
// BandLimitedCopy's samples, read as the filter runs: no copy is made.
std::vector<double> BandLevelsDb(const TSampleView &Recording, std::int32_t Band);
