#include "platform/WaveContainer.h"

#include <algorithm>
#include <cstring>

namespace {

// Wave64 names its chunks by GUID; the first four bytes spell the RIFF id.
const std::uint8_t Wave64Riff[16] = {'r', 'i', 'f', 'f', 0x2E, 0x91, 0xCF, 0x11,
                                     0xA5, 0xD6, 0x28, 0xDB, 0x04, 0xC1, 0x00, 0x00};
const std::uint8_t Wave64Tail[12] = {0xF3, 0xAC, 0xD3, 0x11, 0x8C, 0xD1, 0x00, 0xC0, 0x4F, 0x8E, 0xDB, 0x8A};

constexpr std::uint32_t UnknownSize32 = 0xFFFFFFFFu;

std::uint32_t FourCC(const char (&Id)[5])
{
    std::uint32_t Value;
    std::memcpy(&Value, Id, 4);
    return Value; // little-endian, as the files hold them
}

bool Named(const std::uint8_t *Header, const char (&Id)[5])
{
    return std::memcmp(Header, Id, 4) == 0;
}

[[noreturn]] void Fail(TContainerFault Fault)
{
    throw EContainerFault(Fault);
}

void ReadAll(TByteSource &Source, std::int64_t Offset, void *Buffer, std::int64_t Count, TContainerFault Fault)
{
    if (Source.ReadAt(Offset, Buffer, Count) != Count)
        Fail(Fault);
}

// A fmt body's first bytes into Found, then to the caller's eye.
void ReadFmt(TByteSource &Source, std::int64_t Body, std::uint64_t Declared, TWaveChunks &Found,
             const TFmtSeen &OnFmt)
{
    const auto Held = static_cast<std::uint32_t>(std::min<std::uint64_t>(Declared, FmtBytesRead));
    std::fill(std::begin(Found.FmtBody), std::end(Found.FmtBody), std::uint8_t(0));
    ReadAll(Source, Body, Found.FmtBody, Held, TContainerFault::FmtCut);
    Found.FmtHeld = Held;
    if (OnFmt)
        OnFmt(Found.FmtBody, Held);
}

TWaveChunks Found(TWaveChunks Chunks, std::int64_t Body, std::uint64_t Size, std::int64_t MaxDataBytes,
                  std::int64_t Length)
{
    if (Size > std::uint64_t(MaxDataBytes) || Size > std::uint64_t(Length - Body))
        Fail(TContainerFault::DataCut);
    Chunks.DataOffset = Body;
    Chunks.DataSize = std::int64_t(Size);
    return Chunks;
}

TWaveChunks ReadRiff(TByteSource &Source, std::int64_t MaxDataBytes, const TFmtSeen &OnFmt)
{
    using namespace RiffChunks;
    const std::int64_t Length = Source.Length();
    TChunkInfo Riff;
    if (!FindRiff(Source, 0, FourCC("WAVE"), Riff))
        Fail(TContainerFault::NoWaveForm);
    TChunkInfo Sub;
    if (!FindSubChunk(Source, Riff.dwDataOffset + 4, Riff, FourCC("fmt "), Sub))
        Fail(TContainerFault::NoFmt);
    // The whole body must lie in the image, but only its first bytes are
    // read: a long declared body costs nothing.
    if (Sub.dwDataOffset + std::int64_t(Sub.cksize) > Length)
        Fail(TContainerFault::FmtCut);
    TWaveChunks Chunks;
    ReadFmt(Source, Sub.dwDataOffset, Sub.cksize, Chunks, OnFmt);
    if (!FindSubChunk(Source, AfterChunk(Sub, Length), Riff, FourCC("data"), Sub))
        Fail(TContainerFault::NoData);
    return Found(Chunks, Sub.dwDataOffset, Sub.cksize, MaxDataBytes, Length);
}

TWaveChunks ReadRf64(TByteSource &Source, std::int64_t MaxDataBytes, const TFmtSeen &OnFmt)
{
    const std::int64_t Length = Source.Length();
    TWaveChunks Chunks;
    std::uint64_t DataSize64 = 0;
    bool HaveDs64 = false, HaveFmt = false;
    for (std::int64_t At = 12; At + 8 <= Length;) {
        std::uint8_t Header[8];
        ReadAll(Source, At, Header, 8, TContainerFault::HeadersCut);
        const auto Size = static_cast<std::uint32_t>(LittleEndian(Header + 4, 4));
        const std::int64_t Body = At + 8;
        if (Named(Header, "ds64") && Size >= 24) {
            std::uint8_t Ds64[24];
            ReadAll(Source, Body, Ds64, 24, TContainerFault::Ds64Cut);
            DataSize64 = LittleEndian(Ds64 + 8, 8);
            HaveDs64 = true;
        } else if (Named(Header, "fmt ")) {
            ReadFmt(Source, Body, Size, Chunks, OnFmt);
            HaveFmt = true;
        } else if (Named(Header, "data")) {
            if (!HaveFmt)
                Fail(TContainerFault::DataBeforeFmt);
            if (Size == UnknownSize32 && !HaveDs64)
                Fail(TContainerFault::NoDs64);
            return Found(Chunks, Body, Size == UnknownSize32 ? DataSize64 : Size, MaxDataBytes, Length);
        }
        if (Size == UnknownSize32)
            Fail(TContainerFault::UnknownSize);
        At = Body + Size + (Size & 1u);
    }
    Fail(HaveFmt ? TContainerFault::NoData : TContainerFault::NoFmt);
}

TWaveChunks ReadWave64(TByteSource &Source, std::int64_t MaxDataBytes, const TFmtSeen &OnFmt)
{
    const std::int64_t Length = Source.Length();
    TWaveChunks Chunks;
    bool HaveFmt = false;
    for (std::int64_t At = 40; At + 24 <= Length;) {
        std::uint8_t Header[24];
        ReadAll(Source, At, Header, 24, TContainerFault::HeadersCut);
        // Sizes count the 24-byte header; the last chunk may lack its padding.
        const std::uint64_t Size = LittleEndian(Header + 16, 8);
        if (Size < 24 || Size > std::uint64_t(Length - At) + 7)
            Fail(TContainerFault::ChunkPastEnd);
        const bool Known = std::memcmp(Header + 4, Wave64Tail, sizeof Wave64Tail) == 0;
        const std::int64_t Body = At + 24;
        if (Known && Named(Header, "fmt ")) {
            ReadFmt(Source, Body, Size - 24, Chunks, OnFmt);
            HaveFmt = true;
        } else if (Known && Named(Header, "data")) {
            if (!HaveFmt)
                Fail(TContainerFault::DataBeforeFmt);
            return Found(Chunks, Body, Size - 24, MaxDataBytes, Length);
        }
        At += std::int64_t((Size + 7) & ~std::uint64_t(7));
    }
    Fail(HaveFmt ? TContainerFault::NoData : TContainerFault::NoFmt);
}

const char *Described(TContainerFault Fault)
{
    switch (Fault) {
    case TContainerFault::NoWaveForm: return "no RIFF chunk of form WAVE";
    case TContainerFault::NoFmt: return "no fmt chunk";
    case TContainerFault::FmtCut: return "the image ends inside the fmt chunk";
    case TContainerFault::NoData: return "no data chunk after the fmt chunk";
    case TContainerFault::DataBeforeFmt: return "a data chunk before the fmt chunk";
    case TContainerFault::DataCut: return "the data chunk does not fit in the image";
    case TContainerFault::NoDs64: return "a data chunk of unknown size without a ds64 chunk";
    case TContainerFault::Ds64Cut: return "the image ends inside the ds64 chunk";
    case TContainerFault::UnknownSize: return "a chunk of unknown size before the data chunk";
    case TContainerFault::ChunkPastEnd: return "a chunk size beyond the image";
    case TContainerFault::HeadersCut: return "the image ends inside a chunk header";
    }
    return "an unreadable container";
}

} // namespace

