// "Play this trim area": which area under the right-click goes into ZU2,
// and that it then plays. Playing needs the sound server that ./test starts
// (scripts/with-pulse); without one those tests are skipped, the selection
// tests still run.
#include "DetectionSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QAction>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <optional>

using namespace apptest;

namespace {

constexpr std::uint32_t Rate = 8000;

class PlayTest : public CommandTest {
protected:
    // Pieces of two seconds and more, so that a playback outlasts a check.
    void LoadPieces()
    {
        std::vector<std::int16_t> Samples(4000, 0);
        for (int Length : {16000, 20000}) {
            for (int I = 0; I < Length; ++I)
                Samples.push_back(std::int16_t(I % 2 ? -(4000 + I % 3000) : 4000 + I % 3000));
            Samples.insert(Samples.end(), 4000, 0);
        }
        Load(wavtest::PcmFile(1, Rate, 16, wavtest::Samples16(Samples)));
        Form->N5Click();
        ASSERT_EQ(Areas(), (std::vector<TTrimArea>{{4000, 19999}, {24000, 43999}}));
    }

    void ClickAt(std::int32_t Pos)
    {
        Form->FClickPos = Pos;
        Form->Playthistrimarea1Click();
    }

    // ZU2 holds exactly the recording's bytes of Area.
    void ExpectHeld(const TTrimArea &Area)
    {
        const wavtest::Bytes Source = Held(*Form->ZU);
        const wavtest::Bytes Expected(Source.begin() + 2 * Area.StartPos, Source.begin() + 2 * Area.EndPos);
        EXPECT_TRUE(Held(*Form->ZU2) == Expected) << "ZU2 holds " << Form->ZU2->GetWaveSize() << " frames";
        EXPECT_EQ(Form->ZU2->GetFreq(), std::int32_t(Rate));
    }

    bool Playing() const { return Form->ZU2->InternalWave()->FState == 1; }

    static void RunEventsFor(int Milliseconds)
    {
        QElapsedTimer Timer;
        Timer.start();
        while (Timer.elapsed() < Milliseconds)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
};

#define REQUIRE_SOUND_SERVER()                                                                                 \
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))                                                           \
    GTEST_SKIP() << "needs the sound server: run through ./test or scripts/with-pulse"

TEST_F(PlayTest, ClickOnABoundaryOrOutsideEveryAreaPlaysNothing)
{
    LoadPieces();
    for (std::int32_t Pos : {4000, 19999, 100, 22000, 24000, 43999, 50000, -1}) {
        ClickAt(Pos);
        EXPECT_EQ(Form->ZU2->GetWaveSize(), 1) << "click at " << Pos;
        EXPECT_FALSE(Playing());
    }
}

TEST_F(PlayTest, ClickBeforeAnyDetectionPlaysNothing)
{
    ClickAt(0);
    ClickAt(50);
    EXPECT_EQ(Form->ZU2->GetWaveSize(), 1);
}

TEST_F(PlayTest, ClickInsideAnAreaPlaysThatArea)
{
    REQUIRE_SOUND_SERVER();
    LoadPieces();
    ClickAt(4001);
    ExpectHeld({4000, 19999});
    EXPECT_TRUE(Playing());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    Form->ZU2->Stop();
}

// The white column of the playhead in the view, if one is drawn.
std::optional<int> PlayheadColumn(const QImage &Image)
{
    std::optional<int> Found;
    for (int X = 0; X < Image.width(); ++X)
        if (At(Image, X, 5) == "#ffffff") {
            EXPECT_FALSE(Found) << "a second playhead at " << X;
            Found = X;
        }
    return Found;
}

TEST_F(PlayTest, PlayheadMovesWhileAnAreaPlaysAndEscapeStopsIt)
{
    REQUIRE_SOUND_SERVER();
    LoadPieces();
    Form->SBHZ->setValue(40); // the first area from column 100, 200 columns a second
    ClickAt(10000);
    ASSERT_TRUE(Playing());
    const std::optional<int> First = PlayheadColumn(View());
    ASSERT_TRUE(First);
    EXPECT_GE(*First, 100);
    EXPECT_LE(*First, 110);
    RunEventsFor(300);
    const std::optional<int> Early = PlayheadColumn(View());
    ASSERT_TRUE(Early);
    EXPECT_GE(*Early, 100 + 50);
    RunEventsFor(300);
    const std::optional<int> Later = PlayheadColumn(View());
    ASSERT_TRUE(Later);
    EXPECT_GE(*Later, *Early + 40);
    EXPECT_LE(*Later, 100 + 400); // the end of the area: the playhead never passes it

    Form->activateWindow();
    QApplication::setActiveWindow(Form.get());
    QTest::keyClick(Form.get(), Qt::Key_Escape);
    EXPECT_FALSE(Playing());
    RunEventsFor(100);
    EXPECT_FALSE(PlayheadColumn(View()));

    // The menu's item stops as the key does.
    ClickAt(30000);
    ASSERT_TRUE(Playing());
    Form->StopAction->trigger();
    EXPECT_FALSE(Playing());
    EXPECT_FALSE(PlayheadColumn(View()));

    // At one sample a column the view shows 85 ms: a playhead in sight
    // turns the page at the right edge and stays in sight.
    Form->SBHZ->setValue(1);
    Form->SB->setValue(3900);
    ClickAt(10000);
    RunEventsFor(400);
    EXPECT_GT(Form->SB->value(), 3900 + 684);
    EXPECT_TRUE(PlayheadColumn(View()));
    Form->StopAction->trigger();
}

