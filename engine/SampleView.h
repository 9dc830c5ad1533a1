#pragma once
// A recording's samples as the commands read them: its format record and
// data block, owned elsewhere (a wave component, or a mapped file).
#include "ZuWAVE.h"

#include <cstdint>

struct TSampleView {
    TWaveFormatEx Format{};
    const std::uint8_t *Data = nullptr;
    std::int64_t DataSize = 0; // bytes
    // When the data block is a file's bytes, that open file and the offset
    // of the block in it, so pieces can be copied file to file by the
    // kernel. -1 when the block lives only in memory.
    int FileHandle = -1;
    std::int64_t FileOffset = 0;
};

// The view of a wave component's current buffer; valid until the wave's
// block is replaced.
TSampleView SampleViewOf(TZuWave &Wave);
