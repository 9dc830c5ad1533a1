// Every sample format and container the engine reads, against the same
// signal in 16 bits: the areas found must be the same wherever the scaling
// is exact, and the pieces written must read back, through an independent
// reader, as the source's own samples, under a header that keeps the
// source's format and speakers.
#include "engine/ExportFolder.h"
#include "engine/FlacCodec.h"
#include "engine/MappedRecording.h"
#include "engine/Normalisation.h"
#include "engine/PieceFile.h"
#include "engine/SampleLevels.h"
#include "engine/TrimDetection.h"
#include "WavBuilder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sndfile.h>

#include <cmath>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

using namespace wavtest;

namespace {

enum class TBox { Plain, Extensible, Rf64, Wave64, Flac };

struct TFormatCase {
    std::uint16_t Tag; // 1 or 3
    int Bits;
    int Channels;
    TBox Box;
};

// Multiples of 256, so every format down to 8 bits holds them exactly.
// Bursts over quiet noise that reaches the silence level exactly (3 * 256)
// and a burst that reaches the opening level exactly (4 * 256), so a level
// carried into another scale with any rounding finds other areas. One burst
// is on the last channel only, so every channel's level must count.
std::vector<std::int16_t> Signal16(int Channels)
{
    const int Frames = 6000;
    std::vector<std::int16_t> Values(std::size_t(Frames) * Channels);
    for (int J = 0; J < Frames; ++J)
        for (int Ch = 0; Ch < Channels; ++Ch) {
            const bool Burst = (J >= 700 && J < 1900) || (J >= 3100 && J < 3500 && Ch == Channels - 1)
                || (J >= 4400 && J < 5600);
            const int Step = (J * 37 + Ch * 11) % 29 - 14;
            const bool Edge = J >= 2400 && J < 2600;
            const int K = Burst ? (J % 2 ? 1 : -1) * (4 + (J * 13 + Ch) % 120) : Edge ? 4 : Step % 4;
            Values[std::size_t(J) * Channels + Ch] = std::int16_t(std::clamp(K, -128, 127) * 256);
        }
    return Values;
}

void PutSample(Bytes &Out, std::int16_t Value, std::uint16_t Tag, int Bits)
{
    if (Tag == 3) {
        const double Scaled = Value / 32768.0;
        if (Bits == 32) {
            const float Narrow = float(Scaled);
            const auto *At = reinterpret_cast<const std::uint8_t *>(&Narrow);
            Out.insert(Out.end(), At, At + 4);
        } else {
            const auto *At = reinterpret_cast<const std::uint8_t *>(&Scaled);
            Out.insert(Out.end(), At, At + 8);
        }
        return;
    }
    if (Bits == 8) {
        Out.push_back(std::uint8_t((Value >> 8) + 128));
        return;
    }
    const std::int64_t Wide = std::int64_t(Value) << (Bits - 16);
    for (int B = 0; B < Bits / 8; ++B)
        Out.push_back(std::uint8_t(std::uint64_t(Wide) >> (8 * B)));
}

// The speakers a recorder names for each channel count; 6 is 5.1 with side
// speakers, whose mask spans more than one byte.
std::uint32_t SpeakerMask(int Channels)
{
    switch (Channels) {
    case 1: return 0x4;
    case 2: return 0x3;
    case 3: return 0x7;
    case 6: return 0x60F;
    default: return 0x63F;
    }
}

Bytes ExtensibleFmt(std::uint16_t Tag, int Channels, int Bits)
{
    Bytes Body = FmtBody(0xFFFE, std::uint16_t(Channels), 48000, std::uint16_t(Bits), true, 22);
    PutU16(Body, std::uint32_t(Bits));
    PutU32(Body, SpeakerMask(Channels));
    PutU16(Body, Tag);
    const Bytes Tail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    Body.insert(Body.end(), Tail.begin(), Tail.end());
    return Body;
}

void PutU64(Bytes &Out, std::uint64_t Value)
{
    PutU32(Out, std::uint32_t(Value));
    PutU32(Out, std::uint32_t(Value >> 32));
}

Bytes Wave64Chunk(const char (&Id)[5], const Bytes &Body)
{
    Bytes Out(Id, Id + 4);
    const Bytes Tail = {0xF3, 0xAC, 0xD3, 0x11, 0x8C, 0xD1, 0x00, 0xC0, 0x4F, 0x8E, 0xDB, 0x8A};
    Out.insert(Out.end(), Tail.begin(), Tail.end());
    PutU64(Out, Body.size() + 24);
    Out.insert(Out.end(), Body.begin(), Body.end());
    Out.resize((Out.size() + 7) & ~std::size_t(7), 0);
    return Out;
}

// Wave64 files of an odd channel count carry the 18-byte fmt chunk of older
// writers: with the odd-sized chunk every Wave64 file here holds before its
// data, the walk must step to 8-byte boundaries to find the chunks after.
Bytes SourceFmt(const TFormatCase &Case)
{
    if (Case.Box == TBox::Plain || (Case.Box == TBox::Wave64 && Case.Channels % 2 == 1))
        return FmtBody(Case.Tag, std::uint16_t(Case.Channels), 48000, std::uint16_t(Case.Bits),
                       Case.Box == TBox::Wave64);
    return ExtensibleFmt(Case.Tag, Case.Channels, Case.Bits);
}

Bytes FileOf(const TFormatCase &Case, const Bytes &Data)
{
    const Bytes Fmt = SourceFmt(Case);
    if (Case.Box == TBox::Rf64) {
        Bytes Ds64;
        PutU64(Ds64, 0);
        PutU64(Ds64, Data.size());
        PutU64(Ds64, 0);
        PutU32(Ds64, 0);
        // An odd-sized chunk before the data, read past with its pad byte.
        Bytes File = Riff("WAVE", {Chunk("ds64", Ds64), Chunk("fmt ", Fmt), Chunk("junk", Bytes(5, 0)),
                                   ChunkDeclaring("data", 0xFFFFFFFFu, Data, true)});
        std::memcpy(File.data(), "RF64", 4);
        return File;
    }
    if (Case.Box == TBox::Wave64) {
        Bytes File = {'r', 'i', 'f', 'f', 0x2E, 0x91, 0xCF, 0x11, 0xA5, 0xD6, 0x28, 0xDB, 0x04, 0xC1, 0x00, 0x00};
        const Bytes Chunks =
            Concat({Wave64Chunk("fmt ", Fmt), Wave64Chunk("junk", Bytes(5, 0)), Wave64Chunk("data", Data)});
        PutU64(File, 40 + Chunks.size());
        const Bytes Wave = Wave64Chunk("wave", {});
        File.insert(File.end(), Wave.begin(), Wave.begin() + 16);
        return Concat({File, Chunks});
    }
    return Riff("WAVE", {Chunk("fmt ", Fmt), Chunk("data", Data)});
}

// What libsndfile reads of a piece, as doubles in [-1, 1), with its format.
struct TReadBack {
    int Channels = 0, Rate = 0;
    std::vector<double> Samples;
};

TReadBack ReadWithSndfile(const QString &Path)
{
    SF_INFO Info{};
    SNDFILE *File = sf_open(Path.toLocal8Bit().constData(), SFM_READ, &Info);
    TReadBack Back;
    if (File == nullptr) {
        ADD_FAILURE() << Path.toStdString() << ": " << sf_strerror(nullptr);
        return Back;
    }
    Back.Channels = Info.channels;
    Back.Rate = Info.samplerate;
    Back.Samples.resize(std::size_t(Info.frames * Info.channels));
    EXPECT_EQ(sf_readf_double(File, Back.Samples.data(), Info.frames), Info.frames);
    sf_close(File);
    return Back;
}

void WriteCase(const std::string &Path, const TFormatCase &Case, const Bytes &Data)
{
    if (Case.Box != TBox::Flac) {
        WriteFileBytes(Path, FileOf(Case, Data));
        return;
    }
    const int Handle = ::open(Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const TFlacInfo Info{48000, Case.Channels, Case.Bits, std::int64_t(Data.size()) / (Case.Channels * Case.Bits / 8)};
    EncodeFlac(Handle, Info, Data.data(), Info.Frames);
    ::close(Handle);
}

} // namespace

TEST(FormatTable, EveryFormatFindsThe16BitAreasAndItsPiecesHoldItsOwnSamples)
{
    std::vector<TFormatCase> Cases;
    for (int Channels : {1, 2, 3, 6, 8})
        for (auto [Tag, Bits] : {std::pair{1, 8}, {1, 16}, {1, 24}, {1, 32}, {3, 32}, {3, 64}})
            for (TBox Box : {TBox::Plain, TBox::Extensible, TBox::Rf64, TBox::Wave64, TBox::Flac})
                if (Box != TBox::Flac || (Tag == 1 && Bits <= 24))
                    Cases.push_back({std::uint16_t(Tag), Bits, Channels, Box});
    TTrimSettings Settings;
    Settings.NoSoundLevel = 3 * 256;
    Settings.CutStartLevel = 4 * 256;
    Settings.BackwardSearch = 40;
    Settings.ForwardSearch = 40;
    QTemporaryDir Dir;
    for (const TFormatCase &Case : Cases) {
        const std::string Name = std::to_string(Case.Tag) + "-" + std::to_string(Case.Bits) + "-"
            + std::to_string(Case.Channels) + "-" + std::to_string(int(Case.Box));
        SCOPED_TRACE(Name);
        const std::vector<std::int16_t> Values = Signal16(Case.Channels);
        Bytes Data;
        for (std::int16_t Value : Values)
            PutSample(Data, Value, Case.Tag, Case.Bits);
        const QString Path = Dir.filePath(QString::fromStdString(Name) + ".wav");
        WriteCase(Path.toStdString(), Case, Data);

        TSampleView Reference;
        const Bytes Data16 = Samples16(Values);
        Reference.Format = {1, std::uint16_t(Case.Channels), 48000, 0, 0, 16, 0};
        Reference.Data = Data16.data();
        Reference.DataSize = std::int64_t(Data16.size());
        const std::vector<TTrimArea> Expected = DetectTrimAreas(Reference, Settings);
        ASSERT_EQ(Expected.size(), 4u);

        std::optional<TMappedRecording> Opened;
        ASSERT_NO_THROW(Opened.emplace(Path));
        const TMappedRecording &Recording = *Opened;
        const std::vector<TTrimArea> Areas = DetectTrimAreas(Recording.View(), Settings);
        ASSERT_EQ(Areas.size(), Expected.size());
        for (std::size_t I = 0; I < Areas.size(); ++I) {
            EXPECT_EQ(Areas[I].StartPos, Expected[I].StartPos);
            EXPECT_EQ(Areas[I].EndPos, Expected[I].EndPos);
        }

        const QString Folder = Dir.filePath(QString::fromStdString(Name));
        WriteExportFolder({Recording.View(), Areas.data(), std::int32_t(Areas.size()), Folder.toStdString(), {}, {}, {}});
        if (Case.Box != TBox::Flac) {
            // An extensible header where more than 16 bits or 2 channels call
            // for one, and then the source's own, speakers and all.
            const Bytes Piece = ReadFileBytes(ExportFileName(Folder, 0, Recording.View()).toStdString());
            ASSERT_GE(Piece.size(), 20u);
            EXPECT_EQ(std::string(Piece.begin() + 12, Piece.begin() + 16), "fmt ");
            const std::size_t FmtSize = Piece[16] | Piece[17] << 8;
            const bool Extensible = Case.Bits > 16 || Case.Channels > 2;
            ASSERT_EQ(FmtSize, Extensible ? 40u : 18u);
            ASSERT_GE(Piece.size(), 20 + FmtSize);
            const Bytes PieceFmt(Piece.begin() + 20, Piece.begin() + 20 + std::ptrdiff_t(FmtSize));
            EXPECT_EQ(PieceFmt[0] | PieceFmt[1] << 8, Extensible ? 0xFFFE : 1);
            if (Extensible && SourceFmt(Case).size() == 40) {
                EXPECT_EQ(PieceFmt, SourceFmt(Case));
            }
        }
        for (std::size_t I = 0; I < Areas.size(); ++I) {
            const QString Piece = ExportFileName(Folder, std::int32_t(I), Recording.View());
            EXPECT_EQ(Piece.endsWith(".flac"), Case.Box == TBox::Flac);
            const TReadBack Back = ReadWithSndfile(Piece);
            EXPECT_EQ(Back.Channels, Case.Channels);
            EXPECT_EQ(Back.Rate, 48000);
            const std::size_t First = std::size_t(Areas[I].StartPos) * Case.Channels;
            ASSERT_EQ(Back.Samples.size(), std::size_t(Areas[I].EndPos - Areas[I].StartPos) * Case.Channels);
            for (std::size_t K = 0; K < Back.Samples.size(); ++K)
                ASSERT_EQ(Back.Samples[K], Values[First + K] / 32768.0) << "sample " << K;
        }
    }
}

TEST(FormatTable, PiecesPastFourGibibytesAreRf64ThatReadsBack)
{
    QTemporaryDir Dir;
    const std::uint64_t DataBytes = (std::uint64_t(5) << 30) + 6;
    for (auto [Tag, Bits] : {std::pair{1, 16}, {1, 24}, {3, 32}}) {
        TSampleView Source;
        Source.Format = {std::uint16_t(Tag), 2, 96000, 0, 0, std::uint16_t(Bits), 0};
        const std::vector<std::uint8_t> Header = PieceHeader(Source, DataBytes);
        EXPECT_EQ(std::string(Header.begin(), Header.begin() + 4), "RF64");
        const std::string Path = Dir.filePath("large.wav").toStdString();
        WriteFileBytes(Path, Bytes(Header.begin(), Header.end()));
        ASSERT_EQ(::truncate(Path.c_str(), off_t(Header.size() + DataBytes)), 0);
        const int Handle = ::open(Path.c_str(), O_RDONLY);
        const TSampleView Read = ReadWaveLayout(Handle, std::int64_t(Header.size() + DataBytes), TFileKind::Rf64);
        ::close(Handle);
        EXPECT_EQ(Read.DataSize, std::int64_t(DataBytes));
        EXPECT_EQ(Read.FileOffset, std::int64_t(Header.size()));
        EXPECT_EQ(Read.Format.wFormatTag, Tag);
        EXPECT_EQ(Read.Format.wBitsPerSample, Bits);
        EXPECT_EQ(Read.Format.nChannels, 2);
    }
}

// The block loops detection skips silence with must give the loudest of
// their samples exactly, full-scale extremes included, whatever the run's
// length (the vector steps leave tails of every size).
TEST(FormatTable, BlockLoudestIsTheLoudestSampleInEveryEncodingAndLength)
{
    const auto Check = [](auto Codec, const Bytes &Data, const char *Name) {
        using TCodec = decltype(Codec);
        const std::int64_t Total = std::int64_t(Data.size()) / TCodec::Bytes;
        for (std::int64_t First : {0, 1, 5})
            for (std::int64_t Count = 0; First + Count <= Total; ++Count) {
                typename TCodec::TLevel Expected = 0;
                for (std::int64_t I = First; I < First + Count; ++I)
                    Expected = std::max(Expected, TCodec::Magnitude(Data.data() + I * TCodec::Bytes));
                ASSERT_EQ(TCodec::Loudest(Data.data() + First * TCodec::Bytes, Count), Expected)
                    << Name << " from " << First << ", " << Count << " samples";
            }
    };
    std::uint32_t Noise = 7;
    const auto Words = [&Noise](int Bits, std::int64_t Extreme) {
        Bytes Data;
        for (int I = 0; I < 90; ++I) {
            Noise = Noise * 1664525u + 1013904223u;
            std::int64_t Value = std::int64_t(Noise >> (32 - Bits)) - (std::int64_t(1) << (Bits - 1));
            Value = I % 31 == 30 ? Extreme : I % 3 == 0 ? Value / 1024 : Value;
            for (int B = 0; B < Bits / 8; ++B)
                Data.push_back(std::uint8_t(std::uint64_t(Value) >> (8 * B)));
        }
        return Data;
    };
    for (std::int64_t Extreme : {-(std::int64_t(1) << 23), (std::int64_t(1) << 23) - 1})
        Check(TSampleCodec<TSampleEncoding::Int24>{}, Words(24, Extreme), "24-bit");
    // The vector loops take eight samples a step: a lone extreme at each
    // place of two steps must be seen, whatever lane it falls in.
    for (int At = 0; At < 16; ++At) {
        Bytes Silence(3 * 18, 0);
        Silence[std::size_t(3 * At + 2)] = 0x80;
        ASSERT_EQ(TSampleCodec<TSampleEncoding::Int24>::Loudest(Silence.data(), 18), std::int64_t(1) << 23) << At;
    }
    for (std::int64_t Extreme : {-(std::int64_t(1) << 31), (std::int64_t(1) << 31) - 1})
        Check(TSampleCodec<TSampleEncoding::Int32>{}, Words(32, Extreme), "32-bit");
    Check(TSampleCodec<TSampleEncoding::Int16>{}, Words(16, -32768), "16-bit");
}

// A float that is not a number or is infinite counts as loud as can be, in
// the block loops, position by position and over a window, on any channel;
// normalisation scales to the loudest finite sample and leaves it alone.
TEST(FormatTable, FloatsThatAreNotFiniteAreLoudAndLeftOutOfThePeak)
{
    const double Specials[] = {std::nan(""), -std::nan(""), HUGE_VAL, -HUGE_VAL};
    const auto Put = [](Bytes &Data, std::size_t At, double Value, int Bits) {
        const float Narrow = float(Value);
        std::memcpy(Data.data() + At * std::size_t(Bits / 8), Bits == 32 ? static_cast<const void *>(&Narrow) : &Value,
                    std::size_t(Bits / 8));
    };
    const auto Get = [](const Bytes &Data, std::size_t At, int Bits) {
        float Narrow;
        double Wide;
        std::memcpy(Bits == 32 ? static_cast<void *>(&Narrow) : &Wide, Data.data() + At * std::size_t(Bits / 8),
                    std::size_t(Bits / 8));
        return Bits == 32 ? double(Narrow) : Wide;
    };
    const std::int64_t Frames = 1500, At = 700;
    for (int Bits : {32, 64})
        for (int Channels : {1, 2, 3})
            for (const double Special : Specials) {
                SCOPED_TRACE(testing::Message() << Bits << "-bit float, " << Channels << " channels, " << Special);
                Bytes Data(std::size_t(Frames * Channels * Bits / 8), 0);
                const std::size_t Sample = std::size_t(At * Channels + Channels - 1);
                Put(Data, Sample, Special, Bits);
                TSampleView View;
                const std::uint16_t Align = std::uint16_t(Channels * Bits / 8);
                View.Format = {3, std::uint16_t(Channels), 8000, 8000u * Align, Align, std::uint16_t(Bits), 0};
                View.Data = Data.data();
                View.DataSize = std::int64_t(Data.size());
                for (std::int32_t Window : {0, 8}) {
                    TTrimSettings Settings;
                    Settings.MinimumSize = 0;
                    Settings.LevelWindow = Window;
                    const std::vector<TTrimArea> Areas = DetectTrimAreas(View, Settings);
                    ASSERT_EQ(Areas.size(), 1u) << "window " << Window;
                    EXPECT_LE(Areas[0].StartPos, At) << "window " << Window;
                    EXPECT_GT(Areas[0].EndPos, At) << "window " << Window;
                }

                Put(Data, 100, 0.25, Bits);
                Put(Data, 101, -0.125, Bits);
                ASSERT_EQ(NormaliseSamples(Data.data(), View), TNormaliseResult::Scaled);
                EXPECT_EQ(Get(Data, 100, Bits), 1.0);
                EXPECT_EQ(Get(Data, 101, Bits), -0.5);
                const double After = Get(Data, Sample, Bits);
                EXPECT_TRUE(std::isnan(Special) ? std::isnan(After) : After == Special) << After;
            }
}
