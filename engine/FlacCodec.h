#pragma once
// FLAC recordings, decoded into and encoded from little-endian interleaved
// PCM as WAV files store it (8-bit unsigned with midpoint 128, 16 and 24-bit
// signed): decoded through libFLAC, encoded through libsndfile.
#include "platform/Exception.h"

#include <cstdint>
#include <functional>
#include <string>

// The file is not FLAC read here, or a read/write failed. The
// message says what went wrong in words a user understands.
class EFlacError : public Exception {
public:
    using Exception::Exception;
};

struct TFlacInfo {
    std::uint32_t Rate = 0;
    int Channels = 0;
    int Bits = 0; // 8, 16 or 24
    // -1 from ReadFlacInfo when the header leaves the length open (a stream
    // an encoder wrote into a pipe); DecodeFlac always says what it decoded.
    std::int64_t Frames = 0;
};

// The share of the recording decoded so far, 0..1.
using TFlacProgress = std::function<void(double Share)>;

// True when the first bytes are a FLAC stream's signature ("fLaC").
bool IsFlacSignature(const std::uint8_t *Bytes, std::size_t Count);

// Decodes the whole open file (Handle: a readable regular file, read from its
// start with pread so the caller's offset is untouched; not closed) to the
// stream's real end, which may lie beyond the length its header states, and
// writes the samples with pwrite into Out from offset 0: Frames * Channels *
// Bits/8 bytes. The samples must match the stream's checksum where it has
// one. Raises EFlacError; Out then holds nothing worth keeping. Progress,
// when given, is called now and then; so is Stop (from any thread), and
// true from it ends the decoding with EFlacError.
TFlacInfo DecodeFlac(int Handle, int Out, const TFlacProgress &Progress = {},
                     const std::function<bool()> &Stop = {});

// Reads only the header: rate, channels, bits, frames. Raises EFlacError.
TFlacInfo ReadFlacInfo(int Handle);

// Encodes Frames frames of Pcm (layout as above, Info's channels and bits)
// as a FLAC file into Out (a writable, seekable descriptor, written from
// offset 0 whatever its own offset, e.g. a fresh temporary file; not
// closed), same rate, channels and bits. Raises EFlacError, which carries
// the system's reason when a write failed. Reading, when given, is called
// before frames First..First+Count-1 of Pcm are read, in order.
void EncodeFlac(int Out, const TFlacInfo &Info, const std::uint8_t *Pcm, std::int64_t Frames,
                const std::function<void(std::int64_t First, std::int64_t Count)> &Reading = {});
