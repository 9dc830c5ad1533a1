#pragma once
// The export's wait for a folder that another export (another window, or
// redivev-split) is writing into. The other export may take long, or be
// stopped and never end: after a second a modal dialog with a busy bar says
// what is awaited and offers Cancel. Until then events are processed
// without the user's input, and afterwards the dialog blocks every other
// window, so no command can run under the export and change the recording.
#include "platform/FolderWriter.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

class TFolderWaitDialog {
public:
    TFolderWaitDialog(QWidget *Parent, const QString &Folder);
    ~TFolderWaitDialog();
    TFolderWaitDialog(const TFolderWaitDialog &) = delete;
    TFolderWaitDialog &operator=(const TFolderWaitDialog &) = delete;

    // For the export job: keeps waiting until Cancel is pressed.
    TFolderWait Waiting();
    bool Cancelled() const { return FCancelled; }

private:
    QWidget *FParent;
    QString FFolder;
    std::unique_ptr<QProgressDialog> FDialog;
    bool FCancelled = false;
};
