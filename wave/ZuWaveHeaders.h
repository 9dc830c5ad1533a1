#pragma once
// The chunk walk of a RIFF/WAVE image on its own: where the samples are and
// what format they are in, without touching them. The loader's rules and
// messages, for readers that keep the image where it is (a mapped file).
#include "ZuInternalWave.h"

#include <cstdint>

struct TWaveDataChunk {
    std::int64_t Offset = 0; // image offset of the data chunk's body
    std::int32_t Size = 0;   // its declared size in bytes, all inside the image
};

// Walks Image (Length bytes, owned by the caller): the first "RIFF"/"WAVE"
// form, its "fmt " chunk, then its "data" chunk after it. The fmt body's
// first bytes (up to 18) are copied over Format, so a short chunk keeps the
// rest of what Format held, and an extensible header of plain 8/16-bit PCM
// is folded to PCM; Format changes as soon as the fmt chunk is read, also
// when the data chunk then fails. Raises the loader's errors with its
// messages; a null Image is a file that could not be opened.
TWaveDataChunk WalkWaveHeaders(const std::uint8_t *Image, std::int64_t Length, TWaveFormatEx &Format);
