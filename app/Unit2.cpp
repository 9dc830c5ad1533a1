#include "app/Unit2.h"

#include "app/Unit1.h"
#include "ui_Unit2.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

TForm2::TForm2(TForm1 &Form1, QWidget *parent) : QWidget(parent), FForm1(&Form1), ui(new Ui::TForm2)
{
    ui->setupUi(this);
    // A tool window with a caption and a sizing frame but no buttons on it.
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // It lives as long as the program: closing the main window ends both.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(Form1.font());
    setPalette(Form1.palette());
    FormCreate();
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

void TForm2::FormCreate()
{
    QWidget *ControlPanel = FForm1->ControlPanel;
    resize(ControlPanel->width(), height());
    resize(width(), ControlPanel->height());
    // x() and y() are the frame's position already.
    MoveFrame(10, y());
    MoveFrame(x(), ScreenHeight() - OuterHeight() - 30);

    ControlPanel->setParent(this);
    ControlPanel->setVisible(true);
    layout()->addWidget(ControlPanel);

    setMaximumWidth(width());
    setMinimumWidth(width());
    setMinimumHeight(100);
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
