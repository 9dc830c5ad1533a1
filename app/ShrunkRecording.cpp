#include "app/ShrunkRecording.h"

#include "app/Unit1.h"
#include "engine/MappedRecording.h"

#include <QCoreApplication>

QString ShrunkRecordingReport(const TForm1 &Form)
{
    const std::shared_ptr<TMappedRecording> &Mapped = Form.Document.Mapped();
    if (!Mapped || !Mapped->Shrank())
        return QString();
    return QCoreApplication::translate("Redivev",
                                       "wavファイルが他のプログラムによって短くなりました。もう一度開いてください\n")
        + Form.Document.RecordingName();
}

bool RefuseShrunkRecording(TForm1 &Form)
{
    const QString Report = ShrunkRecordingReport(Form);
    if (Report.isEmpty())
        return false;
    Form.ShowMessage(Report);
    return true;
}
