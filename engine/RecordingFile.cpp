#include "engine/RecordingFile.h"

#include "engine/DescriptorStream.h"
#include "engine/FormatName.h"
#include "engine/SampleFormat.h"
#include "platform/StreamRiff.h"
#include "wave/ZuWaveHeaders.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

// Wave64 names its chunks by GUID; the first four bytes spell the RIFF id.
const std::uint8_t Wave64Riff[16] = {'r', 'i', 'f', 'f', 0x2E, 0x91, 0xCF, 0x11,
                                     0xA5, 0xD6, 0x28, 0xDB, 0x04, 0xC1, 0x00, 0x00};
const std::uint8_t Wave64Tail[12] = {0xF3, 0xAC, 0xD3, 0x11, 0x8C, 0xD1, 0x00, 0xC0, 0x4F, 0x8E, 0xDB, 0x8A};

std::uint64_t Little(const std::uint8_t *At, int Size)
{
    std::uint64_t Value = 0;
    for (int I = Size - 1; I >= 0; --I)
        Value = Value << 8 | At[I];
    return Value;
}

void ReadExactly(int Handle, std::int64_t Offset, void *Buffer, std::int64_t Count, const char *What)
{
    auto *Into = static_cast<std::uint8_t *>(Buffer);
    while (Count > 0) {
        const ssize_t Got = ::pread(Handle, Into, static_cast<std::size_t>(Count), Offset);
        if (Got < 0 && errno == EINTR)
            continue;
        if (Got < 0)
            throw ERecordingUnreadable(std::string("cannot read: ") + std::strerror(errno));
        if (Got == 0)
            throw ERecordingUnreadable(std::string("the file ends inside its ") + What);
        Into += Got;
        Offset += Got;
        Count -= Got;
    }
}

