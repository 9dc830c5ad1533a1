#include "engine/PieceFile.h"

#include "engine/SampleFormat.h"
#include "wave/ZuChecks.h"

#include <cstring>
#include <iterator>

namespace {

void PutU32(std::uint8_t *At, std::uint32_t Value)
{
    for (int I = 0; I < 4; ++I)
        At[I] = static_cast<std::uint8_t>(Value >> (8 * I));
}

void Put(std::vector<std::uint8_t> &Out, std::uint64_t Value, int Bytes)
{
    for (int I = 0; I < Bytes; ++I)
        Out.push_back(static_cast<std::uint8_t>(Value >> (8 * I)));
}

void PutId(std::vector<std::uint8_t> &Out, const char *Id)
{
    Out.insert(Out.end(), Id, Id + 4);
}

std::uint32_t DefaultChannelMask(int Channels)
{
    return Channels == 1 ? 0x4 : Channels == 2 ? 0x3 : 0;
}

} // namespace

std::array<std::uint8_t, WaveFileHeaderBytes> WaveFileHeader(const TWaveFormatEx &Format, std::uint32_t DataBytes)
{
    std::array<std::uint8_t, WaveFileHeaderBytes> Header{};
    std::memcpy(Header.data(), "RIFF", 4);
    PutU32(Header.data() + 4, DataBytes + (DataBytes & 1) + 38);
    std::memcpy(Header.data() + 8, "WAVEfmt ", 8);
    PutU32(Header.data() + 16, sizeof(TWaveFormatEx));
    std::memcpy(Header.data() + 20, &Format, sizeof(TWaveFormatEx));
    std::memcpy(Header.data() + 38, "data", 4);
    PutU32(Header.data() + 42, DataBytes);
    return Header;
}

TWaveFormatEx PieceFormat(const TWaveFormatEx &Recording)
{
    // The scratch wave's record only ever comes from CreateWAVE and the
    // setters, which leave it in this one form for a given layout; the
    // checks are the setters', in their order.
    ZuChecks::Frequency(static_cast<std::int32_t>(Recording.nSamplesPerSec));
    ZuChecks::Channels(Recording.nChannels);
    ZuChecks::Bits(Recording.wBitsPerSample);
    TWaveFormatEx Format{};
    Format.wFormatTag = WAVE_FORMAT_PCM;
    Format.nChannels = Recording.nChannels;
    Format.nSamplesPerSec = Recording.nSamplesPerSec;
    Format.wBitsPerSample = Recording.wBitsPerSample;
    Format.nBlockAlign = static_cast<std::uint16_t>(Format.nChannels * (Format.wBitsPerSample / 8));
    Format.nAvgBytesPerSec = Format.nSamplesPerSec * Format.nBlockAlign;
    Format.cbSize = 0;
    return Format;
}

std::vector<std::uint8_t> PieceHeader(const TSampleView &Recording, std::uint64_t DataBytes)
{
    const TWaveFormatEx &Source = Recording.Format;
    const TSampleEncoding Encoding = EncodingOf(Source);
    const bool Float = IsFloat(Encoding);
    if (!Float && Source.wBitsPerSample <= 16 && Source.nChannels <= 2 && Recording.ValidBits == 0) {
        const auto Legacy = WaveFileHeader(PieceFormat(Source), static_cast<std::uint32_t>(DataBytes));
        if (DataBytes <= 0xFFFFFFFFu - 38 - 1)
            return {Legacy.begin(), Legacy.end()};
    }
    if (Encoding == TSampleEncoding::None || Source.nSamplesPerSec == 0)
        throw EZuWaveInvalidWavePara("the recording's format cannot be written");
    const int Channels = Source.nChannels;
    const int Bits = Source.wBitsPerSample;
    const std::uint32_t BlockAlign = std::uint32_t(Channels) * (Bits / 8);
    const std::uint64_t Frames = DataBytes / BlockAlign;
    const bool Extensible = Bits > 16 || Channels > 2 || Recording.ValidBits != 0;
    const std::uint32_t FmtBytes = Extensible ? 40 : 18;
    const std::uint32_t FactBytes = Float ? 12 : 0;
    const std::uint64_t Pad = DataBytes & 1;
    // What the RIFF size would count: everything after its own field.
    const std::uint64_t RiffBytes = 4 + 8 + FmtBytes + FactBytes + 8 + DataBytes + Pad;
    const bool Large = RiffBytes > 0xFFFFFFFFu - 36;

    std::vector<std::uint8_t> Out;
    PutId(Out, Large ? "RF64" : "RIFF");
    Put(Out, Large ? 0xFFFFFFFFu : RiffBytes, 4);
    PutId(Out, "WAVE");
    if (Large) {
        PutId(Out, "ds64");
        Put(Out, 28, 4);
        Put(Out, RiffBytes + 36, 8);
        Put(Out, DataBytes, 8);
        Put(Out, Frames, 8);
        Put(Out, 0, 4);
    }
    PutId(Out, "fmt ");
    Put(Out, FmtBytes, 4);
    Put(Out, Extensible ? WaveFormatExtensible : (Float ? WaveFormatFloat : WAVE_FORMAT_PCM), 2);
    Put(Out, std::uint64_t(Channels), 2);
    Put(Out, Source.nSamplesPerSec, 4);
    Put(Out, std::uint64_t(Source.nSamplesPerSec) * BlockAlign, 4);
    Put(Out, BlockAlign, 2);
    Put(Out, std::uint64_t(Bits), 2);
    Put(Out, Extensible ? 22 : 0, 2);
    if (Extensible) {
        Put(Out, Recording.ValidBits != 0 ? Recording.ValidBits : Bits, 2);
        Put(Out, Recording.ChannelMask != 0 ? Recording.ChannelMask : DefaultChannelMask(Channels), 4);
        // The subformat GUID of the plain format tag.
        Put(Out, Float ? WaveFormatFloat : WAVE_FORMAT_PCM, 2);
        Out.insert(Out.end(), std::begin(SubformatGuidTail), std::end(SubformatGuidTail));
    }
    if (Float) {
        PutId(Out, "fact");
        Put(Out, 4, 4);
        Put(Out, Frames > 0xFFFFFFFFu ? 0xFFFFFFFFu : Frames, 4);
    }
    PutId(Out, "data");
    Put(Out, Large ? 0xFFFFFFFFu : DataBytes, 4);
    return Out;
}
