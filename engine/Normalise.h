#pragma once
// The two passes of peak normalisation, directly over ZU's sample bytes.
#include <cstdint>

class TZuWave;

// v / Peak × 32767 in extended precision, rounded to nearest, ties to even.
std::int32_t NormalisedSample(std::int32_t Value, std::int32_t Peak);

// The largest magnitude at 16-bit scale of any sample of any channel; false
// when the layout is not one read directly, Peak then untouched.
bool PeakDirect(TZuWave &Wave, std::int32_t &Peak);

// Table scaling of Samples stored 8 or 16-bit samples in place.
void ScaleBlock(std::uint8_t *Data, std::int64_t Samples, int Bits, std::int32_t Peak);
// Every sample v of the wave becomes NormalisedSample(v, Peak), by table;
// false, with nothing changed, when the layout is not one handled directly.
bool ScaleDirect(TZuWave &Wave, std::int32_t Peak);
