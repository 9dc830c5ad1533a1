#include "PieceFile.h"

#include <cstring>

namespace {

void PutU32(std::uint8_t *At, std::uint32_t Value)
{
    for (int I = 0; I < 4; ++I)
        At[I] = static_cast<std::uint8_t>(Value >> (8 * I));
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
    const auto Freq = static_cast<std::int32_t>(Recording.nSamplesPerSec);
    if (Freq <= 0)
        throw EZuWaveInvalidWavePara("TZuWave.Setfreq: Invalid Frequency");
    if (Recording.nChannels != 1 && Recording.nChannels != 2)
        throw EZuWaveInvalidWavePara("TZuInternalWAVE.ChangeChannels: Invalid Parameters");
    if (Recording.wBitsPerSample != 8 && Recording.wBitsPerSample != 16)
        throw EZuWaveInvalidWavePara("TZuInternalWAVE.ChangeBits: Invalid Parameters");
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
