#pragma once
// The one reader of the containers a WAV recording comes in: RIFF,
// RF64/BW64 (RIFF whose sizes of 0xFFFFFFFF stand for those of a "ds64"
// chunk) and Wave64 (GUID-named chunks with 64-bit sizes, 8-byte aligned).
// It finds the "fmt " body and the "data" chunk over any byte source and
// says what went wrong as a fault kind, so that each caller words it for
// its own users. Offsets are 64-bit, so no declared size overflows them,
// and every step moves past a chunk header, so every walk ends.
#include "platform/ByteSource.h"
#include "platform/Exception.h"

#include <cstdint>
#include <functional>
#include <optional>

struct TChunkInfo {
    std::uint32_t ckid = 0;
    std::uint32_t cksize = 0;
    std::uint32_t fccType = 0;      // form type of a "RIFF" chunk
    std::int64_t dwDataOffset = 0;  // image offset of the chunk's body
};

namespace RiffChunks {

constexpr std::uint32_t RiffId = 0x46464952; // "RIFF"

// Where the chunk's body ends together with its pad byte.
inline std::int64_t PaddedEnd(const TChunkInfo &Chunk)
{
    return Chunk.dwDataOffset + Chunk.cksize + (Chunk.cksize & 1u);
}

// Leaving a chunk that was read: past its body and pad byte, within the image.
inline std::int64_t AfterChunk(const TChunkInfo &Chunk, std::int64_t ImageLength)
{
    return PaddedEnd(Chunk) < ImageLength ? PaddedEnd(Chunk) : ImageLength;
}

// Top-level chunks from At on, to the first "RIFF" chunk of FormType; any
// other chunk is skipped by its size and pad byte. False when the image
// ends first.
bool FindRiff(TByteSource &Source, std::int64_t At, std::uint32_t FormType, TChunkInfo &Chunk);

// Sub-chunks from At on, within Parent's declared extent and the image, to
// the first one with the given id. False when there is none.
bool FindSubChunk(TByteSource &Source, std::int64_t At, const TChunkInfo &Parent, std::uint32_t Id,
                  TChunkInfo &Chunk);

} // namespace RiffChunks

enum class TWaveContainer { Riff, Rf64, Wave64 };

// The container a file's first bytes (40 for Wave64) announce, if any.
std::optional<TWaveContainer> WaveContainerOf(const std::uint8_t *First, std::size_t Count);

enum class TContainerFault {
    NoWaveForm,    // no "RIFF" chunk of form "WAVE"
    NoFmt,         // no fmt chunk (RIFF: in the form)
    FmtCut,        // the image ends inside the fmt chunk's body
    NoData,        // no data chunk after the fmt chunk
    DataBeforeFmt, // a data chunk before any fmt chunk (RF64, Wave64)
    DataCut,       // the data body reaches past the image, or is larger than the caller takes
    NoDs64,        // a data chunk of unknown size and no ds64 chunk before it
    Ds64Cut,       // the image ends inside the ds64 chunk
    UnknownSize,   // a chunk of unknown size before the data chunk (RF64)
    ChunkPastEnd,  // a Wave64 chunk smaller than its header or larger than the image
    HeadersCut,    // the image ends inside a chunk header
};

// The message is for logs only; callers decide by Fault().
class EContainerFault : public Exception {
public:
    explicit EContainerFault(TContainerFault Fault);
    TContainerFault Fault() const { return FFault; }

private:
    TContainerFault FFault;
};

// The first bytes of a fmt body are all any reader needs: the format
// record, the valid bits, the channel mask and the sub-format.
constexpr std::uint32_t FmtBytesRead = 40;

struct TWaveChunks {
    std::int64_t DataOffset = 0; // image offset of the data chunk's body
    std::int64_t DataSize = 0;   // its size in bytes, all inside the image
    // The first bytes of the last fmt body read, as the file holds them:
    // FmtHeld of them, the declared size or FmtBytesRead if less.
    std::uint8_t FmtBody[FmtBytesRead] = {};
    std::uint32_t FmtHeld = 0;
};

// Called with each fmt body as it is read, before the walk goes on (and so
// also when it then fails): Held bytes of Body are the file's.
using TFmtSeen = std::function<void(const std::uint8_t *Body, std::uint32_t Held)>;

// Walks the image as a container of the given kind, to its fmt chunk and
// the data chunk the samples are in. RIFF: the first "WAVE" form, its first
// fmt chunk, which must lie whole in the image, and the first data chunk
// after it. RF64 and Wave64: every chunk from the file header on, to the
// first data chunk; only the fmt body's first bytes need be in the image.
// A data chunk larger than MaxDataBytes is refused as one the image cannot
// hold. Raises EContainerFault, or what the source raises.
TWaveChunks ReadWaveChunks(TByteSource &Source, TWaveContainer Kind, std::int64_t MaxDataBytes = INT64_MAX,
                           const TFmtSeen &OnFmt = {});
