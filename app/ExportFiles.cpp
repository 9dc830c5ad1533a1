// The export's folder.
#include "app/Export.h"

#include "app/OutputFolder.h"
#include "app/Unit1.h"

QString ExportFolder(TForm1 &Form)
{
    if (!Form.FExportFolder.isEmpty())
        return Form.FExportFolder;
    return OutputFolder(Form.ProgramDirectory());
}
