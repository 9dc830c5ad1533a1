// The direct scan over the sample bytes against the per-sample scan through
// SampleLevel: the same list, work slot included, on random recordings of
// every layout and many settings, with levels on and around every threshold.
#include "DetectionSupport.h"

#include "app/Detection.h"
#include "engine/TrimDetection.h"

#include <QScrollBar>

#include <random>

using namespace apptest;

namespace {

// The engine's scan of ZU into the form's list, as the command runs it.
// False, with nothing changed, when ZU's layout is not one it reads.
bool ScanTrimAreasDirect(TForm1 &Form)
{
    const TSampleView Recording = SampleViewOf(*Form.ZU);
    if (!ZuReadableFormat(Recording.Format))
        return false;
    DetectTrimAreas(Recording, ReadTrimSettings(Form), Form.FAreas, Form.FAreaCount);
    // The window's run, asked now and then whether to go on, finds the same.
    std::vector<TTrimArea> Asked;
    std::int32_t AskedCount = 0;
    DetectTrimAreas(Recording, ReadTrimSettings(Form), Asked, AskedCount, [](double) { return true; });
    EXPECT_EQ(AskedCount, Form.FAreaCount);
    Asked.resize(std::size_t(AskedCount));
    EXPECT_EQ(Asked, std::vector<TTrimArea>(Form.FAreas.begin(), Form.FAreas.begin() + Form.FAreaCount));
    return true;
}

struct TSettings {
    int NoSound, CutStart, Width, MinSize, Back, Forward;
};

const TSettings SettingsList[] = {
    {1000, 100, 100, 100, 0, 0},     {1000, 2000, 10, 100, 0, 0},   {300, 3000, 50, 150, 40, 0},
    {2000, 2000, 100, 100, 0, 300},  {1000, 1000, 30, 400, 500, 500}, {256, 9999, 10, 100, 5000, 5000},
    {30000, 30000, 100, 100, 20, 20}, {5000, 10000, 200, 100, 100, 0},
    // Thresholds on multiples of 256, where 8-bit levels fall.
    {768, 2048, 60, 120, 10, 30},     {2560, 2560, 20, 100, 0, 0},
};

// Samples at 16-bit scale: runs of one level each, the level drawn mostly
// from the thresholds in force and their neighbours.
std::vector<std::int32_t> RandomLevels(std::mt19937 &Random, const TSettings &Settings, std::int32_t Frames)
{
    const std::int32_t Interesting[] = {0,     Settings.NoSound - 1, Settings.NoSound, Settings.NoSound + 1,
                                        Settings.CutStart - 1, Settings.CutStart, 9999, 10000,
                                        32767, 32768,          256,   512};
    std::vector<std::int32_t> Levels;
    while (std::int32_t(Levels.size()) < Frames) {
        const bool Silence = Random() % 3 == 0;
        const std::int32_t Length = Silence ? 1 + Random() % 400 : 1 + Random() % 200;
        const std::int32_t Level = Silence ? 0
            : Random() % 4 == 0           ? std::int32_t(Random() % 32769)
                                          : Interesting[Random() % std::size(Interesting)];
        Levels.insert(Levels.end(), Length, Level);
    }
    Levels.resize(Frames);
    return Levels;
}

// One sample of the given level in the file's coding, sign drawn at random;
// an 8-bit level is rounded to its nearest byte.
void PutSample(wavtest::Bytes &Data, int Bits, std::int32_t Level, bool Negative)
{
    std::int32_t Value = std::min(Level, Negative ? 32768 : 32767);
    Value = Negative ? -Value : Value;
    if (Bits == 8)
        Data.push_back(std::uint8_t((Value + 32768) / 256));
    else
        wavtest::PutU16(Data, std::uint16_t(std::int16_t(Value)));
}

wavtest::Bytes RandomRecording(std::mt19937 &Random, const TSettings &Settings, int Bits, int Channels)
{
    const std::int32_t Frames = 4000 + std::int32_t(Random() % 8000);
    const auto Left = RandomLevels(Random, Settings, Frames);
    const auto Right = RandomLevels(Random, Settings, Frames);
    wavtest::Bytes Data;
    for (std::int32_t I = 0; I < Frames; ++I) {
        PutSample(Data, Bits, Left[I], Random() % 2);
        if (Channels == 2)
            PutSample(Data, Bits, Right[I], Random() % 2);
    }
    // Sometimes part of a frame more: it is no position and must not be read.
    if (Random() % 2)
        Data.insert(Data.end(), std::size_t(Channels * Bits / 8 - 1), 0x7F);
    return wavtest::PcmFile(std::uint16_t(Channels), 22050, std::uint16_t(Bits), Data);
}

class DetectionPathsTest : public CommandTest, public ::testing::WithParamInterface<std::pair<int, int>> {
protected:
    void Apply(const TSettings &Settings)
    {
        // The no-sound level first: it raises the cut start level's minimum.
        Form->SBN->setValue(Settings.NoSound);
        Form->SBCSL->setValue(Settings.CutStart);
        Form->SBNW->setValue(Settings.Width);
        Form->SBML->setValue(Settings.MinSize);
        Form->SBMZSS->setValue(Settings.Back);
        Form->SBMZSE->setValue(Settings.Forward);
        ASSERT_EQ(Form->SBCSL->value(), Settings.CutStart);
    }
};

TEST_P(DetectionPathsTest, DirectScanGivesThePerSampleList)
{
    const auto [Bits, Channels] = GetParam();
    std::mt19937 Random(std::uint32_t(Bits * 10 + Channels));
    int Found = 0;
    for (const TSettings &Settings : SettingsList) {
        Apply(Settings);
        for (int Round = 0; Round < 4; ++Round) {
            Load(RandomRecording(Random, Settings, Bits, Channels));
            // A stale list beyond the slots a scan rewrites must not matter.
            Form->FAreas.assign(50, TTrimArea{-7, -7});
            ScanTrimAreasPerSample(*Form);
            const std::vector<TTrimArea> Expected = Form->FAreas;
            const std::int32_t ExpectedCount = Form->FAreaCount;

            Form->FAreas.assign(50, TTrimArea{-7, -7});
            ASSERT_TRUE(ScanTrimAreasDirect(*Form));
            EXPECT_EQ(Form->FAreaCount, ExpectedCount);
            EXPECT_EQ(Form->FAreas, Expected);
            Found += ExpectedCount;
        }
    }
    // The recordings are meant to give areas, or nothing was compared.
    EXPECT_GT(Found, 100);
}

INSTANTIATE_TEST_SUITE_P(Layouts, DetectionPathsTest,
                         ::testing::Values(std::pair{8, 1}, std::pair{8, 2}, std::pair{16, 1}, std::pair{16, 2}),
                         [](const auto &Info) {
                             return std::to_string(Info.param.first) + "bit" + std::to_string(Info.param.second) + "ch";
                         });

TEST_F(CommandTest, DirectScanLeavesLayoutsItCannotReadToThePerSampleScan)
{
    Load(wavtest::PcmFile(1, 44100, 12, wavtest::Bytes(300, 1)));
    Form->FAreaCount = 2;
    EXPECT_FALSE(ScanTrimAreasDirect(*Form));
    EXPECT_EQ(Form->FAreaCount, 2);
    // 8 bits on 33 channels is no layout of 16-bit mono.
    Load(wavtest::PcmFile(33, 8000, 8, wavtest::Bytes(33 * 20, 1)));
    EXPECT_FALSE(ScanTrimAreasDirect(*Form));
}

} // namespace
