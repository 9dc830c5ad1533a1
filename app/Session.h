#pragma once
// What the window remembers from one run to the next: the tool window's
// settings, both windows' places and sizes, and the export folder chosen.
// The store is an INI file under the user's configuration folder
// ($XDG_CONFIG_HOME/redivev/redivev.conf), looked up at every use so that a
// test may point it elsewhere; a missing store gives the designed start-up.
#include "app/SettingsPanel.h"

#include <QString>

class QWidget;
class TForm1;

QString SessionFile();

// The settings' values, as the panel keeps them.
TSettingValues SettingValuesOf(const TForm1 &Form);
// Sets each bar named in Values; names that no bar has are skipped.
void ApplySettingValues(TForm1 &Form, const TSettingValues &Values);

// Puts back what the store holds; ToolWindow may be null.
void RestoreSession(TForm1 &Form, QWidget *ToolWindow);
// Writes the settings, the windows' geometry and the export folder.
void SaveSession(const TForm1 &Form, const QWidget *ToolWindow);
// Writes the export folder alone, as soon as it is chosen.
void SaveExportFolder(const QString &Folder);
