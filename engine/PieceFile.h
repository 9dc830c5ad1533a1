#pragma once
// The bytes of a saved WAV file around its samples, as the wave library's
// SaveToFile lays them out, so a piece can be written straight from the
// recording's block without building the file in memory first.
#include "wave/ZuWAVE.h"

#include "engine/SampleView.h"

#include <cstdint>
#include <vector>

// The format record a piece of a recording of this format is saved with:
// the one a wave gets when its rate, channels and bits are set to the
// recording's, in that order. Raises what those settings raise.
TWaveFormatEx PieceFormat(const TWaveFormatEx &Recording);

// The header of a piece of Recording's format holding DataBytes sample
// bytes, ending with the data chunk's header: for 8/16-bit mono or stereo
// integer PCM exactly what the wave library saves (the RIFF header, the
// 18-byte record of PieceFormat(...) as the "fmt " chunk); for more bits or
// channels an extensible fmt chunk (valid bits and channel mask kept); a
// fact chunk for floats; an RF64 file when the sizes pass 32 bits. Raises
// what PieceFormat raises for a format of 8 or 16 bits.
std::vector<std::uint8_t> PieceHeader(const TSampleView &Recording, std::uint64_t DataBytes);
