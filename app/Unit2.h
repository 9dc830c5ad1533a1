#pragma once
// TForm2: the floating tool window. It owns no controls: it shows Form1's
// ControlPanel, whose events Form1 keeps handling. A tool window of the
// main window: above that window only, minimised and restored with it, and
// brought back by 表示 → ツールウィンドウ.
#include <QMargins>
#include <QPointer>
#include <QWidget>

class QCloseEvent;
class TForm1;

namespace Ui {
class TForm2;
}

class TForm2 : public QWidget {
    Q_OBJECT

public:
    explicit TForm2(TForm1 &Form1, QWidget *parent = nullptr);
    ~TForm2() override;

    void FormCreate();
    // Shows the window again, restored if it was minimised, above its
    // main window.
    void BringBack();

protected:
    void closeEvent(QCloseEvent *Event) override;
    bool event(QEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    QMargins Frame();
    int OuterHeight();
    void MoveFrame(int Left, int Top);
    int ScreenHeight() const;
    // The client height at which every row of the panel shows.
    int WholePanelHeight();
    // The size limits bind the outer frame: as wide as the panel, at least
    // 100 pixels high. The frame is known only once the window system has
    // framed the window, so they are set again whenever it changes.
    void BindFrame();
    QRect Place() const;

    QPointer<TForm1> FForm1;
    Ui::TForm2 *ui = nullptr;
    int FPanelWidth = 0;
    QMargins FBoundFrame{-1, -1, -1, -1};
    // Where FormCreate put the window, while it stays there.
    QRect FDesignedPlace;
};
