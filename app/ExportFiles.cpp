// The export's folder.
#include "Export.h"

#include "Unit1.h"

#include <QDir>

QString ExportFolder(TForm1 &Form)
{
    return QDir(Form.ProgramDirectory()).filePath(QStringLiteral("MakedFile"));
}
