#include "ZuWaveHeaders.h"

#include "MemoryRiff.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t WaveForm = MakeFourCC('W', 'A', 'V', 'E');
constexpr std::uint32_t FmtId = MakeFourCC('f', 'm', 't', ' ');
constexpr std::uint32_t DataId = MakeFourCC('d', 'a', 't', 'a');
constexpr std::uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

// KSDATAFORMAT_SUBTYPE_PCM
constexpr std::uint8_t PcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                           0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// Extensible headers from current recorders describe plain 8/16-bit PCM;
// taken as such, those files load and play like any PCM file.
void FoldExtensiblePcm(TWaveFormatEx &Format, const std::uint8_t *Body, std::uint32_t BodySize)
{
    if (Format.wFormatTag != WAVE_FORMAT_EXTENSIBLE || BodySize < 40)
        return;
    const std::uint16_t ValidBits = std::uint16_t(Body[18] | Body[19] << 8);
    const bool PlainPcm = std::memcmp(Body + 24, PcmSubFormat, 16) == 0
        && (Format.wBitsPerSample == 8 || Format.wBitsPerSample == 16) && ValidBits == Format.wBitsPerSample;
    if (PlainPcm) {
        Format.wFormatTag = WAVE_FORMAT_PCM;
        Format.cbSize = 0;
    }
}

} // namespace

TWaveDataChunk WalkWaveHeaders(const std::uint8_t *Image, std::int64_t Length, TWaveFormatEx &Format)
{
    TMemoryRiffFile File = TMemoryRiffFile::OpenRead(Image, Length);
    if (!File.IsOpen())
        throw EZuWaveInOutError("TZuInternalWave.LoadFromFile:Failed to open file.");
    File.Seek(0);

    TChunkInfo Riff;
    if (!File.DescendRiff(Riff, WaveForm))
        throw EZuWaveInvalidWaveFile("TZuInternalWave.LoadFromFile:Not a waveform-audio file.");

    TChunkInfo Sub;
    if (!File.DescendChunk(Sub, Riff, FmtId))
        throw EZuWaveInvalidWaveFile("TZuInternalWave.LoadFromFile:Unable to locate fmt chunk.");
    // The body is read in place, so a lying size must be refused before
    // anything of it is looked at.
    if (Sub.dwDataOffset + std::int64_t(Sub.cksize) > Length)
        throw EZuWaveInvalidWaveFile("TZuInternalWave.LoadfromFile:Error reading fmt chunk.");
    const std::uint8_t *Body = Image + Sub.dwDataOffset;
    std::memcpy(&Format, Body, std::min<std::size_t>(Sub.cksize, sizeof(Format)));
    FoldExtensiblePcm(Format, Body, Sub.cksize);
    File.Ascend(Sub);

    if (!File.DescendChunk(Sub, Riff, DataId))
        throw EZuWaveInvalidWaveFile("TZuInternalWave.LoadfromFile:Unable to locate data chunk.");
    // The size must fit a wave's 32-bit block size.
    const std::int64_t Declared = Sub.cksize;
    if (Declared > INT32_MAX || Sub.dwDataOffset + Declared > Length)
        throw EZuWaveInvalidWaveFile("TZuInternalWave.LoadfromFile:Error reading data chunk.");
    return {Sub.dwDataOffset, static_cast<std::int32_t>(Declared)};
}
