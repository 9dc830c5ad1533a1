// Peak normalisation of the loaded recording, from the menu.
#include "app/FormatReport.h"
#include "app/LevelReading.h"
#include "app/PaintBox.h"
#include "app/RecordingLoad.h"
#include "app/Unit1.h"
#include "app/ShrunkRecording.h"
#include "app/WaitCursor.h"
#include "engine/MappedRecording.h"
#include "engine/Normalisation.h"

void TForm1::N3Click()
{
    if (RefuseShrunkRecording(*this) || RepeatUnreadableFormat(*this))
        return;
    TNormaliseResult Result;
    {
        TWaitCursor Wait;
        // The levels are read from the samples about to change.
        FLevelReading.reset();
        // The mapped recording is scaled in place, its pages written becoming
        // the program's own (ZU's block lies among them); a copy the library
        // holds of a layout nothing reads goes through its passes, which
        // refuse it.
        Result = FMapped ? NormaliseSamples(FMapped->ChangeSamples(), RecordingView()) : NormaliseRecording(*ZU);
        if (Result == TNormaliseResult::Scaled) {
            FPeaks.reset(); // the samples changed in place
            ReadLevels();
            PB->repaint();
        }
    }
    if (Result == TNormaliseResult::Silent)
        ShowMessage(tr("無音のため音量を変更できません"));
}
