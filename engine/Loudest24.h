#pragma once
// The loudest 24-bit sample of a run, as its magnitude (0 .. 2^23). Three-
// byte samples defeat the vectoriser, so the block loop is written out for
// the vector units the processor has, chosen once at run time.
#include <cstdint>

std::int64_t Loudest24(const std::uint8_t *Samples, std::int64_t Count);
