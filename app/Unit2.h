#pragma once
// TForm2: the floating tool window. It owns no controls: it shows Form1's
// ControlPanel, whose events Form1 keeps handling.
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

protected:
    void closeEvent(QCloseEvent *Event) override;

private:
    QMargins Frame();
    int OuterHeight();
    void MoveFrame(int Left, int Top);
    int ScreenHeight() const;

    QPointer<TForm1> FForm1;
    Ui::TForm2 *ui = nullptr;
};
