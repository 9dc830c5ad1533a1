// The waveform view: trim areas, the recording's channels and the guide
// marks of the trim settings, recomputed from the controls at every paint.
#include "Unit1.h"

#include "PaintBox.h"

#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <cstdlib>
#include <exception>
#include <vector>

namespace {

const QColor BandFill(0, 63, 0);
const QColor BandBorder(128, 128, 0);
const QColor Channel0(255, 0, 0);
const QColor Channel1(0, 0, 255);
const QColor Lime(0, 255, 0);
const QColor Green(0, 128, 0);

// The view's lines leave their end point unpainted, so that a stroke from a
// to b covers b − a pixels and a stroke that begins and ends at one point
// paints nothing. QPainter paints the end point; every line here therefore
// stops one pixel short of it, along its longer axis.
struct TLines {
    std::vector<QLine> Lines;
    std::vector<QPoint> Points;

    void Add(int X1, int Y1, int X2, int Y2)
    {
        const int DX = X2 - X1;
        const int DY = Y2 - Y1;
        if (DX == 0 && DY == 0)
            return;
        const int Steps = std::max(std::abs(DX), std::abs(DY));
        if (Steps == 1) {
            Points.emplace_back(X1, Y1);
            return;
        }
        // Stop at the pixel before the end; exact for the view's lines,
        // which are all horizontal or vertical.
        const int EndX = X1 + DX * (Steps - 1) / Steps;
        const int EndY = Y1 + DY * (Steps - 1) / Steps;
        Lines.emplace_back(X1, Y1, EndX, EndY);
    }