TEST_F(PlayTest, DoubleClickInTheAreaListPlaysThatArea)
{
    REQUIRE_SOUND_SERVER();
    LoadPieces();
    // As the mouse gives it: the first click selects the row and shows
    // its area, which changes the list; the second must still be read as
    // a double click on the same row.
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    const QRect Row = Form->AreaList->visualRect(Form->AreaList->model()->index(1, 2));
    ASSERT_FALSE(Row.isEmpty()) << "the list shows the second area";
    QTest::mouseClick(Form->AreaList->viewport(), Qt::LeftButton, {}, Row.center());
    QTest::mouseDClick(Form->AreaList->viewport(), Qt::LeftButton, {}, Row.center());
    EXPECT_TRUE(Playing());
    EXPECT_EQ(Form->AreaList->currentIndex().row(), 1) << "the row clicked stays the current one";
    ExpectHeld({24000, 43999});
    Form->StopAction->trigger();
}

TEST_F(PlayTest, AnotherAreaWhilePlayingStopsTheFirstAndPlaysOn)
{
    REQUIRE_SOUND_SERVER();
    LoadPieces();
    ClickAt(10000);
    ASSERT_TRUE(Playing());
    ClickAt(43998);
    ExpectHeld({24000, 43999});
    // The notice of the stopped playback arrives now and must not end this one.
    RunEventsFor(300);
    EXPECT_TRUE(Playing());
    Form->ZU2->Stop();
}

TEST_F(PlayTest, OfOverlappingAreasTheLastInListOrderIsPlayed)
{
    REQUIRE_SOUND_SERVER();
    Form->SBMZSE->setValue(5000);
    Form->SBCSL->setValue(2000);
    // The first piece closes in a short gap of level 1000; its end search
    // reaches over the second piece to the silence after it, so both areas
    // contain the second piece's positions.
    std::vector<std::int16_t> Samples(4000, 0);
    Samples.resize(20000, 5000);
    Samples.resize(20300, 1000);
    Samples.resize(23300, -5000);
    Samples.resize(29300, 0);
    Load(wavtest::PcmFile(1, Rate, 16, wavtest::Samples16(Samples)));
    Form->N5Click();
    ASSERT_EQ(Areas(), (std::vector<TTrimArea>{{4000, 23300}, {20300, 23300}}));
    ClickAt(22000);
    ExpectHeld({20300, 23300});
    EXPECT_TRUE(Playing());
    Form->ZU2->Stop();
}

TEST_F(PlayTest, AfterAPlaybackEndedByItselfTheNextPlaysInFull)
{
    REQUIRE_SOUND_SERVER();
    // A piece of 0.1 s.
    Load(wavtest::PcmFile(1, Rate, 16, wavtest::Samples16(Levels16({{1000, 0}, {800, 6000}, {1000, 0}}))));
    Form->N5Click();
    ASSERT_EQ(Areas(), (std::vector<TTrimArea>{{1000, 1799}}));
    ClickAt(1500);
    ASSERT_TRUE(Playing());
    QElapsedTimer Timer;
    Timer.start();
    while (Playing() && Timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_FALSE(Playing()) << "the playback did not end by itself";
    ClickAt(1500);
    EXPECT_TRUE(Playing());
    ExpectHeld({1000, 1799});
    Form->ZU2->Stop();
}

TEST_F(PlayTest, WideSamplesPlayRoundedToSixteenBitsOnTwoChannelsSaidOncePerRecording)
{
    REQUIRE_SOUND_SERVER();
    // Stored 24-bit values and what they play as: to nearest, ties to even,
    // within 16 bits. Six channels, loud from 2000 to 4000 on every one;
    // only the first two carry these values.
    const std::pair<std::int32_t, std::int16_t> Rounding[] = {
        {8388607, 32767}, {-8388608, -32768}, {383, 1}, {384, 2}, {640, 2}, {-129, -1}, {-384, -2}, {128, 0}};
    wavtest::Bytes Data;
    for (int Frame = 0; Frame < 6000; ++Frame)
        for (int Ch = 0; Ch < 6; ++Ch) {
            const bool Loud = Frame >= 2000 && Frame < 4000;
            const std::int32_t Value = !Loud ? 0 : Ch < 2 ? Rounding[(Frame + 3 * Ch) % 8].first : -5000 * 256;
            for (int B = 0; B < 3; ++B)
                Data.push_back(std::uint8_t(std::uint32_t(Value) >> (8 * B)));
        }
    const wavtest::Bytes File = wavtest::PcmFile(6, Rate, 24, Data);
    const QString Notice = QStringLiteral("このwavファイルの3チャンネル目以降は再生されません");
    Load(File);
    Form->N5Click();
    ASSERT_EQ(Areas().size(), 1u);
    const TTrimArea Area = Areas()[0];
    ClickAt(3000);
    ClickAt(2500);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(Messages.count(Notice), 1);

    ASSERT_EQ(Form->ZU2->GetWaveSize(), Area.EndPos - Area.StartPos);
    EXPECT_EQ((std::vector{Form->ZU2->GetChannels(), Form->ZU2->GetBits(), Form->ZU2->GetFreq()}),
              (std::vector{2, 16, std::int32_t(Rate)}));
    for (std::int32_t P = 0; P < Form->ZU2->GetWaveSize(); ++P)
        for (int Ch = 0; Ch < 2; ++Ch)
            ASSERT_EQ(Form->ZU2->GetPosValue(Ch, P), Rounding[(Area.StartPos + P + 3 * Ch) % 8].second)
                << "frame " << Area.StartPos + P << ", channel " << Ch;

    Load(File);
    Form->N5Click();
    ClickAt(3000);
    EXPECT_EQ(Messages.count(Notice), 2);
    Form->ZU2->Stop();
}

} // namespace
