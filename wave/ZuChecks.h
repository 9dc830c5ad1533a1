#pragma once
// The wave library's refusals that code reading or writing the same samples
// without a component must also make: each message lives here once, raised
// by the library's own setters and sample access and by such code alike.
#include <cstdint>

namespace ZuChecks {

// SetFreq's: a rate of 0 or less.
void Frequency(std::int64_t Freq);
// ChangeChannels' and ChangeBits': what a wave can be made into.
void Channels(std::int64_t Channels);
void Bits(std::int64_t Bits);
// SetWaveSize's: a length of no frames; or a length known to be refused.
void WaveSize(std::int64_t Frames);
[[noreturn]] void InvalidWaveSize();
// The sample access's, as GetPosValue raises them.
[[noreturn]] void BadReadType();
[[noreturn]] void ReadOutOfRange();
[[noreturn]] void UnsupportedRead();

} // namespace ZuChecks
