#include "app/OverviewStrip.h"

#include "app/PaintBox.h"
#include "app/PeakLevels.h"
#include "app/Unit1.h"
#include "app/ViewCanvas.h"
#include "app/ViewColours.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

using namespace viewcolours;

constexpr int StripHeight = 40;
constexpr QRgb Shown = 0x202020;

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

const std::vector<TLevelRange> &TOverviewStrip::Columns(const std::shared_ptr<const TPeakLevels> &Levels)
{
    // Levels still being read are read again at every paint.
    if (FColumnsOf.lock() == Levels && FColumnsWidth == width() && FColumnsComplete)
        return FColumns;
    const int Drawn = std::min(Levels->Channels(), 2);
    const std::int64_t Frames = Levels->Frames();
    FColumns.assign(std::size_t(width()) * 2, TLevelRange{0, 0});
    for (int X = 0; X < width(); ++X) {
        const std::int64_t From = FrameAt(X, Frames);
        const std::int64_t To = std::min(Frames, std::max(From + 1, FrameAt(X + 1, Frames)));
        for (int Ch = 0; From < Frames && Ch < Drawn; ++Ch)
            FColumns[std::size_t(X) * 2 + std::size_t(Ch)] = Levels->Range(Ch, From, To);
    }
    FColumnsOf = Levels;
    FColumnsWidth = width();
    FColumnsComplete = Levels->Complete();
    return FColumns;
}

void TOverviewStrip::paintEvent(QPaintEvent *)
{
    if (FSurface.size() != size())
        FSurface = QImage(size(), QImage::Format_RGB32);
    FSurface.fill(Qt::black);
    std::shared_ptr<const TPeakLevels> Levels;
    try {
        Levels = FForm.Peaks();
    } catch (...) {
        // Out of memory for the levels: the strip stays black.
    }
    const std::int64_t Frames = Levels ? Levels->Frames() : 0;
    if (Frames > 0) {
        TViewCanvas Canvas(FSurface, font(), Lime);
        const int W = width();
        const int H = height();
        // Bands and the stretch in view fill whole columns: one colour a
        // column, drawn once however many areas there are.
        std::vector<QRgb> Row(std::size_t(W), 0xFF000000u);
        const auto FillColumns = [&](int From, int To, QRgb Colour) {
            From = std::clamp(From, 0, W);
            To = std::clamp(To, From, W);
            std::fill(Row.begin() + From, Row.begin() + To, Colour | 0xFF000000u);
        };
        for (std::int32_t I = 0; I < FForm.FAreaCount && std::size_t(I) < FForm.FAreas.size(); ++I) {
            const TTrimArea &Area = FForm.FAreas[std::size_t(I)];
            const int X1 = ColumnOf(Area.StartPos, Frames);
            FillColumns(X1, std::max(X1 + 1, ColumnOf(Area.EndPos, Frames)), BandFill);
        }
        const std::int64_t First = FForm.SB->value();
        const std::int64_t Last = First + std::int64_t(FForm.PB->width()) * FForm.SBHZ->value();
        const int ShownLeft = ColumnOf(First, Frames);
        const int ShownRight = std::max(ShownLeft + 1, ColumnOf(std::min(Last, Frames), Frames));
        FillColumns(ShownLeft, ShownRight, Shown);
        Canvas.FillRows(Row);

        const int Mid = H / 2;
        const std::vector<TLevelRange> &Envelope = Columns(Levels);
        for (int Ch = 0; Ch < std::min(Levels->Channels(), 2); ++Ch) {
            const QRgb Colour = Ch == 0 ? Channel0 : Channel1;
            for (int X = 0; X < W && FrameAt(X, Frames) < Frames; ++X) {
                const TLevelRange Range = Envelope[std::size_t(X) * 2 + std::size_t(Ch)];
                if (Range.Low > Range.High)
                    continue; // not read yet
                Canvas.Line(X, Mid, X, Mid + Range.High * (Mid - 1) / 32768 + 1, Colour);
                Canvas.Line(X, Mid, X, Mid + Range.Low * (Mid - 1) / 32768 - 1, Colour);
            }
        }
        // The stretch in view, framed.
        Canvas.Line(ShownLeft, 0, ShownRight, 0, Lime);
        Canvas.Line(ShownLeft, H - 1, ShownRight, H - 1, Lime);
        Canvas.Line(ShownLeft, 0, ShownLeft, H, Lime);
        Canvas.Line(ShownRight - 1, 0, ShownRight - 1, H, Lime);
        if (const std::optional<std::int64_t> Frame = FForm.WaveView->PlayheadFrame()) {
            const int X = ColumnOf(*Frame, Frames);
            Canvas.Line(X, 0, X, H, Playhead);
        }
    }
    QPainter(this).drawImage(0, 0, FSurface);
}

void TOverviewStrip::MoveTo(int X)
{
    const std::int64_t Frames = FForm.Peaks()->Frames();
    if (Frames > 0)
        FForm.WaveView->CentreOn(FrameAt(X, Frames));
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
