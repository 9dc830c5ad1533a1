// Reading and writing RIFF/WAVE images. Reading walks the stream's chunk
// headers and reads only the bodies it keeps; writing builds the whole file
// in memory and writes it in one transfer.
#include "wave/ZuInternalWave.h"

#include "platform/Heap.h"
#include "platform/ByteSource.h"
#include "platform/Streams.h"
#include "platform/WaveHeader.h"
#include "wave/ZuWaveHeaders.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct THeapDeleter {
    void operator()(std::uint8_t *Block) const noexcept { Heap::Free(Block); }
};
using THeapBlock = std::unique_ptr<std::uint8_t, THeapDeleter>;

} // namespace

void TZuInternalWAVE::LoadFromFile(TStream &Stream)
{
    FreeData();

    // The image is the stream's Size() bytes from its position. A stream
    // that cannot hold them all is the read error that reading the image
    // whole would raise, and it comes before anything else is looked at.
    const std::int64_t ImageSize = std::max<std::int64_t>(Stream.Size(), 0);
    if (ImageSize > 0 && Stream.Size() - Stream.Position() < ImageSize)
        throw EReadError();

    // Headers first: the walk reads chunk headers only, so memory and time
    // follow the "fmt " and "data" bodies, not whatever else the file holds.
    TStreamBytes Image(Stream, ImageSize);

    const TWaveChunks Data = WalkWaveHeaders(Image, FFormat);
    const std::int64_t Declared = Data.DataSize;
    // Straight from the stream into the data block, in one read.
    THeapBlock Block(Heap::AllocZero(static_cast<std::size_t>(Declared)));
    Image.ReadAt(Data.DataOffset, Block.get(), Declared);
    FData = Block.release();
    FDataSize = static_cast<std::int32_t>(Declared);
}

void TZuInternalWAVE::LoadInPlace(std::uint8_t *Image, std::int64_t Length, std::shared_ptr<void> Owner)
{
    FreeData();
    TMemoryBytes Bytes(Image, Length);
    const TWaveChunks Data = WalkWaveHeaders(Bytes, FFormat);
    FBlockOwner = std::move(Owner);
    FData = Image + Data.DataOffset;
    FDataSize = static_cast<std::int32_t>(Data.DataSize);
}

void TZuInternalWAVE::SaveToFile(TStream &Stream)
{
    // The format record as it is held, in an 18-byte fmt chunk.
    const std::vector<std::uint8_t> Header = WaveHeader(
        {reinterpret_cast<const std::uint8_t *>(&FFormat), sizeof(FFormat), std::uint64_t(FDataSize), 0, false, false});
    const std::int64_t Pad = FDataSize % 2;
    const std::int64_t HeaderBytes = std::int64_t(Header.size());
    const std::int64_t Total = HeaderBytes + FDataSize + Pad;
    THeapBlock Image(Heap::AllocZero(static_cast<std::size_t>(Total)));
    std::memcpy(Image.get(), Header.data(), Header.size());
    if (FDataSize > 0)
        std::memcpy(Image.get() + HeaderBytes, FData, static_cast<std::size_t>(FDataSize));
    Stream.WriteBuffer(Image.get(), Total);
}
