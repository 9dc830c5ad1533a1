// Raising the whole recording to a peak of 32767: the exact rounding, the
// limits, a silent recording, and the table path against the per-sample one.
#include "DetectionSupport.h"

#include "app/PaintBox.h"

#include <QApplication>

#include <algorithm>
#include <cstring>
#include <random>

using namespace apptest;

namespace {

class NormaliseTest : public CommandTest {
protected:
    // Loads 16-bit mono samples, normalises, returns the samples after.
    std::vector<std::int32_t> Normalise16(const std::vector<std::int16_t> &Samples)
    {
        Load(Mono16(Samples));
        Paints = 0;
        Form->N3Click();
        return Stored(0);
    }

    std::vector<std::int32_t> Stored(int Channel)
    {
        std::vector<std::int32_t> Values;
        for (std::int32_t P = 0; P < Form->ZU->GetWaveSize(); ++P)
            Values.push_back(Form->ZU->GetPosValue(Channel, P));
        return Values;
    }

};

TEST_F(NormaliseTest, PeakFourteenScalesWithTiesToEven)
{
    // 1/14 × 32767 is 2340.5 and 7/14 × 32767 is 16383.5: both go to the
    // even neighbour, one down and one up.
    const auto After = Normalise16({1, 14, -14, 7, -7, 0, -1, 2, 4, -4});
    EXPECT_EQ(After, (std::vector<std::int32_t>{2340, 32767, -32767, 16384, -16384, 0, -2340, 4681, 9362, -9362}));
    EXPECT_EQ(Paints, 1);
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(NormaliseTest, FullScaleNegativeSampleMovesEverythingAboveHalfOneStepInward)
{
    const auto After = Normalise16({-32768, 32767, 16385, 16384, -16384, -16385, 1, 0, -1, 100, -32767});
    EXPECT_EQ(After,
              (std::vector<std::int32_t>{-32767, 32766, 16384, 16384, -16384, -16384, 1, 0, -1, 100, -32766}));
}

TEST_F(NormaliseTest, PeakAlreadyFullIsLeftAsItWasAndSecondRunChangesNothing)
{
    std::mt19937 Random(7);
    std::vector<std::int16_t> Samples(5000);
    for (auto &Sample : Samples)
        Sample = std::int16_t(int(Random() % 20001) - 10000);
    Samples[1234] = 32767;
    std::vector<std::int32_t> Original(Samples.begin(), Samples.end());
    EXPECT_EQ(Normalise16(Samples), Original);

    Samples[1234] = 9000;
    const auto First = Normalise16(Samples);
    EXPECT_EQ(*std::max_element(First.begin(), First.end()), 32767);
    Form->N3Click();
    EXPECT_EQ(Stored(0), First);
}

TEST_F(NormaliseTest, EightBitStoredZeroLowersOnlyTheTopValues)
{
    // Every byte value on both channels; stored 0 makes the peak 32768.
    wavtest::Bytes Data;
    for (int Value = 0; Value < 256; ++Value) {
        Data.push_back(std::uint8_t(Value));
        Data.push_back(std::uint8_t(255 - Value));
    }
    Load(wavtest::PcmFile(2, 8000, 8, Data));
    Form->N3Click();
    for (int Channel = 0; Channel < 2; ++Channel) {
        const auto After = Stored(Channel);
        for (int P = 0; P < 256; ++P) {
            const int Before = Channel == 0 ? P : 255 - P;
            EXPECT_EQ(After[P], Before >= 193 ? Before - 1 : Before) << "stored " << Before;
        }
    }
}

TEST_F(NormaliseTest, NineFramesAreLeftAloneTenAreNormalised)
{
    const std::vector<std::int16_t> Nine(9, 100);
    EXPECT_EQ(Normalise16(Nine), std::vector<std::int32_t>(9, 100));
    EXPECT_EQ(Paints, 0);
    EXPECT_TRUE(Messages.isEmpty());
    const std::vector<std::int16_t> Ten(10, 100);
    EXPECT_EQ(Normalise16(Ten), std::vector<std::int32_t>(10, 32767));
    EXPECT_EQ(Paints, 1);
}

TEST_F(NormaliseTest, SilentRecordingIsLeftAsItIsWithAMessage)
{
    EXPECT_EQ(Normalise16(std::vector<std::int16_t>(50, 0)), std::vector<std::int32_t>(50, 0));
    EXPECT_EQ(Paints, 0);
    EXPECT_EQ(Messages, QStringList{"無音のため音量を変更できません"});

    Load(wavtest::PcmFile(1, 8000, 8, wavtest::Bytes(50, 128)));
    Form->N3Click();
    EXPECT_EQ(Stored(0), std::vector<std::int32_t>(50, 128));
    EXPECT_EQ(Messages.size(), 2);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(NormaliseTest, TrimAreasAreKeptAndExportTheRescaledSamples)
{
    LoadLevels({{1000, 0}, {300, 5000}, {1000, 0}});
    Form->N5Click();
    Form->N3Click();
    ASSERT_EQ(Areas(), (std::vector<TTrimArea>{{1000, 1299}}));
    EXPECT_EQ(Form->ZU->GetPosValue(0, 1000), 32767);
}

TEST_F(NormaliseTest, LayoutTheAccessRefusesEndsTheCommandWithItsError)
{
    Load(wavtest::PcmFile(1, 44100, 12, wavtest::Bytes(500, 7)));
    Paints = 0;
    EXPECT_THROW(Form->N3Click(), EZuWaveInvalidWave);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Paints, 0);
}

} // namespace
