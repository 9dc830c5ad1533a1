#include "OpenNamed.h"

#include "Unit1.h"

#include <QTimer>
#include <QWindow>

#include <exception>
#include <optional>
#include <utility>

namespace {

// The open dialog answers with one name while it lives; the form's own
// dialog is back however the command ends.
class TDialogAnswer {
public:
    TDialogAnswer(TForm1 &Form, const QString &FileName)
        : FForm(Form), FSaved(std::exchange(Form.RunOpenDialog, [FileName] { return std::optional<QString>(FileName); }))
    {
    }
    ~TDialogAnswer() { FForm.RunOpenDialog = std::move(FSaved); }
    TDialogAnswer(const TDialogAnswer &) = delete;
    TDialogAnswer &operator=(const TDialogAnswer &) = delete;

private:
    TForm1 &FForm;
    std::function<std::optional<QString>()> FSaved;
};

} // namespace

void OpenNamedFile(TForm1 &Form, const QString &FileName)
{
    std::optional<QString> Failure;
    {
        TDialogAnswer Answer(Form, FileName);
        try {
            Form.FileOpen();
        } catch (const std::exception &Error) {
            Failure = QString::fromUtf8(Error.what());
        } catch (...) {
            Failure = QStringLiteral("Unknown error");
        }
    }
    if (Failure)
        Form.ShowError(*Failure);
}

namespace {

// A message about the file is centred on the main window: not before the
// window manager has put that window on the screen, or the message stands
// where the window was before it was placed. A second at most.
void OpenOnceShown(TForm1 &Form, const QString &FileName, int TriesLeft)
{
    const QWindow *Window = Form.windowHandle();
    if (TriesLeft > 0 && (Window == nullptr || !Window->isExposed())) {
        QTimer::singleShot(20, &Form, [&Form, FileName, TriesLeft] { OpenOnceShown(Form, FileName, TriesLeft - 1); });
        return;
    }
    OpenNamedFile(Form, FileName);
}

} // namespace

void OpenFromCommandLine(TForm1 &Form, const QStringList &Arguments)
{
    if (Arguments.size() < 2)
        return;
    const QString FileName = Arguments.at(1);
    QTimer::singleShot(0, &Form, [&Form, FileName] { OpenOnceShown(Form, FileName, 50); });
}
