#pragma once
// Where the export's files go; the commands themselves live in the engine.
#include "Extraction.h"
#include "ExportFolder.h"
#include "PieceFile.h"

#include <QString>

class TForm1;

// OutputFolder(ProgramDirectory()), without a trailing separator.
QString ExportFolder(TForm1 &Form);
