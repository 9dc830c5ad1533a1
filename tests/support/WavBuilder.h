#pragma once
// Builds WAV images byte by byte, so that tests can make well-formed,
// damaged and unusual files without checked-in binaries.
#include <cstdint>
#include <string>
#include <vector>

namespace wavtest {

using Bytes = std::vector<std::uint8_t>;

void PutU16(Bytes &Out, std::uint32_t Value);
void PutU32(Bytes &Out, std::uint32_t Value);
void PutId(Bytes &Out, const char (&Id)[5]);

// One chunk: id, declared size (the body's length unless given), body, and
// a pad byte after an odd body unless NoPad.
Bytes Chunk(const char (&Id)[5], const Bytes &Body);
Bytes ChunkDeclaring(const char (&Id)[5], std::uint32_t DeclaredSize, const Bytes &Body, bool Pad);

// The 16- or 18-byte body of a "fmt " chunk.
Bytes FmtBody(std::uint16_t Tag, std::uint16_t Channels, std::uint32_t Rate, std::uint16_t Bits,
              bool WithCbSize = false, std::uint16_t CbSize = 0);

// "RIFF" <size of everything after the size field> <Form> <SubChunks...>.
Bytes Riff(const char (&Form)[5], const std::vector<Bytes> &SubChunks);

// A plain PCM file with the given data bytes.
Bytes PcmFile(std::uint16_t Channels, std::uint32_t Rate, std::uint16_t Bits, const Bytes &Data);

// 16-bit little-endian samples as bytes.
Bytes Samples16(const std::vector<std::int16_t> &Values);

Bytes ReadFileBytes(const std::string &Path);
void WriteFileBytes(const std::string &Path, const Bytes &Data);

Bytes Concat(const std::vector<Bytes> &Parts);

} // namespace wavtest
