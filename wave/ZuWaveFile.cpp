// Reading and writing RIFF/WAVE images. Reading walks the stream's chunk
// headers and reads only the bodies it keeps; writing builds the whole file
// in memory and writes it in one transfer.
#include "wave/ZuInternalWave.h"

#include "platform/Heap.h"
#include "platform/MemoryRiff.h"
#include "platform/ByteSource.h"
#include "platform/Streams.h"
#include "wave/ZuWaveHeaders.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

struct THeapDeleter {
    void operator()(std::uint8_t *Block) const noexcept { Heap::Free(Block); }
};
using THeapBlock = std::unique_ptr<std::uint8_t, THeapDeleter>;

constexpr std::uint32_t WaveForm = MakeFourCC('W', 'A', 'V', 'E');
constexpr std::uint32_t FmtId = MakeFourCC('f', 'm', 't', ' ');
constexpr std::uint32_t DataId = MakeFourCC('d', 'a', 't', 'a');

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
    const std::int64_t Pad = FDataSize % 2;
    const std::int64_t Total = std::int64_t(FDataSize) + Pad + 46;
    THeapBlock Image(Heap::AllocZero(static_cast<std::size_t>(Total)));

    auto Fail = [](TMemoryRiffFile &File, const char *Message) {
        File.Close();
        throw EZuWaveInOutError(Message);
    };

    TMemoryRiffFile File = TMemoryRiffFile::OpenCreate(Image.get(), Total);
    if (!File.IsOpen())
        throw EZuWaveInOutError("TZuInternalWave.SaveToFile:Failed to open file.");
    File.Seek(0);

    TChunkInfo Riff;
    Riff.fccType = WaveForm;
    Riff.cksize = 0;
    if (!File.CreateChunk(Riff, true))
        Fail(File, "TZuInternalWave.SaveToFile:Failed to create chunk [RIFF].");

    TChunkInfo Sub;
    Sub.ckid = FmtId;
    Sub.cksize = sizeof(FFormat);
    if (!File.CreateChunk(Sub, false))
        Fail(File, "TZuInternalWave.SaveToFile:Failed to Create chunk [fmt ].");
    if (File.Write(&FFormat, sizeof(FFormat)) != std::int64_t(sizeof(FFormat)))
        Fail(File, "TZuInternalWave.SaveToFile:Failed to write file [fmt ].");
    if (!File.Ascend(Sub))
        Fail(File, "TZuInternalWave.SaveToFile:Failed to ascend chunk [fmt->RIFF].");

    Sub.ckid = DataId;
    Sub.cksize = static_cast<std::uint32_t>(FDataSize);
    if (!File.CreateChunk(Sub, false))
        Fail(File, "TZuInternalWave.SaveToFile:Failed to create chunk [data].");
    if (FDataSize > 0 && File.Write(FData, FDataSize) != FDataSize)
        Fail(File, "TZuInternalWave.SaveToFile:Failed to write file [data].");
    if (!File.Ascend(Sub))
        Fail(File, "TZuInternalWave.SaveToFile:Failed to ascend chunk [data->RIFF].");
    if (!File.Ascend(Riff))
        Fail(File, "TZuInternalWave.SaveToFile:Failed to ascend chunk [RIFF->(out)].");
    if (!File.Close())
        throw EZuWaveInOutError("TZuInternalWave.SaveToFile:Failed to close file.");

    Stream.WriteBuffer(Image.get(), Total);
}
