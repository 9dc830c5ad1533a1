#pragma once
// Detection over samples that live in a caller's array (a NumPy array's
// buffer), read where they are.
#include "engine/TrimArea.h"
#include "split/SplitOptions.h"

#include <QString>

#include <cstdint>
#include <vector>

struct TArraySamples {
    const void *Data = nullptr;
    std::int64_t Frames = 0;
    int Channels = 1;  // interleaved, channel 0 first
    char Kind = 'i';   // 'i' signed, 'u' unsigned, 'f' float (NumPy's dtype kinds)
    int Bytes = 2;     // of one sample
    std::uint32_t Rate = 0;
};

// True for the sample types read: int8, uint8, int16, int32, float32,
// float64, 1 to 8 channels.
bool IsReadable(const TArraySamples &Samples);

struct TArrayPieces {
    std::vector<TTrimArea> Areas;
    QString Error; // a setting that does not fit at the rate; empty otherwise
};

// The pieces, exactly as the engine detects them in a recording of these
// samples with Options' settings (suggested from the samples with --auto).
// An int8 sample counts as the uint8 sample 128 above it does, so that
// signed and unsigned 8-bit arrays of one sound agree; they are read from a
// shifted copy, the others in place.
TArrayPieces DetectInArray(const TArraySamples &Samples, const TSplitOptions &Options);
