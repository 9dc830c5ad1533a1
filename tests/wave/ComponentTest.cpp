#include "WavBuilder.h"
#include "wave/ZuWAVE.h"

#include "platform/Streams.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

using namespace wavtest;

namespace {

struct TempDir {
    QTemporaryDir Dir;
    std::string Path(const char *Name) const { return Dir.filePath(Name).toStdString(); }
};

} // namespace

TEST(Component, NewComponentHoldsOneSilentFrame)
{
    QObject Owner;
    auto *Wave = new TZuWave(&Owner);
    EXPECT_EQ(Wave->GetFreq(), 44100);
    EXPECT_EQ(Wave->GetBits(), 16);
    EXPECT_EQ(Wave->GetChannels(), 1);
    EXPECT_EQ(Wave->GetWaveSize(), 1);
    EXPECT_EQ(Wave->GetPosValue(0, 0), 0);
    EXPECT_EQ(Wave->FInternalWave->FRefCount, 1);
    // The properties reach the same fields.
    EXPECT_EQ(Wave->property("Freq").toInt(), 44100);
    Wave->setProperty("Freq", 22050);
    EXPECT_EQ(Wave->GetFreq(), 22050);
}

TEST(Component, SetFreqChecksAndKeepsBlockAlign)
{
    TZuWave Wave(nullptr);
    for (int Bad : {0, -1}) {
        try {
            Wave.SetFreq(Bad);
            FAIL();
        } catch (const EZuWaveInvalidWavePara &E) {
            EXPECT_STREQ(E.what(), "TZuWave.Setfreq: Invalid Frequency");
        }
        EXPECT_EQ(Wave.GetFreq(), 44100);
    }
    Wave.SetFreq(1);
    EXPECT_EQ(Wave.GetFreq(), 1);

    Wave.SetFreq(44100);
    Wave.SetChannels(2);
    EXPECT_EQ(Wave.FInternalWave->FFormat.nAvgBytesPerSec, 176400u);
    Wave.SetFreq(22050);
    EXPECT_EQ(Wave.FInternalWave->FFormat.nAvgBytesPerSec, 88200u);
}

TEST(Component, SetBitsAndChannelsForwardToTheBuffer)
{
    TZuWave Wave(nullptr);
    std::uint8_t *Block = Wave.FInternalWave->FData;
    Wave.SetBits(16);
    Wave.SetChannels(1);
    EXPECT_EQ(Wave.FInternalWave->FData, Block);
    Wave.SetBits(8);
    EXPECT_EQ(Wave.GetBits(), 8);
    EXPECT_EQ(Wave.GetPosValue(0, 0), 128);
    EXPECT_THROW(Wave.SetChannels(3), EZuWaveInvalidWavePara);
}

TEST(Component, SaveAndLoadNamedFiles)
{
    TempDir Temp;
    TZuWave Source(nullptr);
    Source.SetChannels(2);
    Source.SetWaveSize(5);
    for (int p = 0; p < 5; ++p) {
        Source.SetPosValue(0, p, p * 1000 - 2000);
        Source.SetPosValue(1, p, -p);
    }
    const QString Name = Temp.Dir.filePath("a b ü.wav");
    Source.SaveToFile(Name);

    TZuWave Copy(nullptr);
    Copy.LoadFromFile(Name);
    EXPECT_EQ(std::memcmp(&Copy.FInternalWave->FFormat, &Source.FInternalWave->FFormat, 18), 0);
    ASSERT_EQ(Copy.GetWaveSize(), 5);
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(Copy.GetPosValue(0, p), p * 1000 - 2000);
        EXPECT_EQ(Copy.GetPosValue(1, p), -p);
    }
}

TEST(Component, SavingOverALongerFileLeavesOnlyTheNewImage)
{
    TempDir Temp;
    const std::string Path = Temp.Path("old.wav");
    WriteFileBytes(Path, Bytes(5000, 0x55));
    TZuWave Wave(nullptr);
    Wave.SaveToFile(QString::fromStdString(Path));
    EXPECT_EQ(ReadFileBytes(Path).size(), 48u);
}

