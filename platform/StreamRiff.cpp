#include "platform/StreamRiff.h"

#include "platform/Exception.h"
#include "platform/Streams.h"

#include <algorithm>
#include <cstring>

namespace {
// Many small chunks share one read; a large one costs one read per header.
constexpr std::int64_t WindowBytes = 4096;
} // namespace

TStreamRiffReader::TStreamRiffReader(TStream &Stream, std::int64_t Length)
    : FStream(Stream), FOrigin(Stream.Position()), FLength(std::max<std::int64_t>(Length, 0))
{
}

void TStreamRiffReader::Seek(std::int64_t Offset)
{
    FPosition = std::clamp<std::int64_t>(Offset, 0, FLength);
}

void TStreamRiffReader::ReadAt(std::int64_t Offset, void *Buffer, std::int64_t Count)
{
    FStream.SetPosition(FOrigin + Offset);
    FStream.ReadBuffer(Buffer, Count);
}

bool TStreamRiffReader::ReadU32(std::int64_t Offset, std::uint32_t &Value)
{
    if (Offset < 0 || Offset + 4 > FLength)
        return false;
    const std::int64_t WindowEnd = FWindowStart + std::int64_t(FWindow.size());
    if (Offset < FWindowStart || Offset + 4 > WindowEnd) {
        FWindow.resize(static_cast<std::size_t>(std::min(WindowBytes, FLength - Offset)));
        FWindowStart = Offset;
        try {
            ReadAt(Offset, FWindow.data(), std::int64_t(FWindow.size()));
        } catch (...) {
            FWindow.clear();
            throw;
        }
    }
    const std::uint8_t *P = FWindow.data() + (Offset - FWindowStart);
    Value = std::uint32_t(P[0]) | std::uint32_t(P[1]) << 8 | std::uint32_t(P[2]) << 16
        | std::uint32_t(P[3]) << 24;
    return true;
}

bool TStreamRiffReader::DescendRiff(TChunkInfo &Chunk, std::uint32_t FormType)
{
    return RiffWalk::DescendRiff([this](std::int64_t At, std::uint32_t &Value) { return ReadU32(At, Value); },
                                 FPosition, FormType, Chunk);
}

bool TStreamRiffReader::DescendChunk(TChunkInfo &Chunk, const TChunkInfo &Parent, std::uint32_t Id)
{
    return RiffWalk::DescendChunk([this](std::int64_t At, std::uint32_t &Value) { return ReadU32(At, Value); },
                                  FPosition, Parent, FLength, Id, Chunk);
}

std::int64_t TStreamRiffReader::Read(void *Buffer, std::int64_t Count)
{
    const std::int64_t Moved = std::clamp<std::int64_t>(FLength - FPosition, 0, std::max<std::int64_t>(Count, 0));
    if (Moved == 0)
        return 0;
    const std::int64_t WindowEnd = FWindowStart + std::int64_t(FWindow.size());
    if (FPosition >= FWindowStart && FPosition + Moved <= WindowEnd)
        std::memcpy(Buffer, FWindow.data() + (FPosition - FWindowStart), static_cast<std::size_t>(Moved));
    else
        ReadAt(FPosition, Buffer, Moved);
    FPosition += Moved;
    return Moved;
}

void TStreamRiffReader::Ascend(const TChunkInfo &Chunk)
{
    FPosition = RiffWalk::AfterChunk(Chunk, FLength);
}
