#include "wave/ZuWaveHeaders.h"

#include "platform/Streams.h"
#include "wave/ZuFileCheck.h"
#include "wave/ZuLayout.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

// KSDATAFORMAT_SUBTYPE_PCM
constexpr std::uint8_t PcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                           0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// Extensible headers from current recorders describe plain 8/16-bit PCM;
// taken as such, those files load and play like any PCM file.
void FoldExtensiblePcm(TWaveFormatEx &Format, const std::uint8_t *Body, std::uint32_t Held)
{
    if (Format.wFormatTag != WAVE_FORMAT_EXTENSIBLE || Held < FmtBytesRead)
        return;
    const std::uint16_t ValidBits = std::uint16_t(Body[18] | Body[19] << 8);
    const bool PlainPcm = std::memcmp(Body + 24, PcmSubFormat, 16) == 0
        && (Format.wBitsPerSample == 8 || Format.wBitsPerSample == 16) && ValidBits == Format.wBitsPerSample;
    if (PlainPcm) {
        Format.wFormatTag = WAVE_FORMAT_PCM;
        Format.cbSize = 0;
    }
}

const char *LoaderMessage(TContainerFault Fault)
{
    switch (Fault) {
    case TContainerFault::NoFmt: return "TZuInternalWave.LoadFromFile:Unable to locate fmt chunk.";
    case TContainerFault::FmtCut: return "TZuInternalWave.LoadfromFile:Error reading fmt chunk.";
    case TContainerFault::NoData: return "TZuInternalWave.LoadfromFile:Unable to locate data chunk.";
    case TContainerFault::DataCut: return "TZuInternalWave.LoadfromFile:Error reading data chunk.";
    default: return "TZuInternalWave.LoadFromFile:Not a waveform-audio file.";
    }
}

} // namespace

TWaveChunks WalkWaveHeaders(TByteSource &Image, TWaveFormatEx &Format)
{
    const auto Take = [&Format](const std::uint8_t *Body, std::uint32_t Held) {
        std::memcpy(&Format, Body, std::min<std::size_t>(Held, sizeof(Format)));
        FoldExtensiblePcm(Format, Body, Held);
    };
    try {
        return ReadWaveChunks(Image, TWaveContainer::Riff, INT32_MAX, Take);
    } catch (const EContainerFault &Fault) {
        throw EZuWaveInvalidWaveFile(LoaderMessage(Fault.Fault()));
    }
}

bool ZuReadableFormat(const TWaveFormatEx &Format)
{
    return ZuDetail::ReadableLayout(Format);
}

bool ZuReadsSamplesOf(TStream &Stream)
{
    try {
        Stream.SetPosition(0);
        TStreamBytes Image(Stream, Stream.Size());
        TWaveFormatEx Format{};
        WalkWaveHeaders(Image, Format);
        return ZuReadableFormat(Format);
    } catch (const Exception &) {
        return false;
    }
}
