#pragma once
// The lowest and highest drawn level of stored samples, read straight from
// the recording's bytes: the loops every envelope level comes from, so the
// ones a whole recording of hours runs through.
#include "engine/SampleFormat.h"

#include <cstdint>
#include <limits>

// Levels as DrawnLevel gives them (app/SampleValues.h): -32768 .. 32768.
struct TLevelRange {
    std::int32_t Low;
    std::int32_t High;
};

// No sample at all: Low above High, so that widening it by any range gives
// that range.
inline constexpr TLevelRange EmptyLevels{std::numeric_limits<std::int32_t>::max(),
                                         std::numeric_limits<std::int32_t>::min()};

// The envelope of Channel over Frames frames of Channels samples each,
// starting at the frame First; Encoding is not None.
TLevelRange ScanChannel(TSampleEncoding Encoding, const std::uint8_t *First, std::int64_t Frames, int Channels,
                        int Channel);

// The envelope of every channel at once, into Out[0 .. Channels - 1]: one
// pass over the bytes where the encoding allows it (16-bit samples in 1,
// 2, 4 or 8 channels), a pass per channel otherwise.
void ScanFrames(TSampleEncoding Encoding, const std::uint8_t *First, std::int64_t Frames, int Channels,
                TLevelRange *Out);
