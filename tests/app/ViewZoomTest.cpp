// Zooming out to the whole recording and back in with the wheel around the
// pointer, scrolling by the wheel, the zoom keys, the overview strip and
// the time ruler, through real events on the shown window.
#include "WindowTestSupport.h"

#include "app/ClockText.h"
#include "app/OverviewStrip.h"
#include "app/PaintBox.h"
#include "app/RecordingDocument.h"
#include "app/TimeRuler.h"
#include "app/WaveView.h"
#include "wave/ZuWAVE.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

using namespace apptest;

namespace {

constexpr int MidY = 213;
// A minute at 44100 Hz: the whole of it needs 3869 frames a column, more
// than the designed widest zoom.
constexpr std::int32_t Frames = 60 * 44100;
constexpr std::int32_t WholeZoom = (Frames + 683) / 684;

class ViewZoomTest : public FormTest {
protected:
    // Silence with a burst of three loud samples from frame Burst.
    void LoadMinute(std::int32_t Burst)
    {
        std::vector<std::int16_t> Samples(Frames, 0);
        for (int I = 0; I < 3; ++I)
            Samples[std::size_t(Burst + I)] = -20000;
        Open(WriteFile("minute.wav", Mono16(Samples)));
        ASSERT_TRUE(Errors.isEmpty());
    }

    void Wheel(Qt::KeyboardModifiers Shift, int Eighths, int X)
    {
        const QPointF At(X, 100);
        QWheelEvent Event(At, Form->PB->mapToGlobal(At), QPoint(), QPoint(0, Eighths), Qt::NoButton, Shift,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Form->PB, &Event);
    }

    // The frame the column's stretch begins with.
    std::int64_t FrameAtColumn(int X) const { return Form->SB->value() + std::int64_t(X) * Form->SBHZ->value(); }

    bool BurstDrawnAt(int X) { return At(View(), X, MidY - 40) == "#ff0000"; }
};

} // namespace

TEST_F(ViewZoomTest, WholeRecordingAndBackAroundThePointer)
{
    const std::int32_t Column = 38;
    LoadMinute(Column * WholeZoom);
    EXPECT_EQ(Form->SBHZ->maximum(), WholeZoom);
    Form->SB->setValue(5000);
    Form->WholeRecordingAction->trigger();
    EXPECT_EQ(Form->SBHZ->value(), WholeZoom);
    EXPECT_EQ(Form->SB->value(), 0);
    EXPECT_TRUE(BurstDrawnAt(Column));
    EXPECT_FALSE(BurstDrawnAt(Column + 1));
    // The last frame lies in the last column.
    EXPECT_EQ((Frames - 1) / WholeZoom, 683);

    // Ctrl and the wheel turned up zoom in around the column under the
    // pointer, which keeps showing the same frame, down to one a column.
    int Turns = 0;
    while (Form->SBHZ->value() > 1 && Turns++ < 40) {
        Wheel(Qt::ControlModifier, 120, Column);
        ASSERT_EQ(FrameAtColumn(Column), Column * WholeZoom) << "zoom " << Form->SBHZ->value();
    }
    EXPECT_EQ(Form->SBHZ->value(), 1);
    EXPECT_TRUE(BurstDrawnAt(Column));
    EXPECT_TRUE(BurstDrawnAt(Column + 2));
    EXPECT_FALSE(BurstDrawnAt(Column + 3));
    // And turned down, out again.
    Wheel(Qt::ControlModifier, -120, Column);
    EXPECT_GT(Form->SBHZ->value(), 1);
    EXPECT_EQ(FrameAtColumn(Column), Column * WholeZoom);
}

TEST_F(ViewZoomTest, PlainWheelScrollsAndKeysZoomAboutTheCentre)
{
    LoadMinute(1000);
    Form->SBHZ->setValue(10);
    Form->SB->setValue(100000);
    Wheel(Qt::NoModifier, -120, 7); // down: on through the recording by a tenth of the view
    EXPECT_EQ(Form->SB->value(), 100000 + 684);
    Wheel(Qt::NoModifier, 240, 7);
    EXPECT_EQ(Form->SB->value(), 100000 - 684);
    Form->SB->setValue(0);
    Wheel(Qt::NoModifier, 120, 7);
    EXPECT_EQ(Form->SB->value(), 0);

    Form->SB->setValue(100000);
    const std::int64_t Centre = FrameAtColumn(342);
    Form->activateWindow();
    QApplication::setActiveWindow(Form.get());
    QTest::keyClick(Form.get(), Qt::Key_Minus);
    EXPECT_EQ(Form->SBHZ->value(), 20);
    EXPECT_EQ(FrameAtColumn(342), Centre);
    QTest::keyClick(Form.get(), Qt::Key_Plus);
    QTest::keyClick(Form.get(), Qt::Key_Plus);
    EXPECT_EQ(Form->SBHZ->value(), 5);
    EXPECT_EQ(FrameAtColumn(342), Centre);
    QTest::keyClick(Form.get(), Qt::Key_0);
    EXPECT_EQ(Form->SBHZ->value(), WholeZoom);
}

