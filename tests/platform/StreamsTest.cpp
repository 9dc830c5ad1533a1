#include "platform/Exception.h"
#include "platform/Streams.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>

namespace {

std::string Make(const QTemporaryDir &Dir, const char *Name, const std::string &Content)
{
    const std::string Path = Dir.filePath(Name).toStdString();
    std::ofstream(Path, std::ios::binary) << Content;
    return Path;
}

} // namespace

TEST(FileStream, ReadsExactlyOrRaisesReadError)
{
    QTemporaryDir Dir;
    const std::string Path = Make(Dir, "five", "12345");
    TFileStream Stream(Path, TFileStream::TMode::OpenRead);
    EXPECT_EQ(Stream.Size(), 5);
    char Buffer[8] = {};
    Stream.ReadBuffer(Buffer, 3);
    EXPECT_EQ(std::string(Buffer, 3), "123");
    EXPECT_EQ(Stream.Position(), 3);
    try {
        Stream.ReadBuffer(Buffer, 3);
        FAIL();
    } catch (const EReadError &E) {
        EXPECT_STREQ(E.what(), "ストリームからの読み込みエラー");
    }
}

TEST(FileStream, CreateTruncatesAndWrites)
{
    QTemporaryDir Dir;
    const std::string Path = Make(Dir, "old", std::string(100, 'x'));
    {
        TFileStream Stream(Path, TFileStream::TMode::Create);
        EXPECT_EQ(Stream.Size(), 0);
        Stream.WriteBuffer("abc", 3);
    }
    std::ifstream In(Path, std::ios::binary);
    std::string Content((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    EXPECT_EQ(Content, "abc");
}

TEST(FileStream, OpenAndCreateFailuresNameTheFile)
{
    QTemporaryDir Dir;
    const std::string Missing = Dir.filePath("nope/x.wav").toStdString();
    try {
        TFileStream Stream(Missing, TFileStream::TMode::OpenRead);
        FAIL();
    } catch (const EFOpenError &E) {
        EXPECT_EQ(std::string(E.what()), "ファイル " + Missing + " は開けません");
    }
    try {
        TFileStream Stream(Missing, TFileStream::TMode::Create);
        FAIL();
    } catch (const EFCreateError &E) {
        EXPECT_EQ(std::string(E.what()), "ファイル " + Missing + " を作成できません");
    }
    // Writing into a pipe that nobody reads would block once it is full.
    const std::string Pipe = Dir.filePath("pipe.wav").toStdString();
    ASSERT_EQ(::mkfifo(Pipe.c_str(), 0600), 0);
    EXPECT_THROW(TFileStream(Pipe, TFileStream::TMode::Create), EFCreateError);
}

TEST(FileStream, ReadersShareAWriterHasTheFileAlone)
{
    QTemporaryDir Dir;
    const std::string Path = Make(Dir, "held", "data");
    {
        TFileStream Holder(Path, TFileStream::TMode::OpenRead);
        TFileStream Second(Path, TFileStream::TMode::OpenRead);
        char Got[4] = {};
        EXPECT_EQ(Second.Read(Got, 4), 4);
        EXPECT_EQ(std::string(Got, 4), "data");
        // A writer must neither get in nor empty the file it was refused.
        EXPECT_THROW(TFileStream(Path, TFileStream::TMode::Create), EFCreateError);
        EXPECT_EQ(Holder.Size(), 4);
    }
    {
        TFileStream Writer(Path, TFileStream::TMode::Create);
        EXPECT_THROW(TFileStream(Path, TFileStream::TMode::OpenRead), EFOpenError);
        EXPECT_THROW(TFileStream(Path, TFileStream::TMode::Create), EFCreateError);
    }
    EXPECT_NO_THROW(TFileStream(Path, TFileStream::TMode::OpenRead));
}

TEST(MemoryStream, ExactTransfers)
{
    TMemoryStream Stream;
    Stream.WriteBuffer("hello", 5);
    EXPECT_EQ(Stream.Size(), 5);
    Stream.SetPosition(1);
    char Buffer[4];
    Stream.ReadBuffer(Buffer, 4);
    EXPECT_EQ(std::string(Buffer, 4), "ello");
    EXPECT_THROW(Stream.ReadBuffer(Buffer, 1), EReadError);
}
