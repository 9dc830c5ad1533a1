#include "OpenNamed.h"

#include "Unit1.h"

#include <QTimer>

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

void OpenFromCommandLine(TForm1 &Form, const QStringList &Arguments)
{
    if (Arguments.size() < 2)
        return;
    const QString FileName = Arguments.at(1);
    QTimer::singleShot(0, &Form, [&Form, FileName] { OpenNamedFile(Form, FileName); });
}
