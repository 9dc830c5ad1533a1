// Peak normalisation of the loaded recording, from the menu.
#include "Normalisation.h"
#include "PaintBox.h"
#include "Unit1.h"
#include "WaitCursor.h"

void TForm1::N3Click()
{
    TNormaliseResult Result;
    {
        TWaitCursor Wait;
        Result = NormaliseRecording(*ZU);
        if (Result == TNormaliseResult::Scaled)
            PB->repaint();
    }
    if (Result == TNormaliseResult::Silent)
        ShowMessage(QStringLiteral("無音のため音量を変更できません"));
}
