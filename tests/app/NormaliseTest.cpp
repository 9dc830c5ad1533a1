// Raising the whole recording to a peak of 32767 from the menu: the
// rounding, the limits and a silent recording as the window shows them.
// The engine's own rules: tests/engine/NormaliseTest.cpp.
#include "DetectionSupport.h"

#include "app/PaintBox.h"

#include <QApplication>

#include <cstring>

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
