// The waveform view, read back pixel by pixel at the designed size
// (684 × 426: mid line y 213, centre column x 342).
#include "WindowTestSupport.h"

#include "app/PaintBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>

using namespace apptest;

namespace {

const std::string Black = "#000000";
const std::string Lime = "#00ff00";
const std::string Green = "#008000";
const std::string Red = "#ff0000";
const std::string Yellow = "#ffff00";
const std::string Magenta = "#ff00ff";
const std::string BandFill = "#003f00";
const std::string BandLeft = "#80bf00";
const std::string Olive = "#808000";

constexpr int MidY = 213;
constexpr int CentreX = 342;

class ViewTest : public FormTest {};

} // namespace

TEST_F(ViewTest, GuideMarksAtTheDefaults)
{
    const QImage Image = View();
    // Mid line, and full scale 128 pixels above and below it.
    for (int Y : {MidY, MidY - 128, MidY + 128})
        EXPECT_EQ(At(Image, 200, Y), Lime) << Y;
    for (int Y : {MidY - 129, MidY - 127, MidY + 127, MidY + 129})
        EXPECT_EQ(At(Image, 200, Y), Black) << Y;

    // No-sound bracket 3 pixels out, from column 100 to just before W - 100.
    EXPECT_EQ(At(Image, 200, MidY - 3), Green);
    EXPECT_EQ(At(Image, 200, MidY + 3), Green);
    EXPECT_EQ(At(Image, 200, MidY - 2), Black);
    EXPECT_EQ(At(Image, 100, MidY - 3), Green);
    EXPECT_EQ(At(Image, 583, MidY - 3), Green);
    EXPECT_EQ(At(Image, 584, MidY - 3), Black);
    EXPECT_EQ(At(Image, 99, MidY - 3), Black);
    EXPECT_EQ(At(Image, 100, MidY - 1), Green);
    EXPECT_EQ(At(Image, 100, MidY + 2), Green);

    // Centre column over the whole height; lime merged over green stays lime.
    EXPECT_EQ(At(Image, CentreX, 0), Green);
    EXPECT_EQ(At(Image, CentreX, 425), Green);
    EXPECT_EQ(At(Image, CentreX, MidY), Lime);

    // Width marks 50 pixels either side, from their bars down to just above
    // 10 pixels below the mid line.
    for (int X : {CentreX - 50, CentreX + 50}) {
        EXPECT_EQ(At(Image, X, 10), Green) << X;
        EXPECT_EQ(At(Image, X, 100), Green) << X;
        EXPECT_EQ(At(Image, X, MidY + 9), Green) << X;
        EXPECT_EQ(At(Image, X, MidY + 10), Black) << X;
        EXPECT_EQ(At(Image, X, 9), Black) << X;
    }
    EXPECT_EQ(At(Image, CentreX - 49, 100), Black);
    // The leaders run from column 10 to the right end of the mark.
    EXPECT_EQ(At(Image, 10, 10), Green);
    EXPECT_EQ(At(Image, 300, 30), Green);
    EXPECT_EQ(At(Image, CentreX + 51, 10), Black);
    EXPECT_EQ(At(Image, CentreX + 51, 30), Black);
    // Fade and zero-search bars have no width: nothing beside the centre.
    EXPECT_EQ(At(Image, CentreX - 1, 426 - 50), Black);
    EXPECT_EQ(At(Image, CentreX + 1, 426 - 25), Black);
}

TEST_F(ViewTest, EachColumnShowsOneSampleWithoutItsEndPoint)
{
    // Column 5: value 256 is one pixel; column 6: 2560 is ten pixels down;
    // column 7: -2560 ten pixels up; column 8: 0 draws nothing.
    std::vector<std::int16_t> Frames(200, 0);
    Frames[150] = 2560;
    Frames[5] = 256;
    Frames[6] = 2560;
    Frames[7] = -2560;
    Open(WriteFile("strokes.wav", Mono16(Frames)));
    ASSERT_TRUE(Errors.isEmpty());
    const QImage Image = View();

    EXPECT_EQ(At(Image, 5, MidY), Yellow); // red merged into the lime mid line
    EXPECT_EQ(At(Image, 5, MidY + 1), Black);
    EXPECT_EQ(At(Image, 6, MidY + 9), Red);
    EXPECT_EQ(At(Image, 6, MidY + 10), Black);
    EXPECT_EQ(At(Image, 7, MidY - 9), Red);
    EXPECT_EQ(At(Image, 7, MidY - 10), Black);
    EXPECT_EQ(At(Image, 8, MidY), Lime);
    EXPECT_EQ(At(Image, 150, MidY + 3), "#ff8000"); // red merged into the green bracket
}

