// A bar's change: the settings panel mirrors it, and the view follows.
#include "app/Unit1.h"

#include "app/PaintBox.h"

void TForm1::SBChange(QScrollBar *Sender)
{
    if (Settings != nullptr)
        Settings->BarChanged(Sender);
    PB->repaint();
}
