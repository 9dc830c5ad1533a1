#include "app/WindowTitle.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

void ShowRecordingTitle(QWidget &Window, const std::string &FileName)
{
    const QString Program = QStringLiteral("Redivev");
    if (FileName.empty()) {
        Window.setWindowTitle(Program);
        return;
    }
    const QString Name = QFileInfo(QFile::decodeName(QByteArray::fromStdString(FileName))).fileName();
    Window.setWindowTitle(Name + QStringLiteral(" — ") + Program);
}
