// Writes the fuzzer's seed corpus into the directory given: well-formed WAV
// files of every layout the program handles, files with the unusual chunk
// arrangements readers meet in practice, and truncations of both. Built here
// rather than checked in, so every seed is plain to read.
#include "WavBuilder.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using wavtest::Bytes;
using wavtest::PutU16;
using wavtest::PutU32;

// Declared sizes that lie are the point of many seeds, hence the override.
Bytes Chunk(const char (&Id)[5], const Bytes &Body, bool Pad = true, std::int64_t Declared = -1)
{
    const auto Size = static_cast<std::uint32_t>(Declared < 0 ? std::int64_t(Body.size()) : Declared);
    return wavtest::ChunkDeclaring(Id, Size, Body, Pad);
}

Bytes Riff(const char (&Form)[5], const std::vector<Bytes> &Subs, std::int64_t Declared = -1)
{
    Bytes Body(Form, Form + 4);
    const Bytes Rest = wavtest::Concat(Subs);
    Body.insert(Body.end(), Rest.begin(), Rest.end());
    return Chunk("RIFF", Body, false, Declared);
}

Bytes Fmt(std::uint16_t Tag, std::uint16_t Channels, std::uint32_t Rate, std::uint16_t Bits, int Length = 16)
{
    const std::uint16_t Align = static_cast<std::uint16_t>(Channels * ((Bits + 7) / 8));
    Bytes Out;
    PutU16(Out, Tag);
    PutU16(Out, Channels);
    PutU32(Out, Rate);
    PutU32(Out, Rate * Align);
    PutU16(Out, Align);
    PutU16(Out, Bits);
    if (Length >= 18)
        PutU16(Out, static_cast<std::uint16_t>(Length - 18));
    Out.resize(static_cast<std::size_t>(Length), 0);
    return Out;
}

// WAVE_FORMAT_EXTENSIBLE with the PCM sub-format unless told otherwise.
Bytes FmtExtensible(std::uint16_t Channels, std::uint16_t Bits, std::uint16_t ValidBits, bool Pcm = true)
{
    Bytes Out = Fmt(0xFFFE, Channels, 44100, Bits, 18);
    Out[16] = 22;
    PutU16(Out, ValidBits);
    PutU32(Out, Channels == 2 ? 3 : 4);
    const std::uint8_t SubFormat[16] = {Pcm ? std::uint8_t(1) : std::uint8_t(3), 0, 0, 0, 0, 0, 0x10, 0,
                                        0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    Out.insert(Out.end(), SubFormat, SubFormat + 16);
    return Out;
}

// A short ramp in the sample coding of the width.
Bytes Samples(std::uint16_t Channels, std::uint16_t Bits, int Frames)
{
    Bytes Out;
    for (int f = 0; f < Frames; ++f)
        for (int c = 0; c < Channels; ++c) {
            const int v = (f * 37 + c * 91) % 256;
            if (Bits == 8)
                Out.push_back(static_cast<std::uint8_t>(v));
            else
                PutU16(Out, static_cast<std::uint16_t>((v - 128) * 256 + f));
        }
    return Out;
}

Bytes Pcm(std::uint16_t Channels, std::uint16_t Bits, int Frames, int FmtLength = 16)
{
    return Riff("WAVE", {Chunk("fmt ", Fmt(1, Channels, 22050, Bits, FmtLength)),
                         Chunk("data", Samples(Channels, Bits, Frames))});
}

void Write(const std::filesystem::path &Dir, const std::string &Name, const Bytes &Data)
{
    wavtest::WriteFileBytes((Dir / Name).string(), Data);
}

void WriteWithTruncations(const std::filesystem::path &Dir, const std::string &Name, const Bytes &Data)
{
    Write(Dir, Name, Data);
    for (std::size_t Cut : {std::size_t(4), std::size_t(11), std::size_t(20), std::size_t(37),
                            std::size_t(45), Data.size() - 1}) {
        if (Cut < Data.size())
            Write(Dir, Name + "-cut" + std::to_string(Cut), Bytes(Data.begin(), Data.begin() + std::ptrdiff_t(Cut)));
    }
}

} // namespace

