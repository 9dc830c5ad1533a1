#include "app/OpenNamed.h"

#include "app/BackgroundWork.h"
#include "app/EngineMessages.h"
#include "app/Unit1.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <QWindow>

#include <exception>
#include <optional>

void OpenNamedFile(TForm1 &Form, const QByteArray &FileName)
{
    // A file dropped while detection or an export reads the recording.
    if (BackgroundWorkRunning()) {
        QTimer::singleShot(100, &Form, [&Form, FileName] { OpenNamedFile(Form, FileName); });
        return;
    }
    std::optional<QString> Failure;
    try {
        Form.OpenRecording(FileName.toStdString());
    } catch (const std::exception &Error) {
        Failure = EngineMessage(Error.what());
    } catch (...) {
        Failure = QCoreApplication::translate("Redivev", "Unknown error");
    }
    if (Failure)
        Form.ShowError(*Failure);
}

void OpenNamedFile(TForm1 &Form, const QString &FileName)
{
    OpenNamedFile(Form, QFile::encodeName(FileName));
}

namespace {

// A message about the file is centred on the main window: not before the
// window manager has put that window on the screen, or the message stands
// where the window was before it was placed. A second at most.
void OpenOnceShown(TForm1 &Form, const QByteArray &FileName, int TriesLeft)
{
    const QWindow *Window = Form.windowHandle();
    if (TriesLeft > 0 && (Window == nullptr || !Window->isExposed())) {
        QTimer::singleShot(20, &Form, [&Form, FileName, TriesLeft] { OpenOnceShown(Form, FileName, TriesLeft - 1); });
        return;
    }
    OpenNamedFile(Form, FileName);
}

} // namespace

void OpenFromCommandLine(TForm1 &Form, const QByteArrayList &Arguments)
{
    if (Arguments.size() < 2)
        return;
    const QByteArray FileName = Arguments.at(1);
    QTimer::singleShot(0, &Form, [&Form, FileName] { OpenOnceShown(Form, FileName, 50); });
}
