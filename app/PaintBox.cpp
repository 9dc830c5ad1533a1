#include "app/PaintBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

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

void TPaintBox::wheelEvent(QWheelEvent *Event)
{
    const QPoint Delta = Event->angleDelta();
    // A wheel turned sideways counts as one turned up or down.
    const int Eighths = Delta.y() != 0 ? Delta.y() : Delta.x();
    if (!OnWheel || Eighths == 0) {
        QWidget::wheelEvent(Event);
        return;
    }
    OnWheel(Event->modifiers(), Eighths / 120.0, int(Event->position().x()));
    Event->accept();
}

void TPaintBox::mouseMoveEvent(QMouseEvent *Event)
{
    if (OnMouseMove && Event->buttons() != Qt::NoButton)
        OnMouseMove(int(Event->position().x()));
    QWidget::mouseMoveEvent(Event);
}

void TPaintBox::mouseReleaseEvent(QMouseEvent *Event)
{
    if (OnMouseUp)
        OnMouseUp(Event->button(), int(Event->position().x()));
    QWidget::mouseReleaseEvent(Event);
}

void TPaintBox::resizeEvent(QResizeEvent *Event)
{
    QWidget::resizeEvent(Event);
    if (OnResize)
        OnResize();
}

QImage &TPaintBox::Surface()
{
    if (FSurface.size() != size())
        FSurface = QImage(size(), QImage::Format_RGB32);
    return FSurface;
}
