#pragma once
// The loudest level, at 16-bit scale, among a run of stored samples of a
// data block, whatever channels they belong to. Found from the lowest and
// highest stored value, a loop the compiler runs many samples at a time;
// detection skips silence with it and normalisation finds its peak with it.
#include "wave/ZuWAVE.h"

#include <algorithm>
#include <cstdint>

inline std::int32_t Loudest8(const std::uint8_t *Samples, std::int64_t Count)
{
    std::uint8_t Low = 128, High = 128;
    for (std::int64_t I = 0; I < Count; ++I) {
        Low = std::min(Low, Samples[I]);
        High = std::max(High, Samples[I]);
    }
    return std::max((128 - std::int32_t(Low)) * 256, (std::int32_t(High) - 128) * 256);
}

inline std::int32_t Loudest16(const std::uint8_t *Samples, std::int64_t Count)
{
    std::int16_t Low = 0, High = 0;
    for (std::int64_t I = 0; I < Count; ++I) {
        const std::int16_t Value = LoadSample16(Samples, 2 * I);
        Low = std::min(Low, Value);
        High = std::max(High, Value);
    }
    return std::max(-std::int32_t(Low), std::int32_t(High));
}
