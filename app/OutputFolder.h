#pragma once
// Where the export's pieces go.
#include <QString>

// ProgramDirectory/MakedFile for a copied folder or the build tree, when
// this user can create that folder there and write into it. Otherwise
// MakedFile in the per-user data folder: for an installed copy (its menu
// entry lies at ../share/applications/redivev.desktop from the program's
// folder), which keeps a bin folder free of recordings also where the user
// owns it, and for a folder the user may not write. Creates the folder it answers
// with when it can; at most one empty file is made and removed again to
// learn whether the user may write. No trailing separator.
QString OutputFolder(const QString &ProgramDirectory);
