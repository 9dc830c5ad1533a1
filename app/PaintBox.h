#pragma once
// TPaintBox: a widget with no look of its own. Its owner draws it on every
// paint through OnPaint, on the Canvas that exists only during that paint,
// and hears its mouse presses through OnMouseDown, its wheel through
// OnWheel, drags through OnMouseMove and OnMouseUp, and its changes of size
// through OnResize.
#include <QImage>
#include <QWidget>

#include <functional>

class QPainter;

class TPaintBox : public QWidget {
    Q_OBJECT

public:
    explicit TPaintBox(QWidget *Parent = nullptr);

    std::function<void()> OnPaint;
    std::function<void(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)> OnMouseDown;
    // Delta in notches (one click of a common wheel is 1; up or left is
    // positive), X the column under the pointer.
    std::function<void(Qt::KeyboardModifiers Shift, double Notches, int X)> OnWheel;
    std::function<void()> OnResize;
    // Moves while a button is held, and the release; X in view columns.
    std::function<void(int X)> OnMouseMove;
    std::function<void(Qt::MouseButton Button, int X)> OnMouseUp;

    // The painter of the paint in progress; null outside a paint.
    QPainter *Canvas() const { return FCanvas; }
    // An image of the view's size for the owner to draw a paint into. Only
    // its memory is kept between paints, never what was drawn.
    QImage &Surface();

protected:
    void paintEvent(QPaintEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void wheelEvent(QWheelEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;

private:
    QPainter *FCanvas = nullptr;
    QImage FSurface;
};
