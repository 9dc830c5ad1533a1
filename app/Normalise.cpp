// Peak normalisation of the loaded recording, from the menu.
#include "app/FormatReport.h"
#include "app/PaintBox.h"
#include "app/RecordingLoad.h"
#include "app/Unit1.h"
#include "app/WaitCursor.h"
#include "engine/Normalisation.h"

void TForm1::N3Click()
{
    if (RepeatUnreadableFormat(*this))
        return;
    TNormaliseResult Result;
    {
        TWaitCursor Wait;
        // The engine's copy is scaled at its own precision to its format's
        // full scale; ZU keeps the library's passes, which also refuse the
        // PCM layouts nothing reads.
        Result = FHeld ? NormaliseSamples(FHeld->Samples.data(), RecordingView()) : NormaliseRecording(*ZU);
        if (Result == TNormaliseResult::Scaled) {
            FPeaks.reset(); // the samples changed in place
            PB->repaint();
        }
    }
    if (Result == TNormaliseResult::Silent)
        ShowMessage(tr("無音のため音量を変更できません"));
}
