// A recording read in place must be what the wave loader makes of the same
// file, refusals and their messages included, and must refuse what is no
// regular file without waiting on it.
#include "engine/MappedReads.h"
#include "engine/MappedRecording.h"
#include "platform/Streams.h"
#include "WavBuilder.h"
#include "wave/ZuWAVE.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <typeinfo>
#include <vector>

#include <sys/stat.h>

using namespace wavtest;

namespace {

// The format record's bytes and the samples, or the error's class and message.
std::string Describe(const TWaveFormatEx &Format, const std::uint8_t *Data, std::int64_t Size)
{
    return std::string(reinterpret_cast<const char *>(&Format), sizeof Format) + "|"
        + std::string(reinterpret_cast<const char *>(Data), std::size_t(Size));
}

std::string Failure(const std::exception &Error)
{
    return std::string(typeid(Error).name()) + ": " + Error.what();
}

std::string Loaded(const QString &Path)
{
    TZuWave Wave(nullptr);
    try {
        Wave.LoadFromFile(Path);
    } catch (const std::exception &Error) {
        return Failure(Error);
    }
    const TZuInternalWAVE &Held = *Wave.InternalWave();
    return Describe(Held.FFormat, Held.FData, Held.FDataSize);
}

std::string Mapped(const QString &Path, const Bytes &File)
{
    try {
        const TMappedRecording Recording(Path);
        const TSampleView &View = Recording.View();
        // The samples are named twice: in the mapping and in the open file.
        EXPECT_GE(View.FileHandle, 0);
        EXPECT_EQ(std::memcmp(View.Data, File.data() + View.FileOffset, std::size_t(View.DataSize)), 0);
        // The loader over the same bytes.
        TZuWave Wave(nullptr);
        TMemoryStream Image(File);
        Wave.LoadFromStream(Image);
        const TZuInternalWAVE &Held = *Wave.InternalWave();
        EXPECT_EQ(Describe(Held.FFormat, Held.FData, Held.FDataSize), Describe(View.Format, View.Data, View.DataSize));
        return Describe(View.Format, View.Data, View.DataSize);
    } catch (const std::exception &Error) {
        return Failure(Error);
    }
}

Bytes ExtensiblePcm16()
{
    Bytes Body = FmtBody(0xFFFE, 2, 48000, 16, true, 22);
    PutU16(Body, 16);
    PutU32(Body, 3);
    const Bytes Pcm = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    Body.insert(Body.end(), Pcm.begin(), Pcm.end());
    return Body;
}

} // namespace

TEST(MappedRecording, HoldsWhatTheLoaderMakesOfTheSameFileAndRefusesTheRestInPlainWords)
{
    const Bytes Data = Samples16({1, -2, 300, -400, 5000, -6000});
    const Bytes Fmt = FmtBody(1, 2, 22050, 16);
    Bytes Short = Fmt;
    Short.resize(12);
    const std::vector<Bytes> Same = {
        PcmFile(2, 44100, 16, Data),
        PcmFile(1, 8000, 8, {128, 200, 3}),
        Riff("WAVE", {Chunk("LIST", {1, 2, 3}), Chunk("fmt ", Fmt), Chunk("junk", {}), Chunk("data", Data)}),
        Riff("WAVE", {Chunk("fmt ", ExtensiblePcm16()), Chunk("data", Data)}),
        Riff("WAVE", {Chunk("fmt ", FmtBody(3, 1, 8000, 32)), Chunk("data", Data)}),
    };
    const std::string NotWave = "not a WAV, RF64, Wave64 or FLAC file";
    const std::string CutShort = "the file ends before the end of its data chunk (cut short?)";
    const std::vector<std::pair<Bytes, std::string>> Refused = {
        // Refused from the first bytes: nothing before the RIFF header is walked.
        {Concat({Chunk("JUNK", {9}), Riff("WAVE", {Chunk("fmt ", Fmt), Chunk("data", Data)})}), NotWave},
        {Riff("WAVE", {Chunk("fmt ", Short), Chunk("data", Data)}), "the fmt chunk is too short to describe a format"},
        {Riff("WAVE", {Chunk("fmt ", FmtBody(6, 1, 8000, 8)), Chunk("data", Data)}),
         "unsupported format: 8-bit A-law, 1 ch, 8000 Hz"},
        {Riff("WAVE", {Chunk("fmt ", FmtBody(1, 0, 8000, 16)), Chunk("data", Data)}),
         "unsupported format: 16-bit PCM, 0 ch, 8000 Hz"},
        {Riff("WAVE", {Chunk("fmt ", FmtBody(1, 1, 0x80000000u, 16)), Chunk("data", Data)}),
         "an impossible sample rate of 2147483648 Hz"},
        {Riff("WAVE", {Chunk("data", Data), Chunk("fmt ", Fmt)}), "no data chunk after the fmt chunk"},
        {Riff("WAVE", {Chunk("data", Data)}), "a RIFF file without a WAVE fmt chunk"},
        {Riff("AVI ", {Chunk("fmt ", Fmt), Chunk("data", Data)}), NotWave},
        {Riff("WAVE", {Chunk("fmt ", Fmt), ChunkDeclaring("data", 4000, Data, false)}), CutShort},
        {Riff("WAVE", {Chunk("fmt ", Fmt), ChunkDeclaring("data", 0x80000000u, Data, false)}), CutShort},
        {Riff("WAVE", {ChunkDeclaring("fmt ", 400, Fmt, false)}), "the file ends inside its fmt chunk"},
        {{'R', 'I', 'F'}, NotWave},
        {{}, NotWave},
    };
    QTemporaryDir Dir;
    for (std::size_t I = 0; I < Same.size(); ++I) {
        const QString Path = Dir.filePath(QString::number(I) + ".wav");
        WriteFileBytes(Path.toStdString(), Same[I]);
        EXPECT_EQ(Mapped(Path, Same[I]), Loaded(Path)) << "file " << I;
    }
    // A data chunk of nothing as the file's last 8 bytes is an empty
    // recording, not a missing chunk.
    const QString Empty = Dir.filePath("empty.wav");
    WriteFileBytes(Empty.toStdString(), Riff("WAVE", {Chunk("fmt ", Fmt), Chunk("data", {})}));
    const TMappedRecording EmptyRecording(Empty);
    EXPECT_EQ(EmptyRecording.View().DataSize, 0);
    EXPECT_EQ(EmptyRecording.View().FileOffset, 44);
    for (std::size_t I = 0; I < Refused.size(); ++I) {
        const QString Path = Dir.filePath(QString::number(I) + "-refused.wav");
        WriteFileBytes(Path.toStdString(), Refused[I].first);
        EXPECT_EQ(Mapped(Path, Refused[I].first), "20ERecordingUnreadable: " + Refused[I].second) << "file " << I;
    }
}

