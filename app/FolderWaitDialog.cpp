#include "app/FolderWaitDialog.h"

#include <QApplication>
#include <QProgressDialog>

namespace {
constexpr std::chrono::seconds Quiet(1); // a wait this short is not worth a dialog
} // namespace

TFolderWaitDialog::TFolderWaitDialog(QWidget *Parent, const QString &Folder) : FParent(Parent), FFolder(Folder) {}

TFolderWaitDialog::~TFolderWaitDialog()
{
    if (FDialog)
        QApplication::restoreOverrideCursor();
}

TFolderWait TFolderWaitDialog::Waiting()
{
    return [this](std::chrono::milliseconds Waited) {
        if (!FDialog && Waited >= Quiet) {
            FDialog = std::make_unique<QProgressDialog>(
                QStringLiteral("出力先のフォルダには別の分割が書き込み中です。終わるのを待っています。\n") + FFolder,
                QStringLiteral("キャンセル"), 0, 0, FParent);
            FDialog->setWindowTitle(QStringLiteral("情報"));
            FDialog->setWindowModality(Qt::ApplicationModal);
            FDialog->setAutoReset(false);
            FDialog->setAutoClose(false);
            FDialog->setMinimumDuration(0);
            // The export's wait cursor would hide that Cancel can be pressed.
            QApplication::setOverrideCursor(Qt::ArrowCursor);
            FDialog->show();
        }
        QApplication::processEvents(FDialog ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        FCancelled = FDialog && FDialog->wasCanceled();
        return !FCancelled;
    };
}
