#include "app/OverviewStrip.h"

#include "app/PaintBox.h"
#include "app/PeakLevels.h"
#include "app/Unit1.h"
#include "app/ViewCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int StripHeight = 40;
constexpr QRgb BandFill = 0x003F00;
constexpr QRgb Shown = 0x202020;
constexpr QRgb Channel0 = 0xFF0000;
constexpr QRgb Channel1 = 0x0000FF;
constexpr QRgb Lime = 0x00FF00;
constexpr QRgb Playhead = 0xFFFFFF;

} // namespace

TOverviewStrip::TOverviewStrip(TForm1 &Form, QWidget *Parent) : QWidget(Parent), FForm(Form)
{
    setObjectName(QStringLiteral("Overview"));
    setFixedHeight(StripHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
}

std::int64_t TOverviewStrip::FrameAt(int X, std::int64_t Frames) const
{
    const std::int64_t Columns = std::max(1, width());
    return std::clamp<std::int64_t>(X, 0, Columns) * Frames / Columns;
}

int TOverviewStrip::ColumnOf(std::int64_t Frame, std::int64_t Frames) const
{
    return static_cast<int>(Frame * width() / std::max<std::int64_t>(Frames, 1));
}

void TOverviewStrip::paintEvent(QPaintEvent *)
{
    if (FSurface.size() != size())
        FSurface = QImage(size(), QImage::Format_RGB32);
    FSurface.fill(Qt::black);
    const TPeakLevels *Levels = nullptr;
    try {
        Levels = &FForm.Peaks();
    } catch (...) {
        // Out of memory for the levels: the strip stays black.
    }
    const std::int64_t Frames = Levels != nullptr ? Levels->Frames() : 0;
    if (Frames > 0) {
        TViewCanvas Canvas(FSurface, font(), Lime);
        const int W = width();
        const int H = height();
        for (std::int32_t I = 0; I < FForm.FAreaCount && std::size_t(I) < FForm.FAreas.size(); ++I) {
            const TTrimArea &Area = FForm.FAreas[std::size_t(I)];
            const int X1 = ColumnOf(Area.StartPos, Frames);
            const int X2 = std::max(X1 + 1, ColumnOf(Area.EndPos, Frames));
            Canvas.Fill(QRect(X1, 0, X2 - X1, H), BandFill);
        }
        const std::int64_t First = FForm.SB->value();
        const std::int64_t Last = First + std::int64_t(FForm.PB->width()) * FForm.SBHZ->value();
        const int ShownLeft = ColumnOf(First, Frames);
        const int ShownRight = std::max(ShownLeft + 1, ColumnOf(std::min(Last, Frames), Frames));
        Canvas.Fill(QRect(ShownLeft, 0, ShownRight - ShownLeft, H), Shown);

        const int Mid = H / 2;
        for (int Ch = 0; Ch < std::min(Levels->Channels(), 2); ++Ch) {
            const QRgb Colour = Ch == 0 ? Channel0 : Channel1;
            for (int X = 0; X < W; ++X) {
                const std::int64_t From = FrameAt(X, Frames);
                const std::int64_t To = std::max(From + 1, FrameAt(X + 1, Frames));
                if (From >= Frames)
                    break;
                const TLevelRange Range = Levels->Range(Ch, From, std::min(To, Frames));
                Canvas.Line(X, Mid, X, Mid + Range.High * (Mid - 1) / 32768 + 1, Colour);
                Canvas.Line(X, Mid, X, Mid + Range.Low * (Mid - 1) / 32768 - 1, Colour);
            }
        }
        // The stretch in view, framed.
        Canvas.Line(ShownLeft, 0, ShownRight, 0, Lime);
        Canvas.Line(ShownLeft, H - 1, ShownRight, H - 1, Lime);
        Canvas.Line(ShownLeft, 0, ShownLeft, H, Lime);
        Canvas.Line(ShownRight - 1, 0, ShownRight - 1, H, Lime);
        if (const std::optional<std::int64_t> Frame = FForm.PlayheadFrame()) {
            const int X = ColumnOf(*Frame, Frames);
            Canvas.Line(X, 0, X, H, Playhead);
        }
    }
    QPainter(this).drawImage(0, 0, FSurface);
}

void TOverviewStrip::MoveTo(int X)
{
    const std::int64_t Frames = FForm.Peaks().Frames();
    if (Frames > 0)
        FForm.CentreOn(FrameAt(X, Frames));
}

void TOverviewStrip::mousePressEvent(QMouseEvent *Event)
{
    if (Event->button() == Qt::LeftButton)
        MoveTo(int(Event->position().x()));
}

void TOverviewStrip::mouseMoveEvent(QMouseEvent *Event)
{
    if (Event->buttons() & Qt::LeftButton)
        MoveTo(int(Event->position().x()));
}
