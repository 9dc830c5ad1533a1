#pragma once
// The loudest 24-bit sample of a run, as its magnitude (0 .. 2^23). Three-
// byte samples defeat the vectoriser, so the block loop is written out for
// the vector units the processor has, chosen once at run time.
#include <cstdint>

// A stored 24-bit sample as the top three bytes of a 32-bit word: its value
// times 256, sign included, so words order as the samples' values do.
inline std::int32_t Word24(const std::uint8_t *At)
{
    const std::uint32_t Word = std::uint32_t(At[0]) << 8 | std::uint32_t(At[1]) << 16 | std::uint32_t(At[2]) << 24;
    return std::int32_t(Word);
}

std::int64_t Loudest24(const std::uint8_t *Samples, std::int64_t Count);
