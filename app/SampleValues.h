#pragma once
// One stored sample of any format the engine reads, at the 16-bit scale the
// view and the panel use, for drawing and for playing.
#include "engine/SampleFormat.h"

#include <cstdint>

// The signed level the engine's sample table gives (Level16 in
// engine/SampleLevels.h), exactly; a float that is not a number is 0.
// Encoding is EncodingOf(Recording.Format), not None; Frame and Channel lie
// inside.
double Scaled16(const TSampleView &Recording, TSampleEncoding Encoding, std::int64_t Frame, int Channel);

// What the view draws: rounded down (int24 >> 8, int32 >> 16), within
// ±32768.
std::int32_t DrawnLevel(double Scaled);

// What is played: rounded to nearest (ties to even), within -32768..32767.
std::int16_t PlayedSample(double Scaled);

