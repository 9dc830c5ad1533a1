#include "MemoryRiff.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
constexpr std::uint32_t Id(const char (&S)[5])
{
    return std::uint32_t(std::uint8_t(S[0])) | std::uint32_t(std::uint8_t(S[1])) << 8
        | std::uint32_t(std::uint8_t(S[2])) << 16 | std::uint32_t(std::uint8_t(S[3])) << 24;
}
} // namespace

TEST(MemoryRiff, BuildingFixesSizesAndPadsOddBodies)
{
    std::vector<std::uint8_t> Image(12 + 8 + 3 + 1, 0xEE);
    TMemoryRiffFile File = TMemoryRiffFile::OpenCreate(Image.data(), std::int64_t(Image.size()));
    ASSERT_TRUE(File.IsOpen());
    TChunkInfo Riff;
    Riff.fccType = Id("TEST");
    ASSERT_TRUE(File.CreateChunk(Riff, true));
    TChunkInfo Sub;
    Sub.ckid = Id("abc ");
    Sub.cksize = 100; // corrected on ascend
    ASSERT_TRUE(File.CreateChunk(Sub, false));
    ASSERT_EQ(File.Write("xyz", 3), 3);
    ASSERT_TRUE(File.Ascend(Sub));
    ASSERT_TRUE(File.Ascend(Riff));
    EXPECT_EQ(Image[16], 3);      // sub-chunk size
    EXPECT_EQ(Image[23], 0);      // pad byte
    EXPECT_EQ(Image[4], 4 + 12);  // RIFF size: form type + sub-chunk with pad
    EXPECT_EQ(File.Write("!", 1), -1) << "a full image refuses further bytes";
}

TEST(MemoryRiff, WalkingStaysInsideParentAndImage)
{
    // RIFF(size 4+9+1) "TEST" [odd: 1 byte + pad] then a chunk outside the declared extent.
    std::vector<std::uint8_t> Image = {'R', 'I', 'F', 'F', 14, 0, 0, 0, 'T', 'E', 'S', 'T',
                                       'o', 'd', 'd', ' ', 1, 0, 0, 0, 7, 0,
                                       'w', 'a', 'n', 't', 0, 0, 0, 0};
    TMemoryRiffFile File = TMemoryRiffFile::OpenRead(Image.data(), std::int64_t(Image.size()));
    TChunkInfo Riff, Sub;
    ASSERT_TRUE(File.DescendRiff(Riff, Id("TEST")));
    EXPECT_EQ(File.Tell(), 12);
    EXPECT_FALSE(File.DescendChunk(Sub, Riff, Id("want")));

    File.Seek(12);
    ASSERT_TRUE(File.DescendChunk(Sub, Riff, Id("odd ")));
    File.Ascend(Sub);
    EXPECT_EQ(File.Tell(), 22) << "past the body and its pad byte";

    // A size that overruns everything ends the walk instead of wrapping.
    Image[16] = Image[17] = Image[18] = Image[19] = 0xFF;
    TMemoryRiffFile Lying = TMemoryRiffFile::OpenRead(Image.data(), std::int64_t(Image.size()));
    ASSERT_TRUE(Lying.DescendRiff(Riff, Id("TEST")));
    Riff.cksize = 0xFFFFFFFF;
    EXPECT_FALSE(Lying.DescendChunk(Sub, Riff, Id("want")));
    std::uint8_t Byte;
    Lying.Seek(1000);
    EXPECT_EQ(Lying.Read(&Byte, 1), 0);
}