TEST_F(ViewTest, ZoomedOutColumnsDrawTheLowestAndHighestSampleTheyCover)
{
    // A burst of two samples inside column 5 at 100 samples a column, where
    // a column's first sample alone would show silence.
    std::vector<std::int16_t> Frames(1050, 0);
    Frames[502] = -20000;
    Frames[503] = 10000;
    Frames[1040] = 2560;
    Open(WriteFile("burst.wav", Mono16(Frames)));
    Form->SBHZ->setValue(100);
    QImage Image = View();
    // -20000 reaches 78 pixels up, 10000 39 down, each without its end point.
    EXPECT_EQ(At(Image, 5, MidY - 77), Red);
    EXPECT_EQ(At(Image, 5, MidY - 78), Black);
    EXPECT_EQ(At(Image, 5, MidY + 38), Red);
    EXPECT_EQ(At(Image, 5, MidY + 39), Black);
    for (int X : {4, 6})
        EXPECT_EQ(At(Image, X, MidY - 20), Black) << X;
    // The last column holds what is left of the recording: frames 1000 .. 1049.
    EXPECT_EQ(At(Image, 10, MidY + 9), Red);
    EXPECT_EQ(At(Image, 11, MidY), Lime);

    // Scrolled to frame 103, the burst falls apart: 502 ends column 3's
    // stretch, 503 begins column 4's.
    Form->SB->setValue(103);
    Image = View();
    EXPECT_EQ((std::vector{At(Image, 3, MidY - 20), At(Image, 3, MidY + 20), At(Image, 4, MidY - 20), At(Image, 4, MidY + 20)}),
              (std::vector{Red, Black, Black, Red}));
}

TEST_F(ViewTest, StereoChannelsShareTheMidLineAndOverlapInMagenta)
{
    // Frame 3: both channels 2560; frame 4: only the right one.
    std::vector<std::int16_t> Interleaved(20, 0);
    Interleaved[6] = 2560;
    Interleaved[7] = 2560;
    Interleaved[9] = 2560;
    Open(WriteFile("stereo.wav", Stereo16(Interleaved)));
    const QImage Image = View();
    EXPECT_EQ(At(Image, 3, MidY + 5), Magenta);
    EXPECT_EQ(At(Image, 4, MidY + 5), "#0000ff");
}

TEST_F(ViewTest, EveryChannelIsDrawnInTheColourOfItsParity)
{
    // 24-bit, six channels: 2560 on channel 4 at frame 3, 5 at 4, 2 at 5.
    wavtest::Bytes Data(6 * 3 * 20, 0);
    for (const auto &[Frame, Channel] : {std::pair{3, 4}, std::pair{4, 5}, std::pair{5, 2}})
        Data[std::size_t(3 * (6 * Frame + Channel) + 2)] = 0x0A;
    Open(WriteFile("six.wav", wavtest::PcmFile(6, 8000, 24, Data)));
    const QImage Image = View();
    EXPECT_EQ((std::vector{At(Image, 3, MidY + 5), At(Image, 4, MidY + 5), At(Image, 5, MidY + 5), At(Image, 6, MidY + 5)}),
              (std::vector{Red, std::string("#0000ff"), Red, Black}));
}

TEST_F(ViewTest, TrimAreasAreBandsWithMergedBorders)
{
    Form->FAreas = {{20, 40}, {1000, 2000}};
    Form->FAreaCount = 2;
    const QImage Image = View();
    // Columns 20 .. 38 filled; border at 20 on the fill, at 39 beside it.
    EXPECT_EQ(At(Image, 20, 150), BandLeft);
    EXPECT_EQ(At(Image, 21, 150), BandFill);
    EXPECT_EQ(At(Image, 38, 150), BandFill);
    EXPECT_EQ(At(Image, 39, 150), Olive);
    EXPECT_EQ(At(Image, 40, 150), Black);
    EXPECT_EQ(At(Image, 19, 150), Black);
    EXPECT_EQ(At(Image, 25, 0), BandFill);
    EXPECT_EQ(At(Image, 25, 425), BandFill);
    // The lime mid line merged over the fill.
    EXPECT_EQ(At(Image, 25, MidY), Lime);
    // The second area lies wholly beyond the right edge.
    EXPECT_EQ(At(Image, 683, 150), Black);
}

TEST_F(ViewTest, AreaThatBeganBeforeTheScrollPositionStartsAtColumnZero)
{
    Form->FAreas = {{50, 130}};
    Form->FAreaCount = 1;
    Form->SB->setValue(100);
    const QImage Image = View();
    EXPECT_EQ(At(Image, 0, 150), BandLeft);
    EXPECT_EQ(At(Image, 1, 150), BandFill);
    EXPECT_EQ(At(Image, 28, 150), BandFill);
    EXPECT_EQ(At(Image, 29, 150), Olive);
}