bool RiffChunks::FindRiff(TByteSource &Source, std::int64_t At, std::uint32_t FormType, TChunkInfo &Chunk)
{
    for (;;) {
        TChunkInfo Next;
        if (!Source.ReadU32(At, Next.ckid) || !Source.ReadU32(At + 4, Next.cksize))
            return false;
        Next.dwDataOffset = At + 8;
        if (Next.ckid == RiffId && Source.ReadU32(At + 8, Next.fccType) && Next.fccType == FormType) {
            Chunk = Next;
            return true;
        }
        At = PaddedEnd(Next);
    }
}

bool RiffChunks::FindSubChunk(TByteSource &Source, std::int64_t At, const TChunkInfo &Parent, std::uint32_t Id,
                              TChunkInfo &Chunk)
{
    const std::int64_t Limit = std::min(Parent.dwDataOffset + Parent.cksize, Source.Length());
    while (At + 8 <= Limit) {
        TChunkInfo Next;
        Source.ReadU32(At, Next.ckid);
        Source.ReadU32(At + 4, Next.cksize);
        Next.dwDataOffset = At + 8;
        if (Next.ckid == Id) {
            Chunk = Next;
            return true;
        }
        At = PaddedEnd(Next);
    }
    return false;
}

std::optional<TWaveContainer> WaveContainerOf(const std::uint8_t *First, std::size_t Count)
{
    if (Count >= 12 && Named(First, "RIFF") && Named(First + 8, "WAVE"))
        return TWaveContainer::Riff;
    if (Count >= 12 && (Named(First, "RF64") || Named(First, "BW64")) && Named(First + 8, "WAVE"))
        return TWaveContainer::Rf64;
    if (Count >= 40 && std::memcmp(First, Wave64Riff, 16) == 0 && Named(First + 24, "wave")
        && std::memcmp(First + 28, Wave64Tail, sizeof Wave64Tail) == 0)
        return TWaveContainer::Wave64;
    return std::nullopt;
}

EContainerFault::EContainerFault(TContainerFault Fault) : Exception(Described(Fault)), FFault(Fault)
{
}

TWaveChunks ReadWaveChunks(TByteSource &Source, TWaveContainer Kind, std::int64_t MaxDataBytes,
                           const TFmtSeen &OnFmt)
{
    switch (Kind) {
    case TWaveContainer::Riff: return ReadRiff(Source, MaxDataBytes, OnFmt);
    case TWaveContainer::Rf64: return ReadRf64(Source, MaxDataBytes, OnFmt);
    case TWaveContainer::Wave64: return ReadWave64(Source, MaxDataBytes, OnFmt);
    }
    Fail(TContainerFault::NoWaveForm);
}
