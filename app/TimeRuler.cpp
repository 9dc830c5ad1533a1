#include "app/TimeRuler.h"

#include "app/ClockText.h"
#include "app/PaintBox.h"
#include "app/Unit1.h"
#include "engine/SampleFormat.h"

#include <QPainter>
#include <QScrollBar>

#include <array>
#include <cmath>

namespace {

constexpr QRgb Lime = 0x00FF00;
constexpr QRgb Green = 0x008000;

} // namespace

TTimeRuler::TTimeRuler(TForm1 &Form, QWidget *Parent) : QWidget(Parent), FForm(Form)
{
    setObjectName(QStringLiteral("Ruler"));
    setFont(Form.PB->font());
    setFixedHeight(QFontMetrics(font()).height() + 6);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

std::int64_t TTimeRuler::StepMs(std::int64_t Zoom, std::uint32_t Rate, int Room)
{
    static constexpr std::array<std::int64_t, 22> Steps{
        1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10'000, 15'000, 30'000, 60'000, 120'000, 300'000,
        600'000, 900'000, 1'800'000, 3'600'000};
    const double MsPerColumn = double(Zoom) * 1000.0 / std::max<std::uint32_t>(Rate, 1);
    for (const std::int64_t Step : Steps)
        if (double(Step) / MsPerColumn >= Room)
            return Step;
    const auto Hours = static_cast<std::int64_t>(std::ceil(Room * MsPerColumn / 3'600'000.0));
    return Hours * 3'600'000;
}

void TTimeRuler::paintEvent(QPaintEvent *)
{
    QPainter Painter(this);
    Painter.fillRect(rect(), Qt::black);
    const TSampleView Recording = FForm.Document.RecordingView();
    const std::uint32_t Rate = Recording.Format.nSamplesPerSec;
    const std::int64_t Frames = FrameCountOf(Recording);
    if (Rate == 0 || Frames == 0)
        return;
    // The view's column 0, wherever the two stand in the window.
    const int Left = FForm.PB->mapTo(&FForm, QPoint(0, 0)).x() - mapTo(&FForm, QPoint(0, 0)).x();
    const int Columns = FForm.PB->width();
    const std::int64_t First = FForm.SB->value();
    const std::int64_t Zoom = FForm.SBHZ->value();
    const int Room = Painter.fontMetrics().horizontalAdvance(QStringLiteral("0:00:00.000")) + 12;
    const std::int64_t Step = StepMs(Zoom, Rate, Room);
    // Minor ticks in fifths of a step where it divides, else halves.
    const std::int64_t Minor = Step % 5 == 0 ? Step / 5 : std::max<std::int64_t>(Step / 2, 1);
    const auto Column = [&](std::int64_t Ms) {
        return Left + static_cast<int>(std::floor((double(Ms) * Rate / 1000.0 - double(First)) / double(Zoom)));
    };
    const std::int64_t FirstMs = First * 1000 / Rate;
    const std::int64_t LastMs = (First + std::int64_t(Columns) * Zoom) * 1000 / Rate + 1;
    const int Bottom = height() - 1;
    Painter.setPen(QColor::fromRgb(Green));
    for (std::int64_t Ms = FirstMs / Minor * Minor; Ms <= LastMs; Ms += Minor) {
        const int X = Column(Ms);
        if (X < Left || X >= Left + Columns)
            continue;
        Painter.drawLine(X, Bottom - (Ms % Step == 0 ? 5 : 2), X, Bottom);
    }
    Painter.setPen(QColor::fromRgb(Lime));
    Painter.drawLine(Left, Bottom, Left + Columns - 1, Bottom);
    const int Baseline = Painter.fontMetrics().ascent() + 1;
    for (std::int64_t Ms = FirstMs / Step * Step; Ms <= LastMs; Ms += Step) {
        const int X = Column(Ms);
        const QString Label = ClockTextMs(Ms);
        // A label that would run past the view's right edge is left out.
        if (X < Left || X + 2 + Painter.fontMetrics().horizontalAdvance(Label) > Left + Columns)
            continue;
        Painter.drawText(X + 2, Baseline, Label);
    }
}