TEST_F(ViewTest, AreaNoLongerThanTheZoomDrawsOnlyItsBorders)
{
    Form->FAreas = {{200, 201}};
    Form->FAreaCount = 1;
    const QImage Image = View();
    // x1 = 200, x2 = 200: the two borders fall on one column, nothing filled.
    EXPECT_EQ(At(Image, 200, 150), Olive);
    EXPECT_EQ(At(Image, 199, 150), Black);
    EXPECT_EQ(At(Image, 201, 150), Black);
}

TEST_F(ViewTest, VerticalBarMovesTheMidLine)
{
    Form->SBV->setValue(100);
    QImage Image = View();
    EXPECT_EQ(At(Image, 200, MidY - 100), Lime);
    EXPECT_EQ(At(Image, 200, MidY), Black);
    EXPECT_EQ(At(Image, 200, MidY - 100 + 128), Lime);

    Form->SBV->setValue(-150); // the lower full-scale line leaves the view
    Image = View();
    EXPECT_EQ(At(Image, 200, MidY + 150), Lime);
    EXPECT_EQ(At(Image, 200, MidY + 150 - 128), Lime);
    EXPECT_EQ(At(Image, 200, 425), Black);
}

TEST_F(ViewTest, StrokeFromBelowTheViewIsClippedAndStopsAtFullScale)
{
    std::vector<std::int16_t> Frames(20, 0);
    Frames[5] = -32768;
    Open(WriteFile("deep.wav", Mono16(Frames)));
    Form->SBV->setValue(-300); // mid line at 513, below the view
    const QImage Image = View();
    EXPECT_EQ(At(Image, 5, 425), Red);
    EXPECT_EQ(At(Image, 5, 386), Red);
    EXPECT_EQ(At(Image, 5, 385), Lime); // the stroke's end point: only the full-scale line
    EXPECT_EQ(At(Image, 4, 385), Lime);
}

TEST_F(ViewTest, VerticalZoomScalesFullScaleAndLevels)
{
    Form->SBVZ->setValue(1500);
    const QImage Image = View();
    // 32768 × 1500 div 256000 = 192; the no-sound level 1000 gives 5.
    EXPECT_EQ(At(Image, 200, MidY - 192), Lime);
    EXPECT_EQ(At(Image, 200, MidY + 192), Lime);
    EXPECT_EQ(At(Image, 200, MidY + 5), Green);
    EXPECT_EQ(At(Image, 200, MidY + 4), Black);
}

TEST_F(ViewTest, WidthMarksFollowTheirBarsAndTheZoom)
{
    Form->SBNW->setValue(300);  // 150 on either side
    Form->SBML->setValue(1001); // 1001 div 2 = 500, div 2 = 250 on either side
    Form->SBHZ->setValue(2);
    Form->SBAFIL->setValue(40); // 20 pixels left
    Form->SBAFOL->setValue(61); // 30 pixels right
    const QImage Image = View();
    EXPECT_EQ(At(Image, CentreX - 75, 100), Green);
    EXPECT_EQ(At(Image, CentreX + 75, 100), Green);
    EXPECT_EQ(At(Image, CentreX - 250, 100), Green);
    EXPECT_EQ(At(Image, CentreX + 250, 100), Green);
    EXPECT_EQ(At(Image, CentreX + 76, 100), Black);
    // The fade bar spans from 20 left to 30 right, 50 pixels above the bottom.
    EXPECT_EQ(At(Image, CentreX - 20, 376), Green);
    EXPECT_EQ(At(Image, CentreX + 29, 376), Green);
    EXPECT_EQ(At(Image, CentreX + 30, 376), Black); // the right upright ends above the bar
    EXPECT_EQ(At(Image, CentreX + 30, 375), Green);
    EXPECT_EQ(At(Image, CentreX + 30, MidY - 10), Green);
    EXPECT_EQ(At(Image, CentreX + 30, MidY - 11), Black);

    // A width typed beyond its bar is drawn to its own scale: 8000 at 20
    // positions a pixel, 200 pixels on either side of the centre.
    Form->SBHZ->setValue(20);
    TypeInto(Form->Edit2, QStringLiteral("8000"));
    const QImage Typed = View();
    EXPECT_EQ(At(Typed, CentreX - 200, 100), Green);
    EXPECT_EQ(At(Typed, CentreX + 200, 100), Green);
    EXPECT_EQ(At(Typed, CentreX - 199, 100), Black);
}

