// The container parser over an image in memory and over the same bytes in
// a file on disk: both sources find the same chunks and the same faults.
#include "WavBuilder.h"

#include "platform/Streams.h"
#include "platform/WaveContainer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

using namespace wavtest;

namespace {

struct TOutcome {
    std::int64_t DataOffset = -1, DataSize = -1;
    std::optional<TContainerFault> Fault;
    Bytes Fmt; // every fmt body the walk reported, in order
    bool operator==(const TOutcome &) const = default;
};

TOutcome Parse(TByteSource &Source, TWaveContainer Kind)
{
    TOutcome Outcome;
    const auto Seen = [&](const std::uint8_t *Body, std::uint32_t Held) {
        Outcome.Fmt.insert(Outcome.Fmt.end(), Body, Body + Held);
    };
    try {
        const TWaveChunks Chunks = ReadWaveChunks(Source, Kind, INT64_MAX, Seen);
        Outcome.DataOffset = Chunks.DataOffset;
        Outcome.DataSize = Chunks.DataSize;
    } catch (const EContainerFault &Error) {
        Outcome.Fault = Error.Fault();
    }
    return Outcome;
}

// An RF64 image: the RIFF layout under the RF64 id, sizes unknown.
Bytes Rf64(const std::vector<Bytes> &SubChunks)
{
    Bytes Image = Riff("WAVE", SubChunks);
    std::copy_n("RF64\xFF\xFF\xFF\xFF", 8, Image.begin());
    return Image;
}

Bytes Ds64(std::uint64_t DataSize)
{
    Bytes Body(28, 0);
    for (int I = 0; I < 8; ++I)
        Body[std::size_t(8 + I)] = std::uint8_t(DataSize >> (8 * I));
    return Chunk("ds64", Body);
}

} // namespace

TEST(WaveContainer, MemoryAndFileSourcesAgreeOnChunksAndFaults)
{
    const Bytes Fmt = Chunk("fmt ", FmtBody(1, 1, 8000, 16));
    const Bytes Data = Chunk("data", Bytes(6, 0x11));
    const Bytes Unknown = ChunkDeclaring("data", 0xFFFFFFFFu, Bytes(6, 0x11), false);
    const struct {
        const char *Name;
        TWaveContainer Kind;
        Bytes Image;
        std::optional<TContainerFault> Fault;
    } Cases[] = {
        {"plain", TWaveContainer::Riff, Riff("WAVE", {Chunk("junk", Bytes(3, 0)), Fmt, Data}), std::nullopt},
        {"other form", TWaveContainer::Riff, Riff("AVI ", {Fmt, Data}), TContainerFault::NoWaveForm},
        {"no fmt", TWaveContainer::Riff, Riff("WAVE", {Data}), TContainerFault::NoFmt},
        {"data first", TWaveContainer::Riff, Riff("WAVE", {Data, Fmt}), TContainerFault::NoData},
        {"fmt past end", TWaveContainer::Riff, Riff("WAVE", {ChunkDeclaring("fmt ", 400, FmtBody(1, 1, 8000, 16), false)}),
         TContainerFault::FmtCut},
        {"data past end", TWaveContainer::Riff, Riff("WAVE", {Fmt, ChunkDeclaring("data", 100, Bytes(6, 0), false)}),
         TContainerFault::DataCut},
        {"rf64", TWaveContainer::Rf64, Rf64({Ds64(6), Fmt, Unknown}), std::nullopt},
        {"rf64 no ds64", TWaveContainer::Rf64, Rf64({Fmt, Unknown}), TContainerFault::NoDs64},
        {"rf64 data first", TWaveContainer::Rf64, Rf64({Data, Fmt}), TContainerFault::DataBeforeFmt},
        {"rf64 unknown size", TWaveContainer::Rf64,
         Rf64({Fmt, ChunkDeclaring("junk", 0xFFFFFFFFu, {}, false), Data}), TContainerFault::UnknownSize},
        {"rf64 no data", TWaveContainer::Rf64, Rf64({Fmt}), TContainerFault::NoData},
    };
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    for (const auto &Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TMemoryBytes Memory(Case.Image.data(), std::int64_t(Case.Image.size()));
        const TOutcome FromMemory = Parse(Memory, Case.Kind);
        EXPECT_EQ(FromMemory.Fault, Case.Fault);
        if (!Case.Fault) {
            EXPECT_EQ(FromMemory.DataSize, 6);
            EXPECT_EQ(Bytes(Case.Image.begin() + FromMemory.DataOffset - 8, Case.Image.begin() + FromMemory.DataOffset - 4),
                      Bytes({'d', 'a', 't', 'a'}));
            EXPECT_EQ(FromMemory.Fmt, FmtBody(1, 1, 8000, 16));
        }
        const std::string Path = Dir.filePath("image.wav").toStdString();
        WriteFileBytes(Path, Case.Image);
        TFileStream File(Path, TFileStream::TMode::OpenRead);
        TStreamBytes Stream(File, File.Size());
        EXPECT_EQ(Parse(Stream, Case.Kind), FromMemory);
    }
}

TEST(WaveContainer, StreamShorterThanItsImageRaisesReadError)
{
    const Bytes Image = PcmFile(1, 8000, 16, Bytes(6, 0));
    TMemoryStream Stream(Image);
    TStreamBytes Claimed(Stream, std::int64_t(Image.size()) + 100);
    std::uint8_t Byte[1];
    EXPECT_THROW(Claimed.ReadAt(std::int64_t(Image.size()) + 10, Byte, 1), EReadError);
    EXPECT_EQ(Claimed.ReadAt(std::int64_t(Image.size()) + 100, Byte, 1), 0) << "past the image: nothing, no error";
}
