// Automatic trim-area detection from the menu or the "Trim!" button.
#include "app/Detection.h"

#include "app/BackgroundWork.h"
#include "app/FormatReport.h"
#include "app/PaintBox.h"
#include "app/Unit1.h"
#include "app/ShrunkRecording.h"
#include "app/WaitCursor.h"
#include "engine/LeftOutSound.h"
#include "engine/LevelBand.h"
#include "engine/RecordingLevels.h"
#include "engine/SuggestSettings.h"
#include "engine/TrimDetection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QScrollBar>

#include <algorithm>

TTrimSettings ReadTrimSettings(const TForm1 &Form)
{
    TTrimSettings Settings{Form.SettingOf(Form.SBN),    Form.SettingOf(Form.SBNW),   Form.SettingOf(Form.SBML),
                           Form.SettingOf(Form.SBCSL),  Form.SettingOf(Form.SBMZSS), Form.SettingOf(Form.SBMZSE),
                           Form.SettingOf(Form.SBPAD),  Form.SettingOf(Form.SBLW),   Form.SettingOf(Form.SBMAX)};
    Settings.JoinShort = Form.JoinShortBox != nullptr && Form.JoinShortBox->isChecked() ? 1 : 0;
    Settings.Band = Form.BandBox != nullptr ? std::max(Form.BandBox->currentIndex(), 0) : 0;
    return Settings;
}

void TForm1::N5Click()
{
    if (RefuseShrunkRecording(*this) || RepeatUnreadableFormat(*this) || !ConfirmLeavingAreas())
        return;
    QString LeftOut;
    {
        TWaitCursor Wait;
        // Built apart and taken only when complete: a cancelled detection
        // leaves the areas shown as they were.
        std::vector<TTrimArea> Areas;
        std::int32_t Count = 0;
        const TSampleView Recording = RecordingView();
        const TTrimSettings Settings = ReadTrimSettings(*this);
        // Auto's levels follow the floor it found, as redivev-split --auto's do.
        const TFloorTrack Floor = FSuggested ? FloorFor(*FSuggested, Settings) : TFloorTrack{};
        bool Completed = false;
        try {
            Completed = RunInBackground(this, tr("自動切り出しをしています..."), [&](TBackgroundWork &Work) {
                DetectTrimAreas(Recording, Settings, Floor, Areas, Count, [&Work](double Share) {
                    Work.Report(Share);
                    return !Work.Cancelled();
                });
                // Short pieces kept are a promise that no sound is lost:
                // what still lies in no piece is said.
                if (Settings.JoinShort != 0) {
                    // In the band the cuts were read in, where its floor is.
                    const std::vector<double> Levels = Settings.Band != BandFull
                        ? BandLevelsDb(Recording, Settings.Band)
                        : WindowLevelsDb(Recording);
                    const TLeftOutSound Found = LeftOutSound(Levels, Recording.Format.nSamplesPerSec,
                                                             NoiseFloorOf(Levels).Db, Areas, Count, Floor);
                    if (Found.Stretches > 0)
                        LeftOut = tr("。雑音より%1 dB大きい音が%nか所 (最初は%2秒) どの区間にも入っていません",
                                     nullptr, Found.Stretches)
                                      .arg(Found.AboveFloorDb, 0, 'f', 1)
                                      .arg(Found.FirstSeconds, 0, 'f', 2);
                }
            });
        } catch (...) {
            FAreaCount = 0;
            throw;
        }
        if (!Completed)
            return;
        FAreas = std::move(Areas);
        FAreaCount = Count;
        // Detected again from the settings at any time: nothing to lose.
        MarkAreasSaved();
        PB->repaint();
    }
    ShowMessage(tr("%n個に分割されました", nullptr, FAreaCount) + LeftOut);
}