TEST(Component, MissingFileRaisesOpenErrorAndKeepsThePreviousWave)
{
    TempDir Temp;
    TZuWave Wave(nullptr);
    Wave.SetBits(8);
    Wave.SetWaveSize(3);
    Wave.SetPosValue(0, 1, 99);
    TZuInternalWAVE *Held = Wave.FInternalWave;
    const std::string Missing = Temp.Path("missing.wav");
    try {
        Wave.LoadFromFile(QString::fromStdString(Missing));
        FAIL();
    } catch (const EFOpenError &E) {
        EXPECT_EQ(std::string(E.what()), "ファイル " + Missing + " は開けません");
    }
    EXPECT_EQ(Wave.FInternalWave, Held);
    EXPECT_EQ(Wave.GetWaveSize(), 3);
    EXPECT_EQ(Wave.GetPosValue(0, 1), 99);
}

TEST(Component, DirectoryIsNoFileToOpenOrCreate)
{
    TempDir Temp;
    TZuWave Wave(nullptr);
    EXPECT_THROW(Wave.LoadFromFile(Temp.Dir.path()), EFOpenError);
    try {
        Wave.SaveToFile(Temp.Dir.path());
        FAIL();
    } catch (const EFCreateError &E) {
        EXPECT_EQ(std::string(E.what()), "ファイル " + Temp.Dir.path().toStdString() + " を作成できません");
    }
    EXPECT_EQ(Wave.GetWaveSize(), 1);
}

