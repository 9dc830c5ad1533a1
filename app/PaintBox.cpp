#include "app/PaintBox.h"

#include <QMouseEvent>
#include <QPainter>

TPaintBox::TPaintBox(QWidget *Parent) : QWidget(Parent)
{
    // The parent's black shows through: each paint starts from it.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TPaintBox::paintEvent(QPaintEvent *)
{
    if (!OnPaint)
        return;
    QPainter Painter(this);
    FCanvas = &Painter;
    struct TReset {
        QPainter *&Canvas;
        ~TReset() { Canvas = nullptr; }
    } Reset{FCanvas};
    OnPaint();
}

void TPaintBox::mousePressEvent(QMouseEvent *Event)
{
    if (OnMouseDown) {
        const QPoint At = Event->position().toPoint();
        OnMouseDown(Event->button(), Event->modifiers(), At.x(), At.y());
    }
    QWidget::mousePressEvent(Event);
}

QImage &TPaintBox::Surface()
{
    if (FSurface.size() != size())
        FSurface = QImage(size(), QImage::Format_RGB32);
    return FSurface;
}
