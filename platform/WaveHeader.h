#pragma once
// The one writer of a WAV file's bytes before its samples: the RIFF (or
// RF64) header, a "ds64" chunk for RF64, the "fmt " chunk, a "fact" chunk
// where asked, and the "data" chunk's header. The wave library's saved
// files and the pieces the engine writes from a recording both start with
// it; the samples follow, then a zero pad byte after an odd number of them.
#include <cstdint>
#include <vector>

struct TWaveHeaderParts {
    const std::uint8_t *Fmt = nullptr; // the fmt chunk's body, written as it is
    std::uint32_t FmtBytes = 0;
    std::uint64_t DataBytes = 0;
    std::uint64_t Frames = 0; // counted in the ds64 and fact chunks
    bool Fact = false;
    // RF64: the RIFF and data sizes read 0xFFFFFFFF and the ds64 chunk
    // holds them in 64 bits.
    bool Rf64 = false;
};

// What the RIFF size of a plain RIFF file of these parts counts: everything
// after its own field, the pad byte included.
std::uint64_t RiffBytesOf(const TWaveHeaderParts &Parts);

std::vector<std::uint8_t> WaveHeader(const TWaveHeaderParts &Parts);
