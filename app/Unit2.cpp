#include "app/Unit2.h"

#include "app/Unit1.h"
#include "ui_Unit2.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

TForm2::TForm2(TForm1 &Form1, QWidget *parent)
    : QWidget(parent != nullptr ? parent : &Form1), FForm1(&Form1), ui(new Ui::TForm2)
{
    ui->setupUi(this);
    // A tool window of the main window, with a caption and a sizing frame
    // but no buttons on it. The window system keeps it above the main
    // window only, not above every other program.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // It lives as long as the program: closing the main window ends both.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(Form1.font());
    setPalette(Form1.palette());
    FormCreate();
    Form1.installEventFilter(this);
    if (Form1.ToolWindow1 != nullptr)
        connect(Form1.ToolWindow1, &QAction::triggered, this, &TForm2::BringBack);
}

TForm2::~TForm2()
{
    // The panel belongs to Form1: hand it back rather than destroy it.
    if (FForm1 && FForm1->ControlPanel != nullptr && FForm1->ControlPanel->parent() == this) {
        FForm1->ControlPanel->hide();
        FForm1->ControlPanel->setParent(FForm1->Panel2);
    }
    delete ui;
}

// Left, Top and the outer height count the frame, which the platform tells
// only once the window exists.
QMargins TForm2::Frame()
{
    create();
    return windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
}

int TForm2::OuterHeight()
{
    const QMargins Margins = Frame();
    return height() + Margins.top() + Margins.bottom();
}

void TForm2::MoveFrame(int Left, int Top)
{
    const QMargins Margins = Frame();
    setGeometry(Left + Margins.left(), Top + Margins.top(), width(), height());
}

int TForm2::ScreenHeight() const
{
    const QScreen *Screen = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    return Screen->geometry().height();
}

int TForm2::WholePanelHeight()
{
    // Summed from the panel's rows: its layout has not run yet, and the
    // rows' scroll area shows all of its content at the content's height.
    const QScrollArea *Rows = FForm1->ScrollBox1;
    const QLayout *Column = FForm1->ControlPanel->layout();
    const QMargins Edges = Column->contentsMargins();
    int Wanted = Edges.top() + Edges.bottom() + Column->spacing() * std::max(0, Column->count() - 1);
    for (int I = 0; I < Column->count(); ++I) {
        QLayoutItem *Item = Column->itemAt(I);
        Wanted += Item->widget() == Rows ? Rows->widget()->minimumHeight() + 2 * Rows->frameWidth()
                                         : Item->sizeHint().height();
    }
    // The window stands 30 pixels above the screen's bottom and must not
    // reach above the screen's usable area.
    const QScreen *Screen = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const QMargins Margins = Frame();
    const int Room = std::min(Screen->availableGeometry().bottom() + 1, ScreenHeight() - 30)
        - Screen->availableGeometry().top() - Margins.top() - Margins.bottom();
    return std::max(std::min(Wanted, Room), FForm1->ControlPanel->height());
}

void TForm2::FormCreate()
{
    QWidget *ControlPanel = FForm1->ControlPanel;
    FPanelWidth = ControlPanel->width();
    resize(ControlPanel->width(), height());
    resize(width(), ControlPanel->height());

    ControlPanel->setParent(this);
    ControlPanel->setVisible(true);
    layout()->addWidget(ControlPanel);
    // Every setting in view at start, where the screen has room for them.
    resize(width(), WholePanelHeight());

    // x() and y() are the frame's position already.
    MoveFrame(10, y());
    MoveFrame(x(), ScreenHeight() - OuterHeight() - 30);
    FDesignedPlace = Place();
    BindFrame();
    // The window manager frames the window after it is mapped, which the
    // widget hears of by no event of its own; its platform window is
    // exposed then.
    windowHandle()->installEventFilter(this);
}

// The client's corner, which the window manager keeps when it frames the
// window, and its height; its width follows the frame.
QRect TForm2::Place() const
{
    return QRect(geometry().topLeft(), QSize(1, height()));
}

void TForm2::BindFrame()
{
    const QMargins Margins = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    if (Margins == FBoundFrame)
        return;
    FBoundFrame = Margins;
    const int Width = FPanelWidth - Margins.left() - Margins.right();
    setMinimumWidth(0);
    setMaximumWidth(Width);
    setMinimumWidth(Width);
    setMinimumHeight(std::max(0, 100 - Margins.top() - Margins.bottom()));
    // Placed before the frame was known: placed again, 30 pixels above the
    // screen's bottom, unless it has been moved or sized since.
    if (Place() == FDesignedPlace) {
        MoveFrame(10, ScreenHeight() - OuterHeight() - 30);
        FDesignedPlace = Place();
    }
}

void TForm2::BringBack()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
}

bool TForm2::event(QEvent *Event)
{
    switch (Event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
        BindFrame();
        break;
    default:
        break;
    }
    return QWidget::event(Event);
}

// The frame once known; and a main window restored from the task bar
// brings the tool window back, also when the tool window had been
// minimised on its own.
bool TForm2::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == windowHandle() && (Event->type() == QEvent::Expose || Event->type() == QEvent::Move))
        QTimer::singleShot(0, this, &TForm2::BindFrame);
    if (Watched == FForm1 && Event->type() == QEvent::WindowStateChange && !FForm1->isMinimized()
        && FForm1->isVisible() && (isMinimized() || !isVisible()))
        BringBack();
    return QWidget::eventFilter(Watched, Event);
}

// The window has no close box and carries every setting: the window
// manager's close (its menu, a key) is refused. The program's own close, as
// when the main window ends the program, is not spontaneous and goes ahead.
void TForm2::closeEvent(QCloseEvent *Event)
{
    if (Event->spontaneous())
        Event->ignore();
    else
        QWidget::closeEvent(Event);
}
