#pragma once
// The rules of walking RIFF chunks when reading, shared by the reader over a
// memory image and the reader over a stream, so that both find the same
// chunks in the same bytes. ReadU32(Offset, Value) reads the little-endian
// u32 at Offset of the image and returns false when it lies outside. Offsets
// are 64-bit, so no declared size can overflow them, and every skip moves at
// least past the 8-byte header, so every walk ends.
#include <algorithm>
#include <cstdint>

struct TChunkInfo {
    std::uint32_t ckid = 0;
    std::uint32_t cksize = 0;
    std::uint32_t fccType = 0;      // form type of a "RIFF" chunk
    std::int64_t dwDataOffset = 0;  // image offset of the chunk's body
};

namespace RiffWalk {

constexpr std::uint32_t RiffId = 0x46464952; // "RIFF"

// Where the chunk's body ends together with its pad byte.
inline std::int64_t PaddedEnd(const TChunkInfo &Chunk)
{
    return Chunk.dwDataOffset + Chunk.cksize + (Chunk.cksize & 1u);
}

// Leaving a chunk that was read: past its body and pad byte, within the image.
inline std::int64_t AfterChunk(const TChunkInfo &Chunk, std::int64_t ImageLength)
{
    return std::min(PaddedEnd(Chunk), ImageLength);
}

// Top-level chunks from At on, to the first "RIFF" chunk of FormType; any
// other chunk is skipped by its size and pad byte. Returns the offset just
// after the form type, or -1 when the image ends first.
template <class TReadU32>
std::int64_t FindRiff(TReadU32 &&ReadU32, std::int64_t At, std::uint32_t FormType, TChunkInfo &Chunk)
{
    for (;;) {
        TChunkInfo Found;
        if (!ReadU32(At, Found.ckid) || !ReadU32(At + 4, Found.cksize))
            return -1;
        Found.dwDataOffset = At + 8;
        if (Found.ckid == RiffId && ReadU32(At + 8, Found.fccType) && Found.fccType == FormType) {
            Chunk = Found;
            return At + 12;
        }
        At = PaddedEnd(Found);
    }
}

// Sub-chunks from At on, within Parent's declared extent and the image, to
// the first one with the given id. Returns the offset of its body, or -1.
template <class TReadU32>
std::int64_t FindSubChunk(TReadU32 &&ReadU32, std::int64_t At, const TChunkInfo &Parent, std::int64_t ImageLength,
                          std::uint32_t Id, TChunkInfo &Chunk)
{
    const std::int64_t Limit = std::min(Parent.dwDataOffset + Parent.cksize, ImageLength);
    while (At + 8 <= Limit) {
        TChunkInfo Found;
        ReadU32(At, Found.ckid);
        ReadU32(At + 4, Found.cksize);
        Found.dwDataOffset = At + 8;
        if (Found.ckid == Id) {
            Chunk = Found;
            return Found.dwDataOffset;
        }
        At = PaddedEnd(Found);
    }
    return -1;
}

// The descents both readers offer: on success Position moves to where the
// find says (after the form type, or to the sub-chunk's body).
template <class TReadU32>
bool DescendRiff(TReadU32 &&ReadU32, std::int64_t &Position, std::uint32_t FormType, TChunkInfo &Chunk)
{
    const std::int64_t Body = FindRiff(ReadU32, Position, FormType, Chunk);
    if (Body >= 0)
        Position = Body;
    return Body >= 0;
}

template <class TReadU32>
bool DescendChunk(TReadU32 &&ReadU32, std::int64_t &Position, const TChunkInfo &Parent, std::int64_t ImageLength,
                  std::uint32_t Id, TChunkInfo &Chunk)
{
    const std::int64_t Body = FindSubChunk(ReadU32, Position, Parent, ImageLength, Id, Chunk);
    if (Body >= 0)
        Position = Body;
    return Body >= 0;
}

} // namespace RiffWalk
