#include "app/ViewCanvas.h"

#include <QFontMetrics>

#include <algorithm>
#include <cstdlib>

TViewCanvas::TViewCanvas(QImage &Image, const QFont &Font, QRgb TextColour)
    : FImage(Image), FBits(Image.bits()), FStride(Image.bytesPerLine()), FWidth(Image.width()),
      FHeight(Image.height()), FFont(Font), FTextColour(TextColour)
{
}

void TViewCanvas::FillRows(const std::vector<QRgb> &Row)
{
    const std::size_t Count = std::min(Row.size(), std::size_t(FWidth));
    for (int Y = 0; Y < FHeight; ++Y)
        std::copy_n(Row.begin(), Count, reinterpret_cast<QRgb *>(FBits + std::ptrdiff_t(Y) * FStride));
}

void TViewCanvas::Line(int X1, int Y1, int X2, int Y2, QRgb Colour)
{
    const QRgb Bits = Colour | 0xFF000000u;
    const int DX = X2 - X1;
    const int DY = Y2 - Y1;
    if (DX == 0 || DY == 0) {
        // The view's lines: straight across or straight down, clipped here
        // rather than pixel by pixel.
        const int Count = std::abs(DX) + std::abs(DY);
        MergeRun(X1, Y1, Count, (DX > 0) - (DX < 0), (DY > 0) - (DY < 0), Bits);
        return;
    }
    // Any other slope: Bresenham, stopping before the end point.
    const int StepX = DX > 0 ? 1 : -1;
    const int StepY = DY > 0 ? 1 : -1;
    const int AX = std::abs(DX);
    const int AY = std::abs(DY);
    int Error = AX - AY;
    int X = X1;
    int Y = Y1;
    while (X != X2 || Y != Y2) {
        Merge(X, Y, Bits);
        const int Twice = 2 * Error;
        if (Twice > -AY) {
            Error -= AY;
            X += StepX;
        }
        if (Twice < AX) {
            Error += AX;
            Y += StepY;
        }
    }
}

void TViewCanvas::MergeRun(int X, int Y, int Count, int StepX, int StepY, QRgb Colour)
{
    // Skip the part of the run before the image, then stop where it leaves.
    int First = 0;
    if (StepX != 0) {
        if (Y < 0 || Y >= FHeight)
            return;
        if (StepX > 0)
            First = std::max(0, -X);
        else
            First = std::max(0, X - (FWidth - 1));
        const int Last = StepX > 0 ? std::min(Count, FWidth - X) : std::min(Count, X + 1);
        QRgb *Row = reinterpret_cast<QRgb *>(FBits + std::ptrdiff_t(Y) * FStride);
        for (int I = First; I < Last; ++I)
            Row[X + I * StepX] |= Colour;
        return;
    }
    if (X < 0 || X >= FWidth)
        return;
    if (StepY > 0)
        First = std::max(0, -Y);
    else
        First = std::max(0, Y - (FHeight - 1));
    const int Last = StepY > 0 ? std::min(Count, FHeight - Y) : std::min(Count, Y + 1);
    uchar *Column = FBits + std::ptrdiff_t(X) * 4;
    for (int I = First; I < Last; ++I)
        *reinterpret_cast<QRgb *>(Column + std::ptrdiff_t(Y + I * StepY) * FStride) |= Colour;
}

void TViewCanvas::Text(int X, int Y, const QString &Caption)
{
    if (!FPainter) {
        FPainter.emplace(&FImage);
        FPainter->setFont(FFont);
        FPainter->setPen(QColor::fromRgb(FTextColour));
    }
    // The stand-in font is wider than the designed one, so a caption placed
    // near the right edge for the designed font would lose its last letters;
    // it is condensed to end inside the view instead.
    const int Room = FWidth - X - 1;
    const int Needed = QFontMetrics(FFont).horizontalAdvance(Caption);
    if (X >= 0 && Room > 0 && Needed > Room) {
        QFont Narrow = FFont;
        Narrow.setStretch(std::max(50, Room * 100 / Needed));
        FPainter->setFont(Narrow);
        FPainter->drawText(X, Y + FPainter->fontMetrics().ascent(), Caption);
        FPainter->setFont(FFont);
        return;
    }
    FPainter->drawText(X, Y + FPainter->fontMetrics().ascent(), Caption);
}

int TViewCanvas::TextHeight() const
{
    return QFontMetrics(FFont).height();
}

int TViewCanvas::TextWidth(const QString &Caption) const
{
    return QFontMetrics(FFont).horizontalAdvance(Caption);
}
