#include "Unit1.h"

#include "PaintBox.h"

#include <QPainter>

void TForm1::PBPaint()
{
    QPainter *Canvas = PB->Canvas();
    if (Canvas == nullptr) {
        PB->repaint();
        return;
    }
    PaintView(*Canvas);
}

void TForm1::PaintView(QPainter &) {}

void TForm1::ReportPaintError(const QString &Text)
{
    if (FPaintErrorReported)
        return;
    FPaintErrorReported = true;
    ShowError(Text);
}
