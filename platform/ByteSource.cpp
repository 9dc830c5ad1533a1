#include "platform/ByteSource.h"

#include "platform/Streams.h"

#include <algorithm>
#include <cstring>

namespace {
// Many small chunks share one read; a large one costs one read per header.
constexpr std::int64_t WindowBytes = 4096;

// Count cut to what the image holds from Offset on; 0 outside it.
std::int64_t Available(std::int64_t Offset, std::int64_t Count, std::int64_t Length)
{
    if (Offset < 0 || Count <= 0 || Offset >= Length)
        return 0;
    return std::min(Count, Length - Offset);
}
} // namespace

std::uint64_t LittleEndian(const std::uint8_t *At, int Size)
{
    std::uint64_t Value = 0;
    for (int I = Size - 1; I >= 0; --I)
        Value = Value << 8 | At[I];
    return Value;
}

bool TByteSource::ReadU32(std::int64_t Offset, std::uint32_t &Value)
{
    std::uint8_t P[4];
    if (ReadAt(Offset, P, 4) != 4)
        return false;
    Value = static_cast<std::uint32_t>(LittleEndian(P, 4));
    return true;
}

std::int64_t TMemoryBytes::ReadAt(std::int64_t Offset, void *Buffer, std::int64_t Count)
{
    const std::int64_t Moved = Available(Offset, Count, FLength);
    if (Moved > 0)
        std::memcpy(Buffer, FImage + Offset, static_cast<std::size_t>(Moved));
    return Moved;
}

TStreamBytes::TStreamBytes(TStream &Stream, std::int64_t Length)
    : FStream(Stream), FOrigin(Stream.Position()), FLength(std::max<std::int64_t>(Length, 0))
{
}

std::int64_t TStreamBytes::ReadAt(std::int64_t Offset, void *Buffer, std::int64_t Count)
{
    const std::int64_t Moved = Available(Offset, Count, FLength);
    if (Moved == 0)
        return 0;
    const auto InWindow = [&] {
        return Offset >= FWindowStart && Offset + Moved <= FWindowStart + std::int64_t(FWindow.size());
    };
    if (!InWindow() && Moved < WindowBytes) {
        FWindow.resize(static_cast<std::size_t>(std::min(WindowBytes, FLength - Offset)));
        FWindowStart = Offset;
        try {
            FStream.SetPosition(FOrigin + Offset);
            FStream.ReadBuffer(FWindow.data(), std::int64_t(FWindow.size()));
        } catch (...) {
            FWindow.clear();
            throw;
        }
    }
    if (InWindow()) {
        std::memcpy(Buffer, FWindow.data() + (Offset - FWindowStart), static_cast<std::size_t>(Moved));
    } else {
        // A body: straight from the stream, in one read.
        FStream.SetPosition(FOrigin + Offset);
        FStream.ReadBuffer(Buffer, Moved);
    }
    return Moved;
}
