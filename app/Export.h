#pragma once
// Where the export's files go; the commands themselves live in the engine.
#include "engine/ExportFolder.h"
#include "engine/Extraction.h"
#include "engine/PieceFile.h"

#include <QString>

class TForm1;

// The folder the user chose, else OutputFolder(ProgramDirectory()); no
// trailing separator.
QString ExportFolder(TForm1 &Form);
