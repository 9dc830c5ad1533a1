#include "app/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

void FitToScreen(QWidget &Window)
{
    const QScreen *Screen = Window.screen() != nullptr ? Window.screen() : QGuiApplication::primaryScreen();
    if (Screen == nullptr)
        return;
    const QRect Room = Screen->availableGeometry();
    // Known once the window exists on a platform that frames it here;
    // otherwise the window manager adds its frame later and keeps the
    // window on the screen itself.
    const QMargins Frame = Window.windowHandle() != nullptr ? Window.windowHandle()->frameMargins() : QMargins();
    const int FrameWidth = Frame.left() + Frame.right();
    const int FrameHeight = Frame.top() + Frame.bottom();
    const int Width = std::min(Window.width(), Room.width() - FrameWidth);
    const int Height = std::min(Window.height(), Room.height() - FrameHeight);
    if (Width != Window.width() || Height != Window.height())
        Window.resize(Width, Height);

    const QRect Outer = Window.frameGeometry();
    const int Left = std::clamp(Outer.left(), Room.left(), std::max(Room.left(), Room.right() + 1 - Outer.width()));
    const int Top = std::clamp(Outer.top(), Room.top(), std::max(Room.top(), Room.bottom() + 1 - Outer.height()));
    if (Left != Outer.left() || Top != Outer.top())
        Window.move(Left, Top);
}
