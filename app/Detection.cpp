// Automatic trim-area detection from the menu or the "Trim!" button.
#include "app/Detection.h"

#include "app/BackgroundWork.h"
#include "app/FormatReport.h"
#include "app/PaintBox.h"
#include "app/Unit1.h"
#include "app/WaitCursor.h"
#include "engine/TrimDetection.h"

#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

TTrimSettings ReadTrimSettings(const TForm1 &Form)
{
    return TTrimSettings{Form.SettingOf(Form.SBN),    Form.SettingOf(Form.SBNW),   Form.SettingOf(Form.SBML),
                         Form.SettingOf(Form.SBCSL),  Form.SettingOf(Form.SBMZSS), Form.SettingOf(Form.SBMZSE),
                         Form.SettingOf(Form.SBPAD),  Form.SettingOf(Form.SBLW),   Form.SettingOf(Form.SBMAX)};
}

std::int32_t TForm1::SampleLevel(std::int32_t Pos)
{
    if (Pos < 0 || Pos >= ZU->GetWaveSize()) {
        setWindowTitle(QStringLiteral("内部エラー"));
        return 0;
    }
    const std::int32_t Level = std::abs(ZU->GetPosValue16(0, Pos));
    if (ZU->GetChannels() != 2)
        return Level;
    // Sound on either channel counts.
    return std::max(Level, std::abs(ZU->GetPosValue16(1, Pos)));
}

void TForm1::N5Click()
{
    if (RepeatUnreadableFormat(*this))
        return;
    {
        TWaitCursor Wait;
        // Built apart and taken only when complete: a cancelled detection
        // leaves the areas shown as they were.
        std::vector<TTrimArea> Areas;
        std::int32_t Count = 0;
        const TSampleView Recording = RecordingView();
        const TTrimSettings Settings = ReadTrimSettings(*this);
        bool Completed = false;
        try {
            Completed = RunInBackground(this, QStringLiteral("自動切り出しをしています..."), [&](TBackgroundWork &Work) {
                DetectTrimAreas(Recording, Settings, Areas, Count, [&Work](double Share) {
                    Work.Report(Share);
                    return !Work.Cancelled();
                });
            });
        } catch (...) {
            FAreaCount = 0;
            throw;
        }
        if (!Completed)
            return;
        FAreas = std::move(Areas);
        FAreaCount = Count;
        PB->repaint();
    }
    ShowMessage(QString::number(FAreaCount) + QStringLiteral("個に分割されました"));
}
