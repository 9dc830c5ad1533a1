// Automatic trim-area detection from the menu or the "Trim!" button.
#include "app/Detection.h"

#include "app/FormatReport.h"
#include "app/PaintBox.h"
#include "app/Unit1.h"
#include "app/ShrunkRecording.h"
#include "app/WaitCursor.h"


TTrimSettings ReadTrimSettings(const TForm1 &Form)
{
    return Form.Settings->TrimSettings();
}

void TForm1::N5Click()
{
    if (RefuseShrunkRecording(*this) || RepeatUnreadableFormat(*this) || !ConfirmLeavingAreas())
        return;
    std::optional<QString> Result;
    {
        TWaitCursor Wait;
        Result = Commands.Detect(ReadTrimSettings(*this));
        if (!Result)
            return;
        PB->repaint();
    }
    ShowMessage(*Result);
}
