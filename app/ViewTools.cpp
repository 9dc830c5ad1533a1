// The view's tools beside the designed form: the overview strip and the
// time ruler above the view, the zoom and playback menus and their keys,
// the wheel, and the playhead's timer.
#include "app/Unit1.h"

#include "app/OverviewStrip.h"
#include "app/PaintBox.h"
#include "app/TimeRuler.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QLayout>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

// One notch of the wheel scrolls a tenth of the view, or zooms by this.
constexpr double ColumnsPerNotch = 0.1;
constexpr double ZoomPerNotch = 1.5;
constexpr double ZoomPerKey = 2.0;

} // namespace

void TForm1::CreateViewTools()
{
    WaveView = new TWaveView(Document, *ZU2, *SB, *SBHZ, *PB, this);
    // Docked above the view, so the designed client area below keeps its
    // size: the window grows by the strip's height instead.
    auto *Dock = new QDockWidget(this);
    Dock->setObjectName(QStringLiteral("ViewStrip"));
    Dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    Dock->setTitleBarWidget(new QWidget(Dock));
    auto *Strip = new QWidget(Dock);
    Strip->setAutoFillBackground(true);
    Strip->setPalette(Panel2->palette());
    auto *Layout = new QVBoxLayout(Strip);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    Overview = new TOverviewStrip(*this, Strip);
    Ruler = new TTimeRuler(*this, Strip);
    Layout->addWidget(Overview);
    Layout->addWidget(Ruler);
    Dock->setWidget(Strip);
    layout()->activate();
    const int DesignedHeight = Panel2->height();
    addDockWidget(Qt::TopDockWidgetArea, Dock);
    layout()->activate();
    resize(width(), height() + DesignedHeight - Panel2->height());

    // One 表示 menu: the tool window's item, then the zoom's.
    ViewMenu = View1;
    ViewMenu->addSeparator();
    ZoomInAction = ViewMenu->addAction(tr("拡大"));
    ZoomInAction->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)});
    ZoomOutAction = ViewMenu->addAction(tr("縮小"));
    ZoomOutAction->setShortcuts({QKeySequence(Qt::Key_Minus), QKeySequence(0x2212)});
    WholeRecordingAction = ViewMenu->addAction(tr("全体を表示"));
    WholeRecordingAction->setShortcut(QKeySequence(Qt::Key_0));
    PlayMenu = menuBar()->addMenu(tr("再生"));
    PlayMenu->setObjectName(QStringLiteral("PlayMenu"));
    StopAction = PlayMenu->addAction(tr("停止"));
    StopAction->setShortcut(QKeySequence(Qt::Key_Escape));

    connect(ZoomInAction, &QAction::triggered, this,
            [this] { Guarded([this] { WaveView->ZoomAround(PB->width() / 2, 1 / ZoomPerKey); }); });
    connect(ZoomOutAction, &QAction::triggered, this,
            [this] { Guarded([this] { WaveView->ZoomAround(PB->width() / 2, ZoomPerKey); }); });
    connect(WholeRecordingAction, &QAction::triggered, this, [this] { Guarded([this] { WaveView->ShowWholeRecording(); }); });
    connect(StopAction, &QAction::triggered, this, [this] { Guarded([this] { WaveView->StopPlayback(); }); });

    PB->OnWheel = [this](Qt::KeyboardModifiers Shift, double Notches, int X) {
        Guarded([&] {
            if (Shift & Qt::ControlModifier)
                WaveView->ZoomAround(X, std::pow(ZoomPerNotch, -Notches));
            else
                WaveView->ScrollColumns(-Notches * ColumnsPerNotch * PB->width());
        });
    };
    PB->OnResize = [this] { Guarded([this] { WaveView->FitZoomRange(); }); };

    connect(WaveView->PlayheadTimer(), &QTimer::timeout, this,
            [this] { Guarded([this] { WaveView->PlayheadTimerTimer(); }); });

    CreateAreaTools();
}
