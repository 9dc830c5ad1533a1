#include "app/Unit1.h"

#include "app/PaintBox.h"

#include <QLineEdit>
#include <QScrollBar>

void TForm1::SBChange(QScrollBar *Sender)
{
    // Raising the minimum may move SBCSL, whose own change runs nested here,
    // before this bar's mirror is written.
    if (Sender == SBN)
        SBCSL->setMinimum(SBN->value());

    QLineEdit *Mirror = nullptr;
    if (Sender == SBVZ)
        Mirror = Edit7;
    else if (Sender == SBHZ)
        Mirror = Edit8;
    else if (Sender == SBN)
        Mirror = Edit1;
    else if (Sender == SBNW)
        Mirror = Edit2;
    else if (Sender == SBML)
        Mirror = Edit3;
    else if (Sender == SBCSL)
        Mirror = Edit4;
    else if (Sender == SBAFIL)
        Mirror = Edit5;
    else if (Sender == SBAFOL)
        Mirror = Edit6;
    else if (Sender == SBMZSS)
        Mirror = Edit9;
    else if (Sender == SBMZSE)
        Mirror = Edit10;
    if (Mirror != nullptr)
        Mirror->setText(QString::number(Sender->value()));

    PB->repaint();
}