// The left end of the zero-search mark is the backward search window: its
// word stands to the left of it, the forward word to the right of the right end.
TEST_F(ViewTest, ZeroSearchWordsStandBesideTheEndsTheyName)
{
    Form->SBMZSS->setValue(100);
    Form->SBMZSE->setValue(120);
    const QImage Image = View();

    const QFont Font = Form->PB->font();
    const QFontMetrics Metrics(Font);
    const auto Word = [&](const QString &Text) {
        QImage Alone(Metrics.horizontalAdvance(Text), Metrics.height(), QImage::Format_RGB32);
        Alone.fill(Qt::black);
        QPainter Painter(&Alone);
        Painter.setFont(Font);
        Painter.setPen(QColor(0, 255, 0));
        Painter.drawText(0, Metrics.ascent(), Text);
        return Alone;
    };
    const QImage Backword = Word(QStringLiteral("Backword"));
    const QImage Forword = Word(QStringLiteral("Forword"));
    const int Top = 426 - 25 - Metrics.height();
    EXPECT_EQ(Image.copy(CentreX - 100 - 2 - Backword.width(), Top, Backword.width(), Backword.height()), Backword);
    EXPECT_EQ(Image.copy(CentreX + 120 + 2, Top, Forword.width(), Forword.height()), Forword);
}

// At the defaults the two level captions share a row: the no-sound one
// stands past the cut-start one instead of running on from it, each whole.
TEST_F(ViewTest, LevelCaptionsOnOneRowStandApart)
{
    const QImage Image = View();
    const QFont Font = Form->PB->font();
    const QFontMetrics Metrics(Font);
    // Which pixels of a caption-sized box hold the captions' colour (the
    // brackets are a darker green).
    const auto Lit = [&Metrics](const QImage &From, int X, int Y, const QString &Text) {
        std::vector<bool> Mask;
        for (int J = 0; J < Metrics.height(); ++J)
            for (int I = 0; I < Metrics.horizontalAdvance(Text); ++I)
                Mask.push_back(From.pixel(X + I, Y + J) == qRgb(0, 255, 0));
        return Mask;
    };
    const auto Alone = [&](const QString &Text) {
        QImage Word(Metrics.horizontalAdvance(Text), Metrics.height(), QImage::Format_RGB32);
        Word.fill(Qt::black);
        QPainter Painter(&Word);
        Painter.setFont(Font);
        Painter.setPen(QColor(0, 255, 0));
        Painter.drawText(0, Metrics.ascent(), Text);
        return Lit(Word, 0, 0, Text);
    };
    const QString CutStart = QStringLiteral("Cut Start");
    const QString NoSound = QStringLiteral("No Sound Level");
    // Cut start level 100 is 0 pixels from the mid line, no sound 3.
    EXPECT_EQ(Lit(Image, 50, MidY + 1, CutStart), Alone(CutStart));
    const int NoSoundLeft = 50 + Metrics.horizontalAdvance(CutStart + QLatin1Char(' '));
    EXPECT_EQ(Lit(Image, NoSoundLeft, MidY + 3 + 1, NoSound), Alone(NoSound));
}

TEST_F(ViewTest, BeforeAnyFileOnlyGuideMarksAreDrawn)
{
    const QImage Image = View();
    for (int X = 0; X < 684; ++X) {
        if (X == CentreX || X == 100 || X == CentreX - 50 || X == CentreX + 50)
            continue;
        for (int Y : {MidY - 1, MidY + 1})
            ASSERT_EQ(At(Image, X, Y), Black) << X << "," << Y;
    }
}

TEST_F(ViewTest, RefusedSampleLayoutIsReportedOncePerRecording)
{
    // 12-bit samples load but nothing reads them.
    const wavtest::Bytes File = wavtest::PcmFile(1, 8000, 12, wavtest::Bytes(30, 0x40));
    Form->FAreas = {{0, 5}};
    Form->FAreaCount = 1;
    Open(WriteFile("wide.wav", File));
    for (int I = 0; I < 3; ++I)
        Form->PB->repaint();
    QApplication::processEvents();
    ASSERT_EQ(Errors.size(), 1);
    EXPECT_EQ(Errors.front().toStdString(), "TZuWave.GetPosValue: Unsupported PCM Format");

    // The paint stops after the bands: no mid line, no guide marks.
    Form->FAreas = {{200, 210}};
    Form->FAreaCount = 1;
    const QImage Image = View();
    EXPECT_EQ(At(Image, 205, 150), BandFill);
    EXPECT_EQ(At(Image, 100, MidY), Black);
    EXPECT_EQ(At(Image, CentreX, 100), Black);

    Open(WriteFile("wide2.wav", File));
    QApplication::processEvents();
    EXPECT_EQ(Errors.size(), 2);
}
