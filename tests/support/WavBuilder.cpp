#include "WavBuilder.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace wavtest {

void PutU16(Bytes &Out, std::uint32_t Value)
{
    Out.push_back(static_cast<std::uint8_t>(Value));
    Out.push_back(static_cast<std::uint8_t>(Value >> 8));
}

void PutU32(Bytes &Out, std::uint32_t Value)
{
    PutU16(Out, Value & 0xFFFF);
    PutU16(Out, Value >> 16);
}

void PutId(Bytes &Out, const char (&Id)[5])
{
    Out.insert(Out.end(), Id, Id + 4);
}

Bytes ChunkDeclaring(const char (&Id)[5], std::uint32_t DeclaredSize, const Bytes &Body, bool Pad)
{
    Bytes Out;
    PutId(Out, Id);
    PutU32(Out, DeclaredSize);
    Out.insert(Out.end(), Body.begin(), Body.end());
    if (Pad && Body.size() % 2 == 1)
        Out.push_back(0);
    return Out;
}

Bytes Chunk(const char (&Id)[5], const Bytes &Body)
{
    return ChunkDeclaring(Id, static_cast<std::uint32_t>(Body.size()), Body, true);
}

Bytes FmtBody(std::uint16_t Tag, std::uint16_t Channels, std::uint32_t Rate, std::uint16_t Bits,
              bool WithCbSize, std::uint16_t CbSize)
{
    Bytes Out;
    const std::uint16_t Align = static_cast<std::uint16_t>(Channels * (Bits / 8));
    PutU16(Out, Tag);
    PutU16(Out, Channels);
    PutU32(Out, Rate);
    PutU32(Out, Rate * Align);
    PutU16(Out, Align);
    PutU16(Out, Bits);
    if (WithCbSize)
        PutU16(Out, CbSize);
    return Out;
}

Bytes Concat(const std::vector<Bytes> &Parts)
{
    Bytes Out;
    for (const Bytes &Part : Parts)
        Out.insert(Out.end(), Part.begin(), Part.end());
    return Out;
}

Bytes Riff(const char (&Form)[5], const std::vector<Bytes> &SubChunks)
{
    Bytes Body;
    PutId(Body, Form);
    const Bytes Rest = Concat(SubChunks);
    Body.insert(Body.end(), Rest.begin(), Rest.end());
    return ChunkDeclaring("RIFF", static_cast<std::uint32_t>(Body.size()), Body, false);
}

Bytes PcmFile(std::uint16_t Channels, std::uint32_t Rate, std::uint16_t Bits, const Bytes &Data)
{
    return Riff("WAVE", {Chunk("fmt ", FmtBody(1, Channels, Rate, Bits)), Chunk("data", Data)});
}

Bytes Samples16(const std::vector<std::int16_t> &Values)
{
    Bytes Out;
    for (std::int16_t v : Values)
        PutU16(Out, static_cast<std::uint16_t>(v));
    return Out;
}

Bytes ReadFileBytes(const std::string &Path)
{
    std::ifstream In(Path, std::ios::binary);
    if (!In)
        throw std::runtime_error("cannot read " + Path);
    return Bytes(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string &Path, const Bytes &Data)
{
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out.write(reinterpret_cast<const char *>(Data.data()), static_cast<std::streamsize>(Data.size()));
    if (!Out)
        throw std::runtime_error("cannot write " + Path);
}

} // namespace wavtest