TEST(Component, RejectedContentReplacesTheWaveWithAnEmptyDefault)
{
    TempDir Temp;
    const std::string Path = Temp.Path("text.wav");
    WriteFileBytes(Path, Bytes{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'});
    TZuWave Wave(nullptr);
    Wave.SetFreq(8000);
    Wave.SetChannels(2);
    try {
        Wave.LoadFromFile(QString::fromStdString(Path));
        FAIL();
    } catch (const EZuWaveInvalidWaveFile &E) {
        EXPECT_STREQ(E.what(), "TZuInternalWave.LoadFromFile:Not a waveform-audio file.");
    }
    EXPECT_EQ(Wave.GetWaveSize(), 0);
    EXPECT_EQ(Wave.GetFreq(), 44100);
    EXPECT_EQ(Wave.GetBits(), 16);
    EXPECT_EQ(Wave.GetChannels(), 1);
}

// An image loaded in place reads as the same image loaded from a stream,
// its block the image's own bytes, written where it lies; the owner lives
// while the wave holds the block. A rejected image leaves the wave as a
// rejected stream does, and lets its owner go.
TEST(Component, ImageLoadedInPlaceReadsAsFromAStreamWithoutACopy)
{
    const Bytes File = PcmFile(2, 8000, 16, Samples16({1, -2, 300, -400, 5000, -6000}));
    auto Image = std::make_shared<Bytes>(File);
    TZuWave FromStream(nullptr);
    TMemoryStream Stream(File);
    FromStream.LoadFromStream(Stream);
    TZuWave InPlace(nullptr);
    InPlace.LoadInPlace(Image->data(), std::int64_t(Image->size()), Image);
    EXPECT_EQ(Image.use_count(), 2);
    ASSERT_EQ(InPlace.GetWaveSize(), FromStream.GetWaveSize());
    EXPECT_EQ(std::memcmp(&InPlace.StoredFormat(), &FromStream.StoredFormat(), sizeof(TWaveFormatEx)), 0);
    for (std::int32_t Pos = 0; Pos < 3; ++Pos)
        for (std::int32_t Channel = 0; Channel < 2; ++Channel)
            EXPECT_EQ(InPlace.GetPosValue(Channel, Pos), FromStream.GetPosValue(Channel, Pos));
    EXPECT_EQ(InPlace.StoredData(), Image->data() + (File.size() - 12));
    InPlace.SetPosValue(1, 2, 77);
    EXPECT_EQ((*Image)[File.size() - 2], 77);

    const auto Text = std::make_shared<Bytes>(Bytes{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'});
    try {
        InPlace.LoadInPlace(Text->data(), std::int64_t(Text->size()), Text);
        FAIL();
    } catch (const EZuWaveInvalidWaveFile &E) {
        EXPECT_STREQ(E.what(), "TZuInternalWave.LoadFromFile:Not a waveform-audio file.");
    }
    EXPECT_EQ(InPlace.GetWaveSize(), 0);
    EXPECT_EQ(InPlace.GetChannels(), 1);
    EXPECT_EQ(Image.use_count(), 1);
    EXPECT_EQ(Text.use_count(), 1);
}

TEST(Component, OnNotifyIsCarriedOverByLoadsAndLengthChanges)
{
    TempDir Temp;
    const std::string Path = Temp.Path("one.wav");
    WriteFileBytes(Path, PcmFile(1, 8000, 8, {1, 2, 3}));
    int Calls = 0;
    TZuWave Wave(nullptr);
    Wave.SetOnNotify([&Calls](QObject *) { ++Calls; });
    Wave.LoadFromFile(QString::fromStdString(Path));
    ASSERT_TRUE(Wave.GetOnNotify());
    Wave.SetWaveSize(10);
    ASSERT_TRUE(Wave.GetOnNotify());
    Wave.GetOnNotify()(nullptr);
    EXPECT_EQ(Calls, 1);

    TZuWave Plain(nullptr);
    Plain.LoadFromFile(QString::fromStdString(Path));
    Plain.SetWaveSize(7);
    EXPECT_FALSE(Plain.GetOnNotify());
    Plain.SetOnNotify(nullptr);
    EXPECT_FALSE(Plain.GetOnNotify());
}

TEST(Component, UniqueWaveCopiesOnlyASharedBuffer)
{
    TZuWave A(nullptr);
    A.SetWaveSize(4);
    A.SetPosValue(0, 2, 1234);
    TZuInternalWAVE *Own = A.FInternalWave;
    A.UniqueWave();
    EXPECT_EQ(A.FInternalWave, Own);

    // Share it by hand, as no operation of the library does.
    TZuWave B(nullptr);
    B.ReleaseInternalWave();
    B.FInternalWave = Own;
    ++Own->FRefCount;
    A.SetOnNotify([](QObject *) {});
    B.SetPosValue(0, 0, 77);
    ASSERT_NE(B.FInternalWave, Own);
    EXPECT_EQ(Own->FRefCount, 1);
    EXPECT_EQ(B.FInternalWave->FRefCount, 1);
    EXPECT_EQ(B.GetPosValue(0, 2), 1234);
    EXPECT_EQ(B.GetPosValue(0, 0), 77);
    EXPECT_EQ(A.GetPosValue(0, 0), 0) << "the write reached only the private copy";
    EXPECT_TRUE(B.GetOnNotify());
}

TEST(Component, WithoutABufferEveryOperationAssertsWithItsName)
{
    TZuWave Wave(nullptr);
    Wave.ReleaseInternalWave();
    auto Message = [](const std::function<void()> &Call) -> std::string {
        try {
            Call();
        } catch (const EZuWaveAssert &E) {
            return E.what();
        }
        return "no assert";
    };
    EXPECT_EQ(Message([&] { Wave.ReleaseInternalWave(); }), "TZuWave.ReleaseInternalWave: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.UniqueWave(); }), "TZuWave.UniqueWave: InternalWave should not be Nil");
    TMemoryStream Stream;
    EXPECT_EQ(Message([&] { Wave.SaveToStream(Stream); }), "TZuWave.SaveToStream: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.Play(); }), "TZuWave.Play: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.Stop(); }), "TZuWave.Stop: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.GetFreq(); }), "TZuWave.GetFreq: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.GetBits(); }), "TZuWave.GetBits: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.GetChannels(); }), "TZuWave.GetChannels: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.GetWaveSize(); }), "TZuWave.GetWaveSize: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.SetOnNotify(nullptr); }), "TZuWave.SetOnNotify: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.GetOnNotify(); }), "TZuWave.GetOnNotify: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.SetFreq(1); }), "TZuWave.SetFreq: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.SetBits(8); }), "TZuWave.SetBits: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.SetChannels(1); }), "TZuWave.SetChannels: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.SetWaveSize(1); }), "TZuWave.SetWaveSize: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.GetPosValue(0, 0); }), "TZuWave.GetPosValue: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.SetPosValue(0, 0, 0); }), "TZuWave.SetPosValue: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.GetPosValue16(0, 0); }), "TZuWave.GetPosValue: InternalWave should not be Nil");
    EXPECT_EQ(Message([&] { Wave.SetPosValue16(0, 0, 0); }), "TZuWave.SetPosValue: InternalWave should not be Nil");

    // Loading gives it a buffer again.
    TMemoryStream File(PcmFile(1, 8000, 8, {9}));
    Wave.LoadFromStream(File);
    EXPECT_EQ(Wave.GetPosValue(0, 0), 9);
}
