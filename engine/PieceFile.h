#pragma once
// The bytes of a saved WAV file around its samples, as the wave library's
// SaveToFile lays them out, so a piece can be written straight from the
// recording's block without building the file in memory first.
#include "ZuWAVE.h"

#include <array>
#include <cstdint>

// The RIFF header, the 18-byte "fmt " chunk and the "data" chunk's header.
constexpr int WaveFileHeaderBytes = 46;
std::array<std::uint8_t, WaveFileHeaderBytes> WaveFileHeader(const TWaveFormatEx &Format, std::uint32_t DataBytes);

// The format record a piece of a recording of this format is saved with:
// the one a wave gets when its rate, channels and bits are set to the
// recording's, in that order. Raises what those settings raise.
TWaveFormatEx PieceFormat(const TWaveFormatEx &Recording);
