#include "platform/WaveHeader.h"

namespace {

void Put(std::vector<std::uint8_t> &Out, std::uint64_t Value, int Bytes)
{
    for (int I = 0; I < Bytes; ++I)
        Out.push_back(static_cast<std::uint8_t>(Value >> (8 * I)));
}

void PutId(std::vector<std::uint8_t> &Out, const char *Id)
{
    for (int I = 0; I < 4; ++I)
        Out.push_back(static_cast<std::uint8_t>(Id[I]));
}

} // namespace

std::uint64_t RiffBytesOf(const TWaveHeaderParts &Parts)
{
    return 4 + 8 + std::uint64_t(Parts.FmtBytes) + (Parts.Fact ? 12 : 0) + 8 + Parts.DataBytes + (Parts.DataBytes & 1);
}

std::vector<std::uint8_t> WaveHeader(const TWaveHeaderParts &Parts)
{
    const std::uint64_t RiffBytes = RiffBytesOf(Parts);
    std::vector<std::uint8_t> Out;
    Out.reserve(12 + (Parts.Rf64 ? 36 : 0) + 8 + Parts.FmtBytes + (Parts.Fact ? 12 : 0) + 8);
    PutId(Out, Parts.Rf64 ? "RF64" : "RIFF");
    Put(Out, Parts.Rf64 ? 0xFFFFFFFFu : RiffBytes, 4);
    PutId(Out, "WAVE");
    if (Parts.Rf64) {
        // The RIFF size counts the ds64 chunk too.
        PutId(Out, "ds64");
        Put(Out, 28, 4);
        Put(Out, RiffBytes + 36, 8);
        Put(Out, Parts.DataBytes, 8);
        Put(Out, Parts.Frames, 8);
        Put(Out, 0, 4);
    }
    PutId(Out, "fmt ");
    Put(Out, Parts.FmtBytes, 4);
    Out.insert(Out.end(), Parts.Fmt, Parts.Fmt + Parts.FmtBytes);
    if (Parts.Fact) {
        PutId(Out, "fact");
        Put(Out, 4, 4);
        Put(Out, Parts.Frames > 0xFFFFFFFFu ? 0xFFFFFFFFu : Parts.Frames, 4);
    }
    PutId(Out, "data");
    Put(Out, Parts.Rf64 ? 0xFFFFFFFFu : Parts.DataBytes, 4);
    return Out;
}
