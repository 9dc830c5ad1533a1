#pragma once
// Where the export's pieces go.
#include <QString>

// ProgramDirectory/MakedFile for a copied folder or the build tree, when
// this user can create that folder there and write into it. For an
// installed copy (its menu entry lies at ../share/applications/redivev.desktop
// from the program's folder), which keeps a bin folder free of recordings
// also where the user owns it, Redivev in the user's music folder, where
// the desktop names one. Otherwise MakedFile in the per-user data folder.
// Creates the folder it answers with when it can; at most one empty file is
// made and removed again to learn whether the user may write. No trailing
// separator.
QString OutputFolder(const QString &ProgramDirectory);
