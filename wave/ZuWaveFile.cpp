// Reading and writing RIFF/WAVE images. Both work on the whole file in
// memory: one read or one write on the stream, all chunk work in between.
#include "ZuInternalWave.h"

#include "Heap.h"
#include "MemoryRiff.h"
#include "Streams.h"

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
constexpr std::uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

// KSDATAFORMAT_SUBTYPE_PCM
constexpr std::uint8_t PcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                           0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// Extensible headers from current recorders describe plain 8/16-bit PCM;
// stored as such, those files load and play like any PCM file.
void FoldExtensiblePcm(TWaveFormatEx &Format, const std::uint8_t *Body, std::uint32_t BodySize)
{
    if (Format.wFormatTag != WAVE_FORMAT_EXTENSIBLE || BodySize < 40)
        return;
    const std::uint16_t ValidBits = std::uint16_t(Body[18] | Body[19] << 8);
    const bool PlainPcm = std::memcmp(Body + 24, PcmSubFormat, 16) == 0
        && (Format.wBitsPerSample == 8 || Format.wBitsPerSample == 16)
        && ValidBits == Format.wBitsPerSample;
    if (PlainPcm) {
        Format.wFormatTag = WAVE_FORMAT_PCM;
        Format.cbSize = 0;
    }
}

[[noreturn]] void BadFile(TMemoryRiffFile &File, const char *Message)
{
    File.Close();
    throw EZuWaveInvalidWaveFile(Message);
}

} // namespace

void TZuInternalWAVE::LoadFromFile(TStream &Stream)
{
    FreeData();

    const std::int64_t ImageSize = Stream.Size();
    THeapBlock Image(Heap::AllocZero(static_cast<std::size_t>(std::max<std::int64_t>(ImageSize, 0))));
    Stream.ReadBuffer(Image.get(), ImageSize);

    TMemoryRiffFile File = TMemoryRiffFile::OpenRead(Image.get(), ImageSize);
    if (!File.IsOpen())
        throw EZuWaveInOutError("TZuInternalWave.LoadFromFile:Failed to open file.");
    File.Seek(0);

    TChunkInfo Riff;
    if (!File.DescendRiff(Riff, WaveForm))
        BadFile(File, "TZuInternalWave.LoadFromFile:Not a waveform-audio file.");

    TChunkInfo Sub;
    if (!File.DescendChunk(Sub, Riff, FmtId))
        BadFile(File, "TZuInternalWave.LoadFromFile:Unable to locate fmt chunk.");

    {
        // A body the image cannot hold would fail the read anyway; refusing
        // it first keeps a lying size from asking for gigabytes.
        if (Sub.dwDataOffset + std::int64_t(Sub.cksize) > ImageSize)
            BadFile(File, "TZuInternalWave.LoadfromFile:Error reading fmt chunk.");
        THeapBlock Body(Heap::AllocZero(Sub.cksize));
        if (File.Read(Body.get(), Sub.cksize) != std::int64_t(Sub.cksize))
            BadFile(File, "TZuInternalWave.LoadfromFile:Error reading fmt chunk.");
        const std::size_t Copied = std::min<std::size_t>(Sub.cksize, sizeof(FFormat));
        std::memcpy(&FFormat, Body.get(), Copied);
        FoldExtensiblePcm(FFormat, Body.get(), Sub.cksize);
    }
    File.Ascend(Sub);

    if (!File.DescendChunk(Sub, Riff, DataId))
        BadFile(File, "TZuInternalWave.LoadfromFile:Unable to locate data chunk.");

    // The block size must fit FDataSize, and a body that the image cannot
    // hold is refused before so large a block is asked for.
    const std::int64_t Declared = Sub.cksize;
    if (Declared > INT32_MAX || Sub.dwDataOffset + Declared > ImageSize)
        BadFile(File, "TZuInternalWave.LoadfromFile:Error reading data chunk.");
    // The image already holds the body: moving it to the front and keeping
    // just that part gives the data block without a second buffer of the
    // file's size, which halves the memory and time of loading long takes.
    const std::int64_t BodyOffset = File.Tell();
    File.Close();
    std::memmove(Image.get(), Image.get() + BodyOffset, static_cast<std::size_t>(Declared));
    FData = Heap::Shrink(Image.release(), static_cast<std::size_t>(Declared));
    FDataSize = static_cast<std::int32_t>(Declared);
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
