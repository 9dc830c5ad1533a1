#pragma once
// Reading RIFF chunks straight from a stream, headers first: a walk reads
// only chunk headers, through a small window, and passes over bodies
// without reading them, so what a file holds besides the bodies asked for
// costs neither memory nor time. The image walked is the stream's Length
// bytes from its position when the reader is made; the walk rules are those
// of the memory image (RiffWalk.h). A stream that turns out to hold fewer
// bytes than that raises EReadError, as reading the image whole would.
#include "platform/RiffWalk.h"

#include <cstdint>
#include <vector>

class TStream;

class TStreamRiffReader {
public:
    // Stream stays owned by the caller and must outlive this object.
    TStreamRiffReader(TStream &Stream, std::int64_t Length);

    void Seek(std::int64_t Offset);
    std::int64_t Tell() const { return FPosition; }

    // As TMemoryRiffFile's: on success the position is just after the form
    // type, or at the start of the sub-chunk's body.
    bool DescendRiff(TChunkInfo &Chunk, std::uint32_t FormType);
    bool DescendChunk(TChunkInfo &Chunk, const TChunkInfo &Parent, std::uint32_t Id);
    // Copies up to Count bytes from the current position; the image's end is
    // the only limit. Returns the number copied.
    std::int64_t Read(void *Buffer, std::int64_t Count);
    // Moves past the body and its pad byte.
    void Ascend(const TChunkInfo &Chunk);

private:
    bool ReadU32(std::int64_t Offset, std::uint32_t &Value);
    void ReadAt(std::int64_t Offset, void *Buffer, std::int64_t Count);

    TStream &FStream;
    std::int64_t FOrigin;
    std::int64_t FLength;
    std::int64_t FPosition = 0;
    // Image bytes from FWindowStart, read ahead for the next chunk headers.
    std::vector<std::uint8_t> FWindow;
    std::int64_t FWindowStart = 0;
};
