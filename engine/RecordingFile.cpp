#include "engine/RecordingFile.h"

#include "engine/DescriptorStream.h"
#include "engine/FormatName.h"
#include "engine/SampleFormat.h"
#include "platform/WaveContainer.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The container's faults, said of the file.
std::string Refusal(TContainerFault Fault, TWaveContainer Kind)
{
    switch (Fault) {
    case TContainerFault::NoWaveForm: return "not a WAV, RF64, Wave64 or FLAC file";
    case TContainerFault::NoFmt:
        switch (Kind) {
        case TWaveContainer::Riff: return "a RIFF file without a WAVE fmt chunk";
        case TWaveContainer::Rf64: return "an RF64 file without a fmt chunk";
        case TWaveContainer::Wave64: return "a Wave64 file without a fmt chunk";
        }
        break;
    case TContainerFault::FmtCut: return "the file ends inside its fmt chunk";
    case TContainerFault::NoData: return "no data chunk after the fmt chunk";
    case TContainerFault::DataBeforeFmt: return "no fmt chunk before the data chunk";
    case TContainerFault::DataCut: return "the file ends before the end of its data chunk (cut short?)";
    case TContainerFault::NoDs64: return "an RF64 file without its ds64 chunk";
    case TContainerFault::Ds64Cut: return "the file ends inside its ds64 chunk";
    case TContainerFault::UnknownSize: return "an RF64 chunk of unknown size before the data chunk";
    case TContainerFault::ChunkPastEnd: return "a Wave64 chunk larger than the file (cut short?)";
    case TContainerFault::HeadersCut: break;
    }
    return "the file ends inside its headers";
}

// The format the engine reads from a fmt body, or a refusal naming it.
void ApplyFmt(TSampleView &View, const std::uint8_t *Body, std::uint32_t Size)
{
    if (Size < 16)
        throw ERecordingUnreadable("the fmt chunk is too short to describe a format");
    TWaveFormatEx &Format = View.Format;
    std::memcpy(&Format, Body, 16);
    Format.cbSize = 0;
    if (Format.wFormatTag == WaveFormatExtensible && Size >= 40
        && std::memcmp(Body + 26, SubformatGuidTail, sizeof SubformatGuidTail) == 0) {
        Format.wFormatTag = static_cast<std::uint16_t>(LittleEndian(Body + 24, 2));
        View.ValidBits = static_cast<std::uint16_t>(LittleEndian(Body + 18, 2));
        View.ChannelMask = static_cast<std::uint32_t>(LittleEndian(Body + 20, 4));
        if (View.ValidBits == Format.wBitsPerSample)
            View.ValidBits = 0;
    }
    if (Format.nSamplesPerSec == 0 || Format.nSamplesPerSec > INT32_MAX)
        throw ERecordingUnreadable("an impossible sample rate of " + std::to_string(Format.nSamplesPerSec) + " Hz");
    if (EncodingOf(Format) == TSampleEncoding::None || View.ValidBits > Format.wBitsPerSample) {
        const QByteArray Raw(reinterpret_cast<const char *>(Body), std::min<std::uint32_t>(Size, 40));
        throw ERecordingUnreadable("unsupported format: " + DescribeFormat(Raw).toStdString());
    }
}

// RIFF files are refused for their chunks before their format, as the
// wave library refuses them; RF64 and Wave64 files for each fmt chunk as
// it is met.
TSampleView ReadChunks(int Handle, std::int64_t FileSize, TWaveContainer Kind)
{
    TDescriptorStream Stream(Handle, FileSize);
    TStreamBytes Image(Stream, FileSize);
    TSampleView View;
    const auto Apply = [&View](const std::uint8_t *Body, std::uint32_t Held) { ApplyFmt(View, Body, Held); };
    TWaveChunks Chunks;
    try {
        Chunks = ReadWaveChunks(Image, Kind, INT64_MAX, Kind == TWaveContainer::Riff ? TFmtSeen() : Apply);
    } catch (const EReadError &) {
        throw ERecordingUnreadable("the file ends inside its headers");
    } catch (const EContainerFault &Fault) {
        throw ERecordingUnreadable(Refusal(Fault.Fault(), Kind));
    }
    if (Kind == TWaveContainer::Riff)
        ApplyFmt(View, Chunks.FmtBody, Chunks.FmtHeld);
    View.FileOffset = Chunks.DataOffset;
    View.DataSize = Chunks.DataSize;
    return View;
}

} // namespace

TFileKind FileKindOf(const std::uint8_t *First, std::size_t Count)
{
    if (const auto Container = WaveContainerOf(First, Count)) {
        switch (*Container) {
        case TWaveContainer::Riff: return TFileKind::Riff;
        case TWaveContainer::Rf64: return TFileKind::Rf64;
        case TWaveContainer::Wave64: return TFileKind::Wave64;
        }
    }
    if (Count >= 4 && std::memcmp(First, "fLaC", 4) == 0)
        return TFileKind::Flac;
    return TFileKind::Unknown;
}

TSampleView ReadWaveLayout(int Handle, std::int64_t FileSize, TFileKind Kind)
{
    TSampleView View;
    switch (Kind) {
    case TFileKind::Riff: View = ReadChunks(Handle, FileSize, TWaveContainer::Riff); break;
    case TFileKind::Rf64: View = ReadChunks(Handle, FileSize, TWaveContainer::Rf64); break;
    case TFileKind::Wave64: View = ReadChunks(Handle, FileSize, TWaveContainer::Wave64); break;
    default: throw ERecordingUnreadable("not a WAV, RF64, Wave64 or FLAC file");
    }
    View.FileHandle = Handle;
    return View;
}
