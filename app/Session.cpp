#include "app/Session.h"

#include "app/Unit1.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

namespace {

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
    return Form.Settings->Values();
}

void ApplySettingValues(TForm1 &Form, const TSettingValues &Values)
{
    Form.Settings->Apply(Values);
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