TEST(MappedRecording, WhatIsNoRegularFileIsRefusedWithoutWaiting)
{
    QTemporaryDir Dir;
    const QString Fifo = Dir.filePath("fifo.wav");
    ASSERT_EQ(::mkfifo(Fifo.toLocal8Bit().constData(), 0600), 0);
    const QString Held = Dir.filePath("held.wav");
    TFileStream Writer(Held.toStdString(), TFileStream::TMode::Create);

    const std::pair<QString, std::string> Cases[] = {
        {Fifo, "not a regular file (a pipe, device or socket cannot be cut)"},
        {Dir.path(), "is a directory"},
        {Dir.filePath("missing.wav"), "cannot open: No such file or directory"},
        {Held, "locked: being written by another program"},
    };
    for (const auto &[Path, Message] : Cases) {
        try {
            TMappedRecording Recording(Path);
            ADD_FAILURE() << Path.toStdString() << " was read";
        } catch (const ERecordingUnreadable &Error) {
            EXPECT_EQ(Error.what(), Message);
        }
    }
}

// Shortened by another program while it is open: a read past the new end
// finds zeros instead of killing the reader (a window painting it), and
// says so; a read inside ReadMapped still fails with the reason. The
// recording knows it has shrunk, and still knows once the file has grown
// again, since zeros were read.
TEST(MappedRecording, AFileShortenedMeanwhileReadsAsZerosPastItsNewEnd)
{
    QTemporaryDir Dir;
    const QString Path = Dir.filePath("shrinks.wav");
    const Bytes Whole = Riff("WAVE", {Chunk("fmt ", FmtBody(1, 1, 8000, 16)),
                                      Chunk("data", Samples16(std::vector<std::int16_t>(40000, 1000)))});
    WriteFileBytes(Path.toStdString(), Whole);
    const TMappedRecording Recording(Path);
    const TSampleView &View = Recording.View();
    EXPECT_FALSE(Recording.Shrank());
    ASSERT_EQ(::truncate(Path.toLocal8Bit().constData(), 4096), 0);
    EXPECT_TRUE(Recording.Shrank());
    EXPECT_THROW(ReadMapped([&] {
                     volatile std::uint8_t Last = View.Data[View.DataSize - 1];
                     (void)Last;
                 }),
                 ERecordingUnreadable);
    EXPECT_FALSE(MappedFileShrank());
    EXPECT_EQ(View.Data[View.DataSize - 1], 0);
    EXPECT_EQ(View.Data[100], 1000 & 0xFF); // before the new end: the samples
    EXPECT_TRUE(MappedFileShrank());
    ASSERT_EQ(::truncate(Path.toLocal8Bit().constData(), off_t(Whole.size())), 0);
    EXPECT_TRUE(Recording.Shrank());
}
