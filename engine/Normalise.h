#pragma once
// The two passes of peak normalisation, each in a per-sample reference form
// and a direct form over ZU's sample bytes that gives the same samples.
#include <cstdint>

class TZuWave;

// v / Peak × 32767 in extended precision, rounded to nearest, ties to even.
std::int32_t NormalisedSample(std::int32_t Value, std::int32_t Peak);

// The largest magnitude at 16-bit scale of any sample of any channel.
std::int32_t PeakPerSample(TZuWave &Wave);
// False when the layout is not one read directly; Peak is then untouched.
bool PeakDirect(TZuWave &Wave, std::int32_t &Peak);

// Rewrites every sample through SetPosValue16 with NormalisedSample.
void ScalePerSample(TZuWave &Wave, std::int32_t Peak);
// Table scaling of Samples stored 8 or 16-bit samples in place.
void ScaleBlock(std::uint8_t *Data, std::int64_t Samples, int Bits, std::int32_t Peak);
// The same by table over the bytes; false, with nothing changed, when the
// layout is not one handled directly.
bool ScaleDirect(TZuWave &Wave, std::int32_t Peak);
