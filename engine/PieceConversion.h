#pragma once
// Pieces in the form a speech corpus wants (16 kHz, mono, 16-bit), made
// only on request: channels mixed to their mean or a mono recording
// doubled, the rate changed by libsoxr at its very high quality, and
// samples rounded to the bits asked for, clipped at full scale. Without a
// request a piece keeps the recording's exact samples.
#include "engine/SampleView.h"
#include "engine/TrimArea.h"

#include <cstdint>
#include <functional>
#include <string>

struct TPieceConversion {
    std::uint32_t Rate = 0; // 0: the recording's
    int Channels = 0;       // 0: the recording's; else 1, or 2 from mono
    int Bits = 0;           // 0: the recording's (a float one is kept); else 16 or 24
    bool Requested() const { return Rate != 0 || Channels != 0 || Bits != 0; }
};

// Why Conversion cannot be made of a recording of Source's format, or empty.
std::string ConversionProblem(const TWaveFormatEx &Source, const TPieceConversion &Conversion);

// Source as Conversion makes it: integer PCM of the bits asked for.
TSampleView ConvertedView(const TSampleView &Source, const TPieceConversion &Conversion);

// Frames of the converted piece of Frames source frames.
std::int64_t ConvertedFrames(std::int64_t Frames, std::uint32_t From, std::uint32_t To);

// The samples of Area of Source converted, in ConvertedView's format, to
// Sink in blocks of whole frames as they are made, so that a piece of any
// length costs a few blocks of memory. Raises std::runtime_error when the
// resampler fails.
void ConvertPiece(const TSampleView &Source, const TTrimArea &Area, const TPieceConversion &Conversion,
                  const std::function<void(const std::uint8_t *Bytes, std::int64_t Count)> &Sink);