TEST_F(ViewZoomTest, OverviewShowsTheWholeAndAClickOrDragMovesTheView)
{
    LoadMinute(Frames / 2);
    QApplication::processEvents();
    TOverviewStrip &Strip = *Form->Overview;
    const QImage Picture = Strip.grab().toImage();
    const int Width = Strip.width();
    // The burst in the middle of the recording, drawn in the middle of the
    // strip; silence elsewhere leaves only the mid line.
    const int BurstColumn = int(std::int64_t(Frames / 2) * Width / Frames);
    EXPECT_EQ(QColor(Picture.pixel(BurstColumn, 12)).red(), 255);
    EXPECT_NE(QColor(Picture.pixel(BurstColumn + 3, 12)).red(), 255);

    const auto Press = [&](QEvent::Type Type, int X, Qt::MouseButtons Held) {
        const QPointF At(X, 10);
        QMouseEvent Event(Type, At, Strip.mapToGlobal(At), Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          Held, Qt::NoModifier);
        QApplication::sendEvent(&Strip, &Event);
    };
    Form->SBHZ->setValue(2);
    Press(QEvent::MouseButtonPress, Width / 4, Qt::LeftButton);
    EXPECT_EQ(FrameAtColumn(342), Strip.FrameAt(Width / 4, Frames));
    Press(QEvent::MouseMove, Width * 3 / 4, Qt::LeftButton);
    EXPECT_EQ(FrameAtColumn(342), Strip.FrameAt(Width * 3 / 4, Frames));
    Press(QEvent::MouseButtonRelease, Width * 3 / 4, Qt::NoButton);
    Press(QEvent::MouseMove, Width / 2, Qt::NoButton);
    EXPECT_EQ(FrameAtColumn(342), Strip.FrameAt(Width * 3 / 4, Frames));
    // Near the start the view stops at frame 0.
    Press(QEvent::MouseButtonPress, 0, Qt::LeftButton);
    EXPECT_EQ(Form->SB->value(), 0);
}

TEST_F(ViewZoomTest, RulerLabelsRoundTimesAtTheirColumns)
{
    LoadMinute(1000);
    Form->WholeRecordingAction->trigger();
    QApplication::processEvents();
    TTimeRuler &Ruler = *Form->Ruler;
    const QImage Picture = Ruler.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // 87.7 ms a column: the shortest round step a column apart is 100 ms,
    // with room for a label 10 s.
    EXPECT_EQ(TTimeRuler::StepMs(WholeZoom, 44100, 1), 100);
    EXPECT_EQ(TTimeRuler::StepMs(WholeZoom, 44100, 100), 10'000);
    // Ten seconds is 441000 frames: column 113 at 3869 frames a column. Its
    // label, as the ruler's font draws it, stands just right of the tick.
    const QString Label = ClockTextMs(10'000);
    EXPECT_EQ(Label, QStringLiteral("0:00:10.000"));
    const QFontMetrics Metrics(Ruler.font());
    QImage Alone(Metrics.horizontalAdvance(Label), Metrics.height(), QImage::Format_RGB32);
    Alone.fill(Qt::black);
    {
        QPainter Painter(&Alone);
        Painter.setFont(Ruler.font());
        Painter.setPen(QColor(0, 255, 0));
        Painter.drawText(0, Metrics.ascent() + 1, Label);
    }
    const int Tick = 441000 / WholeZoom;
    EXPECT_EQ(Picture.copy(Tick + 2, 0, Alone.width(), Alone.height()), Alone);
    EXPECT_NE(QColor(Picture.pixel(Tick, Ruler.height() - 3)), QColor(Qt::black));
    EXPECT_EQ(ClockTextMs(3 * 3'600'000 + 4 * 60'000 + 5'006), QStringLiteral("3:04:05.006"));
}

TEST_F(ViewZoomTest, TheViewMenuCarriesTheZoomCommands)
{
    const QList<QAction *> Bar = Form->menuBar()->actions();
    EXPECT_TRUE(Bar.contains(Form->ViewMenu->menuAction()));
    EXPECT_TRUE(Bar.contains(Form->PlayMenu->menuAction()));
    EXPECT_EQ(Form->ViewMenu, Form->View1) << "one 表示 menu";
    EXPECT_EQ(Form->ViewMenu->actions().mid(2),
              (QList<QAction *>{Form->ZoomInAction, Form->ZoomOutAction, Form->WholeRecordingAction}));
    EXPECT_EQ(Form->WholeRecordingAction->text(), QStringLiteral("全体を表示"));
    EXPECT_EQ(Form->PlayMenu->actions(), QList<QAction *>{Form->StopAction});
}

// The view's place needs no window: the document, the two bars and the
// widget painted. Zooming keeps the frame under the column where it was.
TEST(WaveViewTest, ZoomAndScrollOverADocumentWithoutAWindow)
{
    TRecordingDocument Document;
    Document.Wave().SetWaveSize(1000000);
    TZuWave Scratch(nullptr);
    QScrollBar Scroll(Qt::Horizontal);
    Scroll.setRange(0, 1000000);
    QScrollBar Zoom(Qt::Horizontal);
    Zoom.setRange(1, 2000);
    QWidget Shown;
    Shown.resize(100, 50);
    TWaveView View(Document, Scratch, Scroll, Zoom, Shown, nullptr);

    View.ShowWholeRecording();
    EXPECT_EQ(Zoom.maximum(), 10000);
    EXPECT_EQ(Zoom.value(), 10000);
    EXPECT_EQ(Scroll.value(), 0);
    const std::int64_t UnderColumn = Scroll.value() + 20LL * Zoom.value();
    View.ZoomAround(20, 0.5);
    EXPECT_EQ(Zoom.value(), 5000);
    EXPECT_EQ(Scroll.value() + 20LL * Zoom.value(), UnderColumn);
    View.CentreOn(800000);
    EXPECT_EQ(Scroll.value() + 50LL * Zoom.value(), 800000);
    View.ScrollColumns(-10);
    EXPECT_EQ(Scroll.value() + 60LL * Zoom.value(), 800000);
    EXPECT_FALSE(View.PlayheadFrame()) << "nothing plays";

    Shown.resize(2000, 50);
    View.FitZoomRange();
    EXPECT_EQ(Zoom.maximum(), 2000) << "a short view keeps the designed widest zoom";
}
