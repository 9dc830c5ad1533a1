// The export's folder.
#include "Export.h"

#include "OutputFolder.h"
#include "Unit1.h"


QString ExportFolder(TForm1 &Form)
{
    return OutputFolder(Form.ProgramDirectory());
}
