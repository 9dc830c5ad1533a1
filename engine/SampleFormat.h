#pragma once
// What one stored sample is, derived from a view's format record: the
// encodings the engine reads, their sizes, and the frame arithmetic in 64
// bits (a long recording has more than 2^31 frames).
#include "engine/SampleView.h"

#include <cstdint>

enum class TSampleEncoding : std::uint8_t { None, UInt8, Int16, Int24, Int32, Float32, Float64 };

constexpr std::uint16_t WaveFormatFloat = 3;
constexpr std::uint16_t WaveFormatExtensible = 0xFFFE;
constexpr int MaxChannels = 8;

// Bytes 2 to 15 of an extensible header's subformat GUID when it stands for
// a plain format tag (which takes bytes 0 and 1).
constexpr std::uint8_t SubformatGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// None for a tag, size or channel count the engine does not read.
TSampleEncoding EncodingOf(const TWaveFormatEx &Format);

constexpr int BytesPerSample(TSampleEncoding Encoding)
{
    switch (Encoding) {
    case TSampleEncoding::UInt8: return 1;
    case TSampleEncoding::Int16: return 2;
    case TSampleEncoding::Int24: return 3;
    case TSampleEncoding::Int32:
    case TSampleEncoding::Float32: return 4;
    case TSampleEncoding::Float64: return 8;
    case TSampleEncoding::None: break;
    }
    return 0;
}

constexpr bool IsFloat(TSampleEncoding Encoding)
{
    return Encoding == TSampleEncoding::Float32 || Encoding == TSampleEncoding::Float64;
}

// A PCM layout nothing reads (12-bit, 4-bit, more channels than read) with
// at least one frame raises what the wave library's sample access raises
// at its first sample, so a command on it ends as it always did.
void RefuseUnreadLayout(const TSampleView &Recording);

// Bytes of one frame; 0 when the format is not one the engine reads.
std::int64_t FrameBytesOf(const TSampleView &View);
// Whole frames in the data block; 0 when the format is not read.
std::int64_t FrameCountOf(const TSampleView &View);
