#pragma once
// The drawing surface of one paint of the waveform view: an image that
// starts as the black behind the view. Lines merge their colour into it by
// bitwise OR and leave their end point unpainted; fills and text are copied.
// QPainter's own OR mode draws a pixel at a time through its generic path,
// some ten thousand times slower than the loops here.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <optional>
#include <vector>

class TViewCanvas {
public:
    // Image must be Format_RGB32; Font and TextColour serve every text.
    TViewCanvas(QImage &Image, const QFont &Font, QRgb TextColour);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    // Copies Row (one colour a column, Width() of them) into every row.
    void FillRows(const std::vector<QRgb> &Row);
    // ORs Colour into every pixel from (X1, Y1) up to but not including
    // (X2, Y2); a line from a point to itself paints nothing.
    void Line(int X1, int Y1, int X2, int Y2, QRgb Colour);
    // Text with a transparent background, (X, Y) its top-left corner.
    void Text(int X, int Y, const QString &Caption);
    int TextHeight() const;
    int TextWidth(const QString &Caption) const;

private:
    void Merge(int X, int Y, QRgb Colour)
    {
        if (X >= 0 && X < FWidth && Y >= 0 && Y < FHeight)
            reinterpret_cast<QRgb *>(FBits + std::ptrdiff_t(Y) * FStride)[X] |= Colour;
    }
    void MergeRun(int X, int Y, int Count, int StepX, int StepY, QRgb Colour);

    QImage &FImage;
    uchar *FBits;
    qsizetype FStride;
    int FWidth;
    int FHeight;
    QFont FFont;
    QRgb FTextColour;
    // Opened at the first text only.
    std::optional<QPainter> FPainter;
};
