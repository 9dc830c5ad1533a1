// The 編集 menu of hand corrections, its keys, and the area list beside
// the view, which follows every change and shows or plays an area.
#include "app/Unit1.h"

#include "app/AreaList.h"
#include "app/ClockText.h"
#include "app/PaintBox.h"

#include <QAction>
#include <QDockWidget>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace {

// Each column as wide as its widest text (a clock past ten hours, a
// four-digit number) and the list as wide as its columns: none is cut off
// or scrolled out of sight, whatever the window's width.
void FitColumns(QTableView &List)
{
    const QFontMetrics Metrics(List.font());
    // The room a cell's text leaves on either side, with some to spare.
    const int Margin = 2 * (List.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &List) + 1) + 8;
    const QHeaderView &Header = *List.horizontalHeader();
    const auto Width = [&](int Column, const QString &Widest) {
        const QString Caption = List.model()->headerData(Column, Qt::Horizontal, Qt::DisplayRole).toString();
        return std::max(Metrics.horizontalAdvance(Widest), QFontMetrics(Header.font()).horizontalAdvance(Caption))
            + Margin;
    };
    const QString Clock = ClockTextMs(99LL * 3600 * 1000 + 59 * 60 * 1000 + 59 * 1000 + 999);
    int Total = 0;
    for (int Column = 0; Column < List.model()->columnCount(); ++Column) {
        const int Section = Width(Column, Column == 0 ? QStringLiteral("0000") : Clock);
        List.horizontalHeader()->resizeSection(Column, Section);
        Total += Section;
    }
    const int Frame = 2 * List.frameWidth();
    const int ScrollBar = List.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &List);
    List.setMinimumWidth(Total + Frame + ScrollBar);
}

} // namespace

void TForm1::CreateAreaTools()
{
    EditMenu = menuBar()->addMenu(tr("編集"));
    EditMenu->setObjectName(QStringLiteral("EditMenu"));
    UndoAction = EditMenu->addAction(tr("元に戻す"));
    UndoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    RedoAction = EditMenu->addAction(tr("やり直し"));
    RedoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EditMenu->addSeparator();
    DeleteAreaAction = EditMenu->addAction(tr("範囲を削除"));
    DeleteAreaAction->setShortcut(QKeySequence(Qt::Key_Delete));
    SplitAction = EditMenu->addAction(tr("カーソル位置で分割"));
    SplitAction->setShortcut(QKeySequence(Qt::Key_S));
    MergeAction = EditMenu->addAction(tr("次の範囲と結合"));
    MergeAction->setShortcut(QKeySequence(Qt::Key_M));
    const auto Bind = [this](QAction *Action, auto Command) {
        connect(Action, &QAction::triggered, this, [this, Command] {
            Guarded([this, Command] {
                Command();
                ShowAreaChanges();
            });
        });
    };
    Bind(UndoAction, [this] { Document.Editor().Undo(); });
    Bind(RedoAction, [this] { Document.Editor().Redo(); });
    Bind(DeleteAreaAction, [this] { Document.Editor().Remove(Document.Editor().Selected()); });
    Bind(SplitAction, [this] {
        if (FCursor)
            Document.Editor().SplitAt(*FCursor);
    });
    Bind(MergeAction, [this] { Document.Editor().MergeWithNext(Document.Editor().Selected()); });

    const auto Designed = PB->OnMouseDown;
    PB->OnMouseDown = [this, Designed](Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y) {
        Designed(Button, Shift, X, Y);
        if (Button == Qt::LeftButton)
            Guarded([&] { AreaMouseDown(Shift, X); });
    };
    PB->OnMouseMove = [this](int X) { Guarded([&] { AreaMouseMove(X); }); };
    PB->OnMouseUp = [this](Qt::MouseButton Button, int X) {
        if (Button == Qt::LeftButton)
            Guarded([&] { AreaMouseUp(X); });
    };

    // Beside the view, the window growing by its width.
    auto *Dock = new QDockWidget(this);
    Dock->setObjectName(QStringLiteral("AreaListDock"));
    Dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    Dock->setTitleBarWidget(new QWidget(Dock));
    AreaList = new QTableView(Dock);
    AreaList->setObjectName(QStringLiteral("AreaList"));
    AreaListModel = new TAreaListModel(*this, AreaList);
    AreaList->setModel(AreaListModel);
    AreaList->setSelectionBehavior(QAbstractItemView::SelectRows);
    AreaList->setSelectionMode(QAbstractItemView::SingleSelection);
    AreaList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    AreaList->verticalHeader()->hide();
    AreaList->horizontalHeader()->setStretchLastSection(true);
    FitColumns(*AreaList);
    Dock->setWidget(AreaList);
    layout()->activate();
    const int DesignedWidth = Panel2->width();
    // The list runs the window's full height; the strip above the view
    // stays as wide as the view.
    setCorner(Qt::TopRightCorner, Qt::RightDockWidgetArea);
    addDockWidget(Qt::RightDockWidgetArea, Dock);
    layout()->activate();
    resize(width() + DesignedWidth - Panel2->width(), height());

    connect(AreaList, &QTableView::clicked, this,
            [this](const QModelIndex &Index) { Guarded([&] { ShowArea(Index.row()); }); });
    connect(AreaList, &QTableView::doubleClicked, this,
            [this](const QModelIndex &Index) { Guarded([&] { PlayArea(Index.row()); }); });
}

void TForm1::ShowAreaChanges()
{
    PB->repaint();
}

void TForm1::ListAreaChanges()
{
    Document.Editor().Sync();
    UndoAction->setEnabled(Document.Editor().CanUndo());
    RedoAction->setEnabled(Document.Editor().CanRedo());
    if (FListedVersion != Document.Editor().Version()) {
        FListedVersion = Document.Editor().Version();
        AreaListModel->Refresh();
        if (Document.Editor().Selected() >= 0)
            AreaList->selectRow(Document.Editor().Selected());
    }
}

void TForm1::ShowArea(int Index)
{
    if (Index < 0 || Index >= FAreaCount || std::size_t(Index) >= FAreas.size())
        return;
    Document.Editor().Select(Index);
    // Its start a tenth of the view in from the left edge.
    const std::int64_t Start = FAreas[std::size_t(Index)].StartPos;
    const std::int64_t Wanted = Start - std::int64_t(PB->width() / 10) * SBHZ->value();
    SB->setValue(int(std::clamp<std::int64_t>(Wanted, SB->minimum(), SB->maximum())));
    ShowAreaChanges();
}

void TForm1::PlayArea(int Index)
{
    if (Index < 0 || Index >= FAreaCount || std::size_t(Index) >= FAreas.size())
        return;
    // Through the play command, at the area's middle: where areas overlap
    // (a zero search can make them) it plays the last one holding it.
    const TTrimArea Area = FAreas[std::size_t(Index)];
    FClickPos = Area.StartPos + (Area.EndPos - Area.StartPos) / 2;
    Playthistrimarea1Click();
}