// The loader's refusals of a RIFF file, said of the file.
[[noreturn]] void RefuseRiff(const std::string &LoaderMessage)
{
    const auto Says = [&](const char *Part) { return LoaderMessage.find(Part) != std::string::npos; };
    if (Says("Unable to locate fmt"))
        throw ERecordingUnreadable("a RIFF file without a WAVE fmt chunk");
    if (Says("Error reading fmt"))
        throw ERecordingUnreadable("the file ends inside its fmt chunk");
    if (Says("Unable to locate data"))
        throw ERecordingUnreadable("no data chunk after the fmt chunk");
    if (Says("Error reading data"))
        throw ERecordingUnreadable("the file ends before the end of its data chunk (cut short?)");
    throw ERecordingUnreadable("not a WAV, RF64, Wave64 or FLAC file");
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
        Format.wFormatTag = static_cast<std::uint16_t>(Little(Body + 24, 2));
        View.ValidBits = static_cast<std::uint16_t>(Little(Body + 18, 2));
        View.ChannelMask = static_cast<std::uint32_t>(Little(Body + 20, 4));
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

TSampleView ReadRiff(int Handle, std::int64_t FileSize)
{
    TDescriptorStream Stream(Handle, FileSize);
    TStreamRiffReader File(Stream, FileSize);
    File.Seek(0);
    TWaveFormatEx Ignored{};
    TWaveDataChunk Data;
    try {
        Data = WalkWaveHeaders(File, FileSize, Ignored, UINT32_MAX);
    } catch (const EReadError &) {
        throw ERecordingUnreadable("the file ends inside its headers");
    } catch (const EZuWaveInvalidWaveFile &Error) {
        RefuseRiff(Error.what());
    }
    TSampleView View;
    ApplyFmt(View, Data.FmtBody, Data.FmtSize);
    View.FileOffset = Data.Offset;
    View.DataSize = Data.Size;
    return View;
}

// RF64 and BW64: RIFF chunks whose sizes of 0xFFFFFFFF stand for the 64-bit
// sizes of the "ds64" chunk that comes first.
TSampleView ReadRf64(int Handle, std::int64_t FileSize)
{
    TSampleView View;
    std::int64_t At = 12;
    std::uint64_t DataSize64 = 0;
    bool HaveDs64 = false, HaveFmt = false;
    while (At + 8 <= FileSize) {
        std::uint8_t Header[8];
        ReadExactly(Handle, At, Header, 8, "headers");
        const std::uint32_t Size = static_cast<std::uint32_t>(Little(Header + 4, 4));
        const std::int64_t Body = At + 8;
        if (std::memcmp(Header, "ds64", 4) == 0 && Size >= 24) {
            std::uint8_t Ds64[24];
            ReadExactly(Handle, Body, Ds64, 24, "ds64 chunk");
            DataSize64 = Little(Ds64 + 8, 8);
            HaveDs64 = true;
        } else if (std::memcmp(Header, "fmt ", 4) == 0) {
            std::uint8_t Fmt[40] = {};
            ReadExactly(Handle, Body, Fmt, std::min<std::uint32_t>(Size, 40), "fmt chunk");
            ApplyFmt(View, Fmt, Size);
            HaveFmt = true;
        } else if (std::memcmp(Header, "data", 4) == 0) {
            if (!HaveFmt)
                throw ERecordingUnreadable("no fmt chunk before the data chunk");
            if (Size == 0xFFFFFFFFu && !HaveDs64)
                throw ERecordingUnreadable("an RF64 file without its ds64 chunk");
            const std::uint64_t Bytes = Size == 0xFFFFFFFFu ? DataSize64 : Size;
            if (Bytes > std::uint64_t(FileSize - Body))
                throw ERecordingUnreadable("the file ends before the end of its data chunk (cut short?)");
            View.FileOffset = Body;
            View.DataSize = std::int64_t(Bytes);
            return View;
        }
        if (Size == 0xFFFFFFFFu)
            throw ERecordingUnreadable("an RF64 chunk of unknown size before the data chunk");
        At = Body + Size + (Size & 1u);
    }
    throw ERecordingUnreadable(HaveFmt ? "no data chunk after the fmt chunk" : "an RF64 file without a fmt chunk");
}

// Wave64: GUID-named chunks with 64-bit sizes that count their 24-byte
// header, each starting on an 8-byte boundary.
TSampleView ReadWave64(int Handle, std::int64_t FileSize)
{
    TSampleView View;
    std::int64_t At = 40;
    bool HaveFmt = false;
    while (At + 24 <= FileSize) {
        std::uint8_t Header[24];
        ReadExactly(Handle, At, Header, 24, "headers");
        const std::uint64_t Size = Little(Header + 16, 8);
        if (Size < 24 || Size > std::uint64_t(FileSize - At) + 7)
            throw ERecordingUnreadable("a Wave64 chunk larger than the file (cut short?)");
        const bool Known = std::memcmp(Header + 4, Wave64Tail, sizeof Wave64Tail) == 0;
        const std::int64_t Body = At + 24;
        const std::int64_t BodySize = std::int64_t(Size) - 24;
        if (Known && std::memcmp(Header, "fmt ", 4) == 0) {
            std::uint8_t Fmt[40] = {};
            ReadExactly(Handle, Body, Fmt, std::min<std::int64_t>(BodySize, 40), "fmt chunk");
            ApplyFmt(View, Fmt, static_cast<std::uint32_t>(std::min<std::int64_t>(BodySize, 40)));
            HaveFmt = true;
        } else if (Known && std::memcmp(Header, "data", 4) == 0) {
            if (!HaveFmt)
                throw ERecordingUnreadable("no fmt chunk before the data chunk");
            if (BodySize > FileSize - Body)
                throw ERecordingUnreadable("the file ends before the end of its data chunk (cut short?)");
            View.FileOffset = Body;
            View.DataSize = BodySize;
            return View;
        }
        At += std::int64_t((Size + 7) & ~std::uint64_t(7));
    }
    throw ERecordingUnreadable(HaveFmt ? "no data chunk after the fmt chunk" : "a Wave64 file without a fmt chunk");
}

} // namespace

TFileKind FileKindOf(const std::uint8_t *First, std::size_t Count)
{
    if (Count >= 12 && std::memcmp(First, "RIFF", 4) == 0 && std::memcmp(First + 8, "WAVE", 4) == 0)
        return TFileKind::Riff;
    if (Count >= 12 && (std::memcmp(First, "RF64", 4) == 0 || std::memcmp(First, "BW64", 4) == 0)
        && std::memcmp(First + 8, "WAVE", 4) == 0)
        return TFileKind::Rf64;
    if (Count >= 40 && std::memcmp(First, Wave64Riff, 16) == 0 && std::memcmp(First + 24, "wave", 4) == 0
        && std::memcmp(First + 28, Wave64Tail, sizeof Wave64Tail) == 0)
        return TFileKind::Wave64;
    if (Count >= 4 && std::memcmp(First, "fLaC", 4) == 0)
        return TFileKind::Flac;
    return TFileKind::Unknown;
}

TSampleView ReadWaveLayout(int Handle, std::int64_t FileSize, TFileKind Kind)
{
    TSampleView View;
    switch (Kind) {
    case TFileKind::Riff: View = ReadRiff(Handle, FileSize); break;
    case TFileKind::Rf64: View = ReadRf64(Handle, FileSize); break;
    case TFileKind::Wave64: View = ReadWave64(Handle, FileSize); break;
    default: throw ERecordingUnreadable("not a WAV, RF64, Wave64 or FLAC file");
    }
    View.FileHandle = Handle;
    return View;
}
