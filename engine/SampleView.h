#pragma once
// A recording's samples as the commands read them: its format record and
// data block, owned elsewhere (a wave component, a mapped file, or a block
// decoded from a compressed file).
#include "wave/ZuWAVE.h"

#include <cstdint>

// The kind of file a recording came from, which decides the kind of file
// its pieces are written as.
enum class TContainer : std::uint8_t { Wav, Flac };

struct TSampleView {
    // wFormatTag is 1 (integer PCM) or 3 (IEEE float) for every format the
    // engine reads; an extensible header's subformat is folded into it.
    // wBitsPerSample is the container size of one sample.
    TWaveFormatEx Format{};
    const std::uint8_t *Data = nullptr;
    std::int64_t DataSize = 0; // bytes
    // When the data block is a file's bytes, that open file and the offset
    // of the block in it, so pieces can be copied file to file by the
    // kernel. -1 when the block lives only in memory.
    int FileHandle = -1;
    std::int64_t FileOffset = 0;
    // From an extensible header: the bits that carry the signal (0: all of
    // the container) and the speaker positions (0: unspecified). Pieces
    // keep them.
    std::uint16_t ValidBits = 0;
    std::uint32_t ChannelMask = 0;
    TContainer Container = TContainer::Wav;
};

// The view of a wave component's current buffer; valid until the wave's
// block is replaced.
TSampleView SampleViewOf(TZuWave &Wave);
