#include "engine/Loudest24.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>

namespace {

std::int64_t MagnitudeOf(std::int32_t Low, std::int32_t High)
{
    return std::max(-std::int64_t(Low), std::int64_t(High)) / 256;
}

std::int64_t LoudestPlain(const std::uint8_t *Samples, std::int64_t Count)
{
    std::int32_t Low = 0, High = 0;
    for (std::int64_t I = 0; I < Count; ++I) {
        const std::int32_t Value = Word24(Samples + 3 * I);
        Low = std::min(Low, Value);
        High = std::max(High, Value);
    }
    return MagnitudeOf(Low, High);
}

// Eight samples a step: the 24 bytes are loaded as two 16-byte halves, one
// per lane, and each lane's shuffle spreads its four samples into words.
__attribute__((target("avx2"))) std::int64_t LoudestWide(const std::uint8_t *Samples, std::int64_t Count)
{
    const __m256i Spread = _mm256_setr_epi8(-1, 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, //
                                            -1, 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11);
    __m256i Low = _mm256_setzero_si256(), High = _mm256_setzero_si256();
    std::int64_t I = 0;
    // The second half's load reaches four bytes past its samples.
    for (; I + 10 <= Count; I += 8) {
        const std::uint8_t *At = Samples + 3 * I;
        const __m256i Bytes = _mm256_loadu2_m128i(reinterpret_cast<const __m128i *>(At + 12),
                                                  reinterpret_cast<const __m128i *>(At));
        const __m256i Words = _mm256_shuffle_epi8(Bytes, Spread);
        Low = _mm256_min_epi32(Low, Words);
        High = _mm256_max_epi32(High, Words);
    }
    alignas(32) std::int32_t Lows[8], Highs[8];
    _mm256_store_si256(reinterpret_cast<__m256i *>(Lows), Low);
    _mm256_store_si256(reinterpret_cast<__m256i *>(Highs), High);
    std::int32_t L = *std::min_element(Lows, Lows + 8), H = *std::max_element(Highs, Highs + 8);
    for (; I < Count; ++I) {
        const std::int32_t Value = Word24(Samples + 3 * I);
        L = std::min(L, Value);
        H = std::max(H, Value);
    }
    return MagnitudeOf(L, H);
}

using TLoudest = std::int64_t (*)(const std::uint8_t *, std::int64_t);

TLoudest Chosen()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? LoudestWide : LoudestPlain;
}

} // namespace

std::int64_t Loudest24(const std::uint8_t *Samples, std::int64_t Count)
{
    static const TLoudest Loudest = Chosen();
    return Loudest(Samples, Count);
}
