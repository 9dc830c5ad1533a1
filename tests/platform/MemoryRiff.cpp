#include "MemoryRiff.h"

#include <algorithm>
#include <cstring>

TMemoryRiffFile TMemoryRiffFile::OpenRead(const std::uint8_t *Image, std::int64_t Length)
{
    // Reading never writes; the cast only lets one class serve both modes.
    return TMemoryRiffFile(const_cast<std::uint8_t *>(Image), Image ? Length : 0, false);
}

TMemoryRiffFile TMemoryRiffFile::OpenCreate(std::uint8_t *Image, std::int64_t Length)
{
    return TMemoryRiffFile(Image, Image ? Length : 0, true);
}

void TMemoryRiffFile::Seek(std::int64_t Offset)
{
    FPosition = std::clamp<std::int64_t>(Offset, 0, FLength);
}

bool TMemoryRiffFile::PutU32(std::int64_t Offset, std::uint32_t Value)
{
    if (!FWriting || Offset < 0 || Offset + 4 > FLength)
        return false;
    std::uint8_t *P = FImage + Offset;
    for (int i = 0; i < 4; ++i)
        P[i] = static_cast<std::uint8_t>(Value >> (8 * i));
    return true;
}

bool TMemoryRiffFile::DescendRiff(TChunkInfo &Chunk, std::uint32_t FormType)
{
    TMemoryBytes Image(FImage, FLength);
    if (!RiffChunks::FindRiff(Image, FPosition, FormType, Chunk))
        return false;
    FPosition = Chunk.dwDataOffset + 4;
    return true;
}

bool TMemoryRiffFile::DescendChunk(TChunkInfo &Chunk, const TChunkInfo &Parent, std::uint32_t Id)
{
    TMemoryBytes Image(FImage, FLength);
    if (!RiffChunks::FindSubChunk(Image, FPosition, Parent, Id, Chunk))
        return false;
    FPosition = Chunk.dwDataOffset;
    return true;
}

std::int64_t TMemoryRiffFile::Read(void *Buffer, std::int64_t Count)
{
    const std::int64_t Moved = std::clamp<std::int64_t>(FLength - FPosition, 0, std::max<std::int64_t>(Count, 0));
    if (Moved > 0)
        std::memcpy(Buffer, FImage + FPosition, static_cast<std::size_t>(Moved));
    FPosition += Moved;
    return Moved;
}

bool TMemoryRiffFile::Ascend(TChunkInfo &Chunk)
{
    if (!FWriting) {
        FPosition = RiffChunks::AfterChunk(Chunk, FLength);
        return true;
    }
    const std::int64_t Written = FPosition - Chunk.dwDataOffset;
    if (Written < 0 || Written > UINT32_MAX)
        return false;
    if (static_cast<std::uint32_t>(Written) != Chunk.cksize) {
        if (!PutU32(Chunk.dwDataOffset - 4, static_cast<std::uint32_t>(Written)))
            return false;
        Chunk.cksize = static_cast<std::uint32_t>(Written);
    }
    if (Written & 1) {
        const std::uint8_t Pad = 0;
        if (Write(&Pad, 1) != 1)
            return false;
    }
    return true;
}

bool TMemoryRiffFile::CreateChunk(TChunkInfo &Chunk, bool Riff)
{
    const std::int64_t Header = Riff ? 12 : 8;
    if (!FWriting || FPosition + Header > FLength)
        return false;
    if (Riff)
        Chunk.ckid = RiffChunks::RiffId;
    PutU32(FPosition, Chunk.ckid);
    PutU32(FPosition + 4, Chunk.cksize);
    Chunk.dwDataOffset = FPosition + 8;
    if (Riff)
        PutU32(FPosition + 8, Chunk.fccType);
    FPosition += Header;
    return true;
}

std::int64_t TMemoryRiffFile::Write(const void *Buffer, std::int64_t Count)
{
    if (!FWriting || Count < 0 || FPosition + Count > FLength)
        return -1;
    if (Count > 0)
        std::memcpy(FImage + FPosition, Buffer, static_cast<std::size_t>(Count));
    FPosition += Count;
    return Count;
}

bool TMemoryRiffFile::Close()
{
    FImage = nullptr;
    FLength = 0;
    return true;
}
