#include "engine/PieceFile.h"

#include "engine/SampleFormat.h"
#include "platform/WaveHeader.h"
#include "wave/ZuChecks.h"

#include <iterator>

namespace {

void Put(std::vector<std::uint8_t> &Out, std::uint64_t Value, int Bytes)
{
    for (int I = 0; I < Bytes; ++I)
        Out.push_back(static_cast<std::uint8_t>(Value >> (8 * I)));
}

std::uint32_t DefaultChannelMask(int Channels)
{
    return Channels == 1 ? 0x4 : Channels == 2 ? 0x3 : 0;
}

} // namespace

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
        // The wave library's own layout, its format record as it is.
        const TWaveFormatEx Format = PieceFormat(Source);
        if (DataBytes <= 0xFFFFFFFFu - 38 - 1)
            return WaveHeader({reinterpret_cast<const std::uint8_t *>(&Format), sizeof Format, DataBytes, 0, false,
                               false});
    }
    if (Encoding == TSampleEncoding::None || Source.nSamplesPerSec == 0)
        throw EZuWaveInvalidWavePara("the recording's format cannot be written");
    const int Channels = Source.nChannels;
    const int Bits = Source.wBitsPerSample;
    const std::uint32_t BlockAlign = std::uint32_t(Channels) * (Bits / 8);
    const bool Extensible = Bits > 16 || Channels > 2 || Recording.ValidBits != 0;

    std::vector<std::uint8_t> Fmt;
    Put(Fmt, Extensible ? WaveFormatExtensible : (Float ? WaveFormatFloat : WAVE_FORMAT_PCM), 2);
    Put(Fmt, std::uint64_t(Channels), 2);
    Put(Fmt, Source.nSamplesPerSec, 4);
    Put(Fmt, std::uint64_t(Source.nSamplesPerSec) * BlockAlign, 4);
    Put(Fmt, BlockAlign, 2);
    Put(Fmt, std::uint64_t(Bits), 2);
    Put(Fmt, Extensible ? 22 : 0, 2);
    if (Extensible) {
        Put(Fmt, Recording.ValidBits != 0 ? Recording.ValidBits : Bits, 2);
        Put(Fmt, Recording.ChannelMask != 0 ? Recording.ChannelMask : DefaultChannelMask(Channels), 4);
        // The subformat GUID of the plain format tag.
        Put(Fmt, Float ? WaveFormatFloat : WAVE_FORMAT_PCM, 2);
        Fmt.insert(Fmt.end(), std::begin(SubformatGuidTail), std::end(SubformatGuidTail));
    }
    TWaveHeaderParts Parts{Fmt.data(), std::uint32_t(Fmt.size()), DataBytes, DataBytes / BlockAlign, Float, false};
    Parts.Rf64 = RiffBytesOf(Parts) > 0xFFFFFFFFu - 36;
    return WaveHeader(Parts);
}
