#pragma once
// RIFF chunk walking and building over a byte image held in memory, in the
// manner of the multimedia file functions the wave library was written
// against. The program reads and writes WAV files through
// platform/WaveContainer.h and platform/WaveHeader.h; only the tests keep
// this. Every access is bounded by the image; nothing reads or writes
// outside it. Offsets and sizes are 64-bit so that no declared size can
// overflow the arithmetic.
#include "platform/WaveContainer.h"

#include <cstdint>

class TMemoryRiffFile {
public:
    // Reading: Image stays owned by the caller and must outlive this object.
    static TMemoryRiffFile OpenRead(const std::uint8_t *Image, std::int64_t Length);
    // Creating: writes go into Image, which cannot grow beyond Length.
    static TMemoryRiffFile OpenCreate(std::uint8_t *Image, std::int64_t Length);

    bool IsOpen() const { return FImage != nullptr; }
    void Seek(std::int64_t Offset);
    std::int64_t Tell() const { return FPosition; }

    // Walks top-level chunks from the current position to the first "RIFF"
    // chunk of FormType; on success the position is just after the form type.
    bool DescendRiff(TChunkInfo &Chunk, std::uint32_t FormType);
    // Walks the sub-chunks from the current position, within Parent's
    // declared extent and the image, to the first one with the given id; on
    // success the position is the start of its body.
    bool DescendChunk(TChunkInfo &Chunk, const TChunkInfo &Parent, std::uint32_t Id);
    // Copies up to Count bytes from the current position; the image's end is
    // the only limit. Returns the number copied.
    std::int64_t Read(void *Buffer, std::int64_t Count);
    // Reading: moves past the body and its pad byte. Writing: corrects the
    // size field to what was written and adds a zero pad byte after an odd body.
    bool Ascend(TChunkInfo &Chunk);

    // Writes a chunk header (with the form type for a "RIFF" chunk) at the
    // current position.
    bool CreateChunk(TChunkInfo &Chunk, bool Riff);
    // Returns Count, or -1 when the image has no room for it.
    std::int64_t Write(const void *Buffer, std::int64_t Count);
    bool Close();

private:
    TMemoryRiffFile(std::uint8_t *Image, std::int64_t Length, bool Writing)
        : FImage(Image), FLength(Length), FWriting(Writing) {}
    bool PutU32(std::int64_t Offset, std::uint32_t Value);

    std::uint8_t *FImage;
    std::int64_t FLength;
    bool FWriting;
    std::int64_t FPosition = 0;
};
