// Automatic trim-area detection from the menu or the "Trim!" button.
#include "app/Detection.h"

#include "app/FormatReport.h"
#include "app/PaintBox.h"
#include "app/Unit1.h"

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
    if (RepeatUnreadableFormat(*this) || !ConfirmLeavingAreas())
        return;
    const std::optional<QString> Result = Commands.Detect(ReadTrimSettings(*this));
    if (!Result)
        return;
    PB->repaint();
    ShowMessage(*Result);
}
