#pragma once
// The loader's walk of a RIFF/WAVE image's headers on its own: where the
// samples are and what format they are in, with the loader's rules and
// messages, over any RIFF reader (a stream's, or a memory image's for a
// file mapped in place). Only the fmt body's first bytes are read.
#include "platform/RiffWalk.h"
#include "wave/ZuInternalWave.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

// The format record, the valid bits, the channel mask and the sub-format.
constexpr std::size_t ExtensibleFmtBytes = 40;

struct TWaveDataChunk {
    std::int64_t Offset = 0; // image offset of the data chunk's body
    std::int64_t Size = 0;   // its declared size in bytes, all inside the image
    // The fmt body's first bytes as the file holds them (before any
    // folding), for readers of the formats beyond the wave's own.
    std::uint8_t FmtBody[ExtensibleFmtBytes] = {};
    std::uint32_t FmtSize = 0; // the fmt chunk's declared size
};

// Extensible headers from current recorders describe plain 8/16-bit PCM;
// taken as such, those files load and play like any PCM file. Body holds
// at least min(BodySize, ExtensibleFmtBytes) bytes.
void FoldExtensiblePcm(TWaveFormatEx &Format, const std::uint8_t *Body, std::uint32_t BodySize);

// Walks File (an image of ImageSize bytes, positioned at its start) to the
// first "RIFF"/"WAVE" form, its "fmt " chunk and the "data" chunk after it,
// and leaves File at the data body. The fmt body's first bytes (up to 18)
// are copied over Format, so a short chunk keeps the rest of what Format
// held; Format changes as soon as the fmt chunk is read, also when the data
// chunk then fails. Raises EZuWaveInvalidWaveFile with the loader's messages.
// A data chunk larger than MaxDataBytes is refused as one the image cannot
// hold: the wave's block counts its bytes in 32 signed bits, a reader of
// its own may take all the unsigned 32 bits a RIFF size has.
template <class TRiffReader>
TWaveDataChunk WalkWaveHeaders(TRiffReader &File, std::int64_t ImageSize, TWaveFormatEx &Format,
                               std::int64_t MaxDataBytes = INT32_MAX)
{
    constexpr std::uint32_t WaveForm = MakeFourCC('W', 'A', 'V', 'E');
    constexpr std::uint32_t FmtId = MakeFourCC('f', 'm', 't', ' ');
    constexpr std::uint32_t DataId = MakeFourCC('d', 'a', 't', 'a');

    TChunkInfo Riff;
    if (!File.DescendRiff(Riff, WaveForm))
        throw EZuWaveInvalidWaveFile("TZuInternalWave.LoadFromFile:Not a waveform-audio file.");

    TChunkInfo Sub;
    if (!File.DescendChunk(Sub, Riff, FmtId))
        throw EZuWaveInvalidWaveFile("TZuInternalWave.LoadFromFile:Unable to locate fmt chunk.");
    // The whole body must lie in the image, but only the bytes the format
    // record and the extensible fields take are read: a long declared body
    // costs nothing.
    if (Sub.dwDataOffset + std::int64_t(Sub.cksize) > ImageSize)
        throw EZuWaveInvalidWaveFile("TZuInternalWave.LoadfromFile:Error reading fmt chunk.");
    TWaveDataChunk Found;
    std::uint8_t *Body = Found.FmtBody;
    Found.FmtSize = Sub.cksize;
    File.Read(Body, std::min<std::int64_t>(Sub.cksize, ExtensibleFmtBytes));
    std::memcpy(&Format, Body, std::min<std::size_t>(Sub.cksize, sizeof(Format)));
    FoldExtensiblePcm(Format, Body, Sub.cksize);
    File.Ascend(Sub);

    if (!File.DescendChunk(Sub, Riff, DataId))
        throw EZuWaveInvalidWaveFile("TZuInternalWave.LoadfromFile:Unable to locate data chunk.");
    // A body that the image cannot hold is refused before a byte of it is read.
    const std::int64_t Declared = Sub.cksize;
    if (Declared > MaxDataBytes || Sub.dwDataOffset + Declared > ImageSize)
        throw EZuWaveInvalidWaveFile("TZuInternalWave.LoadfromFile:Error reading data chunk.");
    Found.Offset = Sub.dwDataOffset;
    Found.Size = Declared;
    return Found;
}