int main(int Argc, char **Argv)
{
    if (Argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", Argv[0]);
        return 2;
    }
    const std::filesystem::path Dir = Argv[1];
    std::filesystem::create_directories(Dir);

    for (std::uint16_t Bits : {8, 16})
        for (std::uint16_t Channels : {1, 2}) {
            const std::string Layout = std::to_string(Bits) + "bit-" + (Channels == 1 ? "mono" : "stereo");
            WriteWithTruncations(Dir, "pcm-" + Layout, Pcm(Channels, Bits, 24));
            Write(Dir, "pcm-" + Layout + "-fmt18", Pcm(Channels, Bits, 7, 18));
            Write(Dir, "pcm-" + Layout + "-one-frame", Pcm(Channels, Bits, 1));
            Write(Dir, "extensible-" + Layout,
                  Riff("WAVE", {Chunk("fmt ", FmtExtensible(Channels, Bits, Bits)),
                                Chunk("data", Samples(Channels, Bits, 10))}));
        }

    const Bytes Fmt16 = Chunk("fmt ", Fmt(1, 1, 8000, 16));
    const Bytes Data16 = Chunk("data", Samples(1, 16, 12));
    Write(Dir, "empty-data", Riff("WAVE", {Fmt16, Chunk("data", {})}));
    Write(Dir, "odd-data-padded", Riff("WAVE", {Chunk("fmt ", Fmt(1, 1, 8000, 8)), Chunk("data", Samples(1, 8, 5))}));
    Write(Dir, "odd-data-unpadded-at-end",
          Riff("WAVE", {Chunk("fmt ", Fmt(1, 1, 8000, 8)), Chunk("data", Samples(1, 8, 5), false)}));
    Write(Dir, "odd-chunk-between",
          Riff("WAVE", {Fmt16, Chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'x'}), Chunk("fact", Bytes(4, 0)), Data16}));
    Write(Dir, "empty-chunk-between", Riff("WAVE", {Fmt16, Chunk("junk", {}), Data16}));
    Write(Dir, "chunk-before-fmt", Riff("WAVE", {Chunk("bext", Bytes(9, 'b')), Fmt16, Data16}));
    Write(Dir, "data-before-fmt", Riff("WAVE", {Data16, Fmt16}));
    Write(Dir, "data-twice", Riff("WAVE", {Fmt16, Data16, Chunk("data", Samples(1, 16, 3))}));
    Write(Dir, "no-data", Riff("WAVE", {Fmt16}));
    Write(Dir, "no-fmt", Riff("WAVE", {Data16}));
    Write(Dir, "fmt-empty", Riff("WAVE", {Chunk("fmt ", {}), Data16}));
    Write(Dir, "fmt-short", Riff("WAVE", {Chunk("fmt ", Bytes{1, 0, 2}), Data16}));
    Write(Dir, "fmt-long", Riff("WAVE", {Chunk("fmt ", Fmt(1, 2, 44100, 16, 50)), Data16}));
    Write(Dir, "fmt-lying-size", Riff("WAVE", {Chunk("fmt ", Fmt(1, 1, 8000, 16), true, 0x7FFFFFF0)}));
    Write(Dir, "data-lying-size", Riff("WAVE", {Fmt16, Chunk("data", Samples(1, 16, 4), true, 0xFFFFFFF0u)}));
    Write(Dir, "data-longer-than-file", Riff("WAVE", {Fmt16, Chunk("data", Samples(1, 16, 4), true, 100)}));
    Write(Dir, "riff-size-small", Riff("WAVE", {Fmt16, Data16}, 12));
    Write(Dir, "riff-size-huge", Riff("WAVE", {Fmt16, Data16}, 0xFFFFFFFFu));
    Write(Dir, "riff-size-zero", Riff("WAVE", {Fmt16, Data16}, 0));
    Write(Dir, "other-form-then-wave",
          [&] {
              return wavtest::Concat({Riff("AVI ", {Chunk("hdrl", Bytes(3, 7))}), Riff("WAVE", {Fmt16, Data16})});
          }());
    Write(Dir, "other-form-only", Riff("RMID", {Chunk("data", Bytes(6, 1))}));
    Write(Dir, "lowercase-ids", Riff("wave", {Chunk("FMT ", Fmt(1, 1, 8000, 16)), Chunk("DATA", Bytes(4, 0))}));
    Write(Dir, "float32", Riff("WAVE", {Chunk("fmt ", Fmt(3, 1, 48000, 32, 18)), Chunk("data", Bytes(16, 0x3f))}));
    Write(Dir, "pcm24-stereo", Riff("WAVE", {Chunk("fmt ", Fmt(1, 2, 48000, 24)), Chunk("data", Bytes(18, 0x11))}));
    Write(Dir, "pcm16-three-channels", Riff("WAVE", {Chunk("fmt ", Fmt(1, 3, 8000, 16)), Chunk("data", Bytes(12, 0x22))}));
    Write(Dir, "zero-channels-zero-rate", Riff("WAVE", {Chunk("fmt ", Fmt(1, 0, 0, 0)), Chunk("data", Bytes(8, 0x33))}));
    Write(Dir, "extensible-float",
          Riff("WAVE", {Chunk("fmt ", FmtExtensible(2, 16, 16, false)), Chunk("data", Bytes(8, 0x44))}));
    Write(Dir, "extensible-valid-bits-differ",
          Riff("WAVE", {Chunk("fmt ", FmtExtensible(1, 16, 12)), Chunk("data", Bytes(8, 0x55))}));
    Write(Dir, "extensible-short", Riff("WAVE", {Chunk("fmt ", Fmt(0xFFFE, 1, 8000, 16, 18)), Chunk("data", Bytes(4, 0))}));
    Write(Dir, "empty", {});
    Write(Dir, "riff-header-only", Bytes{'R', 'I', 'F', 'F'});
    return 0;
}
