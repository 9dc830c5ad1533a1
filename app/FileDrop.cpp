#include "app/FileDrop.h"

#include "app/OpenNamed.h"
#include "app/Unit1.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <optional>

namespace {

std::optional<QString> DroppedWave(const QMimeData *Data)
{
    if (Data == nullptr || !Data->hasUrls() || Data->urls().size() != 1)
        return std::nullopt;
    const QUrl Url = Data->urls().first();
    if (!Url.isLocalFile())
        return std::nullopt;
    const QString Name = Url.toLocalFile();
    for (const char *Extension : {".wav", ".flac", ".rf64", ".bw64", ".w64"})
        if (Name.endsWith(QLatin1String(Extension), Qt::CaseInsensitive))
            return Name;
    return std::nullopt;
}

class TWaveDropHook : public QObject {
public:
    explicit TWaveDropHook(TForm1 &Form) : QObject(&Form), FForm(Form) {}

protected:
    bool eventFilter(QObject *, QEvent *Event) override
    {
        switch (Event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *Drag = static_cast<QDragMoveEvent *>(Event);
            if (DroppedWave(Drag->mimeData()))
                Drag->acceptProposedAction();
            else
                Drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto *Drop = static_cast<QDropEvent *>(Event);
            const std::optional<QString> FileName = DroppedWave(Drop->mimeData());
            if (!FileName) {
                Drop->ignore();
                return true;
            }
            Drop->acceptProposedAction();
            // Loading may show a message: not inside the drop, which would
            // hold up the program the file came from until it is answered.
            QTimer::singleShot(0, &FForm, [Form = &FForm, Name = *FileName] { OpenNamedFile(*Form, Name); });
            return true;
        }
        default:
            return false;
        }
    }

private:
    TForm1 &FForm;
};

} // namespace

void AcceptWaveDrops(TForm1 &Form)
{
    Form.setAcceptDrops(true);
    Form.installEventFilter(new TWaveDropHook(Form));
}