    void Draw(QPainter &Canvas)
    {
        if (!Lines.empty())
            Canvas.drawLines(Lines.data(), static_cast<int>(Lines.size()));
        if (!Points.empty())
            Canvas.drawPoints(Points.data(), static_cast<int>(Points.size()));
        Lines.clear();
        Points.clear();
    }
};

void Line(QPainter &Canvas, int X1, int Y1, int X2, int Y2)
{
    TLines One;
    One.Add(X1, Y1, X2, Y2);
    One.Draw(Canvas);
}

// Text is copied, not merged; its position is its top-left corner.
void Text(QPainter &Canvas, int X, int Y, const QString &Caption)
{
    const QPainter::CompositionMode Mode = Canvas.compositionMode();
    Canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
    Canvas.setPen(QPen(Lime, 1));
    Canvas.drawText(X, Y + Canvas.fontMetrics().ascent(), Caption);
    Canvas.setCompositionMode(Mode);
}

void SetPen(QPainter &Canvas, const QColor &Colour)
{
    Canvas.setPen(QPen(Colour, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
}

} // namespace

void TForm1::PBPaint()
{
    QPainter *Canvas = PB->Canvas();
    if (Canvas == nullptr) {
        // Asked outside a paint: the view draws only while it is painted.
        PB->repaint();
        return;
    }
    PaintView(*Canvas);
}

void TForm1::PaintView(QPainter &Canvas)
{
    const int W = PB->width();
    const int H = PB->height();
    const std::int64_t S = SB->value();
    const int HZ = SBHZ->value();
    const std::int64_t VZ = SBVZ->value();
    const int Y0 = H / 2 - SBV->value();
    const int CX = W / 2;
    const auto Scaled = [VZ](std::int64_t Value) { return static_cast<int>(Value * VZ / 256000); };

    Canvas.setRenderHint(QPainter::Antialiasing, false);
    Canvas.setFont(PB->font());

    if (FAreaCount > 0) {
        const std::int64_t E = std::int64_t(W) * HZ + S;
        for (std::int32_t I = 0; I < FAreaCount; ++I) {
            const TTrimArea &Area = FAreas[static_cast<std::size_t>(I)];
            if (!(Area.StartPos < E && Area.EndPos > S))
                continue;
            const int X1 = static_cast<int>(std::max<std::int64_t>((Area.StartPos - S) / HZ, 0));
            const int X2 = static_cast<int>(std::min<std::int64_t>((Area.EndPos - S) / HZ - 1, W));
            if (X2 > X1)
                Canvas.fillRect(QRect(X1, 0, X2 - X1, H), BandFill);
            // Borders merge like every other line of the view.
            Canvas.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
            SetPen(Canvas, BandBorder);
            Line(Canvas, X1, 0, X1, H);
            Line(Canvas, X2, 0, X2, H);
            Canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
    }

    Canvas.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    const int TH = QFontMetrics(PB->font()).height();
    try {
        TLines Strokes;
        const std::int32_t Channels = ZU->GetChannels();
        const std::int64_t Size = ZU->GetWaveSize();
        for (std::int32_t Ch = 0; Ch < Channels; ++Ch) {
            SetPen(Canvas, Ch == 0 ? Channel0 : Channel1);
            for (int X = 0; X <= W; ++X) {
                const std::int64_t P = std::int64_t(X) * HZ + S;
                if (P >= Size)
                    break;
                const std::int32_t V = ZU->GetPosValue16(Ch, static_cast<std::int32_t>(P));
                Strokes.Add(X, Y0, X, Y0 + Scaled(V));
            }
            Strokes.Draw(Canvas);
        }
    } catch (const std::exception &Error) {
        // Like a paint that stops at its first failure: the bands stay, the
        // rest is not drawn.
        ReportPaintError(QString::fromUtf8(Error.what()));
        return;
    }

    const int F = Scaled(32768);
    SetPen(Canvas, Lime);
    Line(Canvas, 0, Y0, W, Y0);
    Text(Canvas, W - 80, Y0 - TH, QStringLiteral("Center Position"));
    SetPen(Canvas, Lime);
    Line(Canvas, 0, Y0 - F, W, Y0 - F);
    Text(Canvas, W - 80, Y0 - F - TH, QStringLiteral("Max Position"));
    SetPen(Canvas, Lime);
    Line(Canvas, 0, Y0 + F, W, Y0 + F);
    Text(Canvas, W - 80, Y0 + F + 1, QStringLiteral("Max Position"));

    const auto Bracket = [&](int Left, int Level, const QString &Caption) {
        SetPen(Canvas, Green);
        Line(Canvas, Left, Y0 - Level, W - Left, Y0 - Level);
        Line(Canvas, Left, Y0 + Level, Left, Y0 - Level);
        Line(Canvas, Left, Y0 + Level, W - Left, Y0 + Level);
        Text(Canvas, Left, Y0 + Level + 1, Caption);
    };
    Bracket(100, Scaled(SBN->value()), QStringLiteral("No Sound Level"));
    Bracket(50, Scaled(SBCSL->value()), QStringLiteral("Cut Start"));

    SetPen(Canvas, Green);
    Line(Canvas, CX, 0, CX, H);

    // A bar near the bottom, hanging from just above the mid line.
    const auto HangingBar = [&](int Left, int Right, int Bottom) {
        SetPen(Canvas, Green);
        Line(Canvas, CX - Left, Bottom, CX + Right, Bottom);
        Line(Canvas, CX - Left, Y0 - 10, CX - Left, Bottom);
        Line(Canvas, CX + Right, Y0 - 10, CX + Right, Bottom);
    };
    {
        const int A = SBAFIL->value() / HZ;
        const int B = SBAFOL->value() / HZ;
        HangingBar(A, B, H - 50);
        Text(Canvas, CX - 30, H - 49, QStringLiteral("Fade Width"));
        Text(Canvas, CX + B + 2, H - 50 - TH, QStringLiteral("Out"));
        Text(Canvas, CX - A - 10, H - 50 - TH, QStringLiteral("In"));
    }
    {
        const int A = SBMZSS->value() / HZ;
        const int B = SBMZSE->value() / HZ;
        HangingBar(A, B, H - 25);
        Text(Canvas, CX - 30, H - 24, QStringLiteral("Zero Search"));
        // The left end is the backward search window, the right end the
        // forward one, as on the panel and in the detection.
        const QString Backword = QStringLiteral("Backword");
        const int BackwordWidth = QFontMetrics(PB->font()).horizontalAdvance(Backword);
        Text(Canvas, CX - A - 2 - BackwordWidth, H - 25 - TH, Backword);
        Text(Canvas, CX + B + 2, H - 25 - TH, QStringLiteral("Forword"));
    }

    // A centred width, hanging from a leader at the top.
    const auto CentredWidth = [&](int Width, int Top, const QString &Caption) {
        const int Half = Width / HZ / 2;
        SetPen(Canvas, Green);
        Line(Canvas, 10, Top, CX + Half, Top);
        Line(Canvas, CX - Half, Top, CX - Half, Y0 + 10);
        Line(Canvas, CX + Half, Top, CX + Half, Y0 + 10);
        Text(Canvas, 10, Top + 1, Caption);
    };
    CentredWidth(SBNW->value(), 10, QStringLiteral("No Sound Width"));
    CentredWidth(SBML->value(), 30, QStringLiteral("Minimum Size"));
}

void TForm1::ReportPaintError(const QString &Text)
{
    if (FPaintErrorReported)
        return;
    FPaintErrorReported = true;
    // A modal report must not run inside the paint; it follows it.
    QTimer::singleShot(0, this, [this, Text] { ShowError(Text); });
}
