#include "app/Session.h"

#include "app/Unit1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

// The no-sound level comes before the cut-start level: it is the latter's
// minimum, and a cut-start level set first could be clamped by the old one.
std::vector<QScrollBar *> SettingBars(const TForm1 &Form)
{
    return {Form.SBN,    Form.SBCSL,  Form.SBNW, Form.SBML, Form.SBMZSS, Form.SBMZSE, Form.SBAFIL,
            Form.SBAFOL, Form.SBVZ,   Form.SBHZ, Form.SBPAD, Form.SBLW,   Form.SBMAX};
}

// The cut-start level's minimum follows the no-sound level only once that
// has moved: the designed start has it below, which must come back too.
const QString CutStartMinimum = QStringLiteral("SBCSLMinimum");

// The settings beside Auto, kept with the bars' values.
const QString JoinShortKey = QStringLiteral("JoinShort");
const QString TargetKey = QStringLiteral("Target");
const QString BandKey = QStringLiteral("Band");

// A list's choice kept by its index; one not offered (edited by hand)
// leaves the choice as it is.
void ChooseKept(QComboBox *Box, const TSettingValues &Values, const QString &Key)
{
    if (Box != nullptr && Values.value(Key, -1) >= 0 && Values.value(Key) < Box->count())
        Box->setCurrentIndex(Values.value(Key));
}

const QString SettingsGroup = QStringLiteral("Settings");
const QString MainWindowKey = QStringLiteral("Windows/Main");
const QString ToolWindowKey = QStringLiteral("Windows/Tool");
const QString ExportFolderKey = QStringLiteral("ExportFolder");

} // namespace

QString SessionFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("redivev/redivev.conf"));
}

TSettingValues SettingValuesOf(const TForm1 &Form)
{
    TSettingValues Values;
    // A value typed beyond its bar is kept as typed (a time as positions at
    // the open recording's rate).
    for (const QScrollBar *Bar : SettingBars(Form))
        Values.insert(Bar->objectName(), Form.SettingOf(Bar));
    Values.insert(CutStartMinimum, Form.SBCSL->minimum());
    if (Form.JoinShortBox != nullptr)
        Values.insert(JoinShortKey, Form.JoinShortBox->isChecked() ? 1 : 0);
    if (Form.TargetBox != nullptr)
        Values.insert(TargetKey, Form.TargetBox->currentIndex());
    if (Form.BandBox != nullptr)
        Values.insert(BandKey, Form.BandBox->currentIndex());
    return Values;
}

void ApplySettingValues(TForm1 &Form, const TSettingValues &Values)
{
    for (QScrollBar *Bar : SettingBars(Form)) {
        if (Bar == Form.SBCSL && Values.contains(CutStartMinimum))
            Bar->setMinimum(std::min(Values.value(CutStartMinimum), Form.SBN->value()));
        if (!Values.contains(Bar->objectName()))
            continue;
        if (Form.FSettingEdits != nullptr && Form.FSettingEdits->Holds(Bar))
            Form.FSettingEdits->Set(Bar, Values.value(Bar->objectName()));
        else
            Bar->setValue(Values.value(Bar->objectName()));
    }
    if (Form.JoinShortBox != nullptr && Values.contains(JoinShortKey))
        Form.JoinShortBox->setChecked(Values.value(JoinShortKey) != 0);
    ChooseKept(Form.TargetBox, Values, TargetKey);
    ChooseKept(Form.BandBox, Values, BandKey);
}

void RestoreSession(TForm1 &Form, QWidget *ToolWindow)
{
    QSettings Settings(SessionFile(), QSettings::IniFormat);
    TSettingValues Values;
    Settings.beginGroup(SettingsGroup);
    for (const QString &Name : Settings.childKeys()) {
        bool Number = false;
        const int Value = Settings.value(Name).toInt(&Number);
        // A value edited by hand into something else is not a setting.
        if (Number)
            Values.insert(Name, Value);
    }
    Settings.endGroup();
    ApplySettingValues(Form, Values);

    Form.restoreGeometry(Settings.value(MainWindowKey).toByteArray());
    if (ToolWindow != nullptr)
        ToolWindow->restoreGeometry(Settings.value(ToolWindowKey).toByteArray());
    Form.FExportFolder = Settings.value(ExportFolderKey).toString();
}

void SaveSession(const TForm1 &Form, const QWidget *ToolWindow)
{
    QSettings Settings(SessionFile(), QSettings::IniFormat);
    Settings.beginGroup(SettingsGroup);
    const TSettingValues Values = SettingValuesOf(Form);
    for (auto It = Values.cbegin(); It != Values.cend(); ++It)
        Settings.setValue(It.key(), It.value());
    Settings.endGroup();
    Settings.setValue(MainWindowKey, Form.saveGeometry());
    if (ToolWindow != nullptr)
        Settings.setValue(ToolWindowKey, ToolWindow->saveGeometry());
    Settings.setValue(ExportFolderKey, Form.FExportFolder);
}

void SaveExportFolder(const QString &Folder)
{
    QSettings(SessionFile(), QSettings::IniFormat).setValue(ExportFolderKey, Folder);
}
