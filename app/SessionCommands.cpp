// The menu items added for what the window remembers: the export folder's
// choice, the settings put back as designed, and the tool window brought
// back.
#include "app/Unit1.h"

#include "app/Export.h"
#include "app/Session.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>

void TForm1::CreateSessionMenus()
{
    ChooseFolder1 = File1->addAction(tr("出力先フォルダの選択..."));
    ChooseFolder1->setObjectName(QStringLiteral("ChooseFolder1"));
    Defaults1 = N2->addAction(tr("設定を初期値に戻す"));
    Defaults1->setObjectName(QStringLiteral("Defaults1"));
    View1 = menuBar()->addMenu(tr("表示"));
    View1->setObjectName(QStringLiteral("View1"));
    ToolWindow1 = View1->addAction(tr("ツールウィンドウ"));
    ToolWindow1->setObjectName(QStringLiteral("ToolWindow1"));

    RunFolderDialog = [this](const QString &Current) -> std::optional<QString> {
        const QString Chosen = QFileDialog::getExistingDirectory(this, tr("出力先フォルダの選択"), Current);
        if (Chosen.isEmpty())
            return std::nullopt;
        return Chosen;
    };
    connect(ChooseFolder1, &QAction::triggered, this, [this] { Guarded([this] { ChooseFolder1Click(); }); });
    connect(Defaults1, &QAction::triggered, this, [this] { Guarded([this] { Defaults1Click(); }); });
}

void TForm1::ChooseFolder1Click()
{
    const std::optional<QString> Chosen = RunFolderDialog(ExportFolder(*this));
    if (!Chosen)
        return;
    FExportFolder = QDir::cleanPath(*Chosen);
    SaveExportFolder(FExportFolder);
}

void TForm1::Defaults1Click()
{
    // The settings the areas were detected with go.
    if (!ConfirmLeavingAreas())
        return;
    Settings->Apply(Settings->Designed());
}
