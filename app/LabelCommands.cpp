// Areas as label files shared with sound editors and redivev-split: the
// areas written as labels, areas read from labels in place of the current
// ones, and the export that names the pieces after the labels read.
#include "app/Unit1.h"

#include "app/FormatReport.h"
#include "app/PaintBox.h"
#include "app/WaitCursor.h"
#include "engine/LabelFile.h"
#include "engine/PieceNames.h"
#include "engine/SampleFormat.h"
#include "platform/FolderWriter.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

#include <algorithm>
#include <optional>

void TForm1::CreateLabelCommands()
{
    LabelExportAction = new QAction(tr("ラベルを書き出す"), this);
    LabelExportAction->setObjectName(QStringLiteral("LabelExportAction"));
    LabelImportAction = new QAction(tr("ラベルを読み込む"), this);
    LabelImportAction->setObjectName(QStringLiteral("LabelImportAction"));
    File1->addSeparator();
    File1->addActions({LabelExportAction, LabelImportAction});
    // Beside the export it is a variant of.
    NamedExportAction = new QAction(tr("切り出した範囲をラベル名で保存"), this);
    NamedExportAction->setObjectName(QStringLiteral("NamedExportAction"));
    const QList<QAction *> Commands = N4->actions();
    const qsizetype AfterExport = Commands.indexOf(N6) + 1;
    N4->insertAction(AfterExport < Commands.size() ? Commands[AfterExport] : nullptr, NamedExportAction);

    RunLabelDialog = [this](bool Save) -> std::optional<QString> {
        QFileDialog Dialog(this, Save ? LabelExportAction->text() : LabelImportAction->text(), QString(), tr("ラベルファイル (*.txt)"));
        Dialog.setAcceptMode(Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        Dialog.setFileMode(Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        Dialog.setDefaultSuffix(QStringLiteral("txt"));
        // NAME.txt beside NAME.wav, where redivev-split --areas-beside looks.
        if (!Document.RecordingName().isEmpty()) {
            const QFileInfo Recording(Document.RecordingName());
            Dialog.setDirectory(Recording.absolutePath());
            Dialog.selectFile(Recording.completeBaseName() + QStringLiteral(".txt"));
        }
        if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return Dialog.selectedFiles().first();
    };
    connect(LabelExportAction, &QAction::triggered, this, [this] { Guarded([this] { LabelExportClick(); }); });
    connect(LabelImportAction, &QAction::triggered, this, [this] { Guarded([this] { LabelImportClick(); }); });
    connect(NamedExportAction, &QAction::triggered, this, [this] { Guarded([this] { NamedExportClick(); }); });
}

void TForm1::LabelExportClick()
{
    SaveAreasAsLabels();
}

bool TForm1::SaveAreasAsLabels()
{
    if (RepeatUnreadableFormat(*this))
        return false;
    const std::optional<QString> Path = RunLabelDialog(true);
    if (!Path)
        return false;
    const auto Count = std::size_t(std::clamp<std::int64_t>(FAreaCount, 0, std::int64_t(FAreas.size())));
    const std::vector<TTrimArea> Areas(FAreas.begin(), FAreas.begin() + std::ptrdiff_t(Count));
    // The labels read with the areas, else the names their pieces get.
    QStringList Labels = Document.CurrentAreaLabels();
    if (Labels.isEmpty())
        for (std::size_t I = 0; I < Count; ++I)
            Labels << QString::fromStdString(NumberedPieceName(int(I)));
    const QByteArray Text = LabelFileText(Areas, Document.RecordingView().Format.nSamplesPerSec, Labels);
    const QFileInfo Target(*Path);
    const std::string Name = QFile::encodeName(Target.fileName()).toStdString();
    try {
        TFolderWriter Writer(QFile::encodeName(Target.absolutePath()).toStdString());
        if (Document.RecordingFile() && Writer.IsFile(Name, Document.RecordingFile()->Device, Document.RecordingFile()->Inode)) {
            ShowMessage(tr("開いているwavファイルにラベルは書き出せません\n") + *Path);
            return false;
        }
        Writer.WriteWhole(Name, [&Text](int Out) { WriteAll(Out, Text.constData(), Text.size()); });
    } catch (const EFileSystemError &Error) {
        ShowMessage(tr("ラベルを書き出せません\n") + QFile::decodeName(Error.Path.c_str())
                    + QStringLiteral(": ") + QString::fromStdString(Error.Reason));
        return false;
    }
    Document.MarkAreasSaved();
    ShowMessage(tr("%n個の範囲をラベルに書き出しました", nullptr, int(Count)));
    return true;
}

void TForm1::LabelImportClick()
{
    if (RepeatUnreadableFormat(*this) || !ConfirmLeavingAreas())
        return;
    const std::optional<QString> Path = RunLabelDialog(false);
    if (!Path)
        return;
    const QString Unreadable = tr("ラベルファイルを読み込めません\n");
    QFile File(*Path);
    if (!File.open(QIODevice::ReadOnly)) {
        ShowMessage(Unreadable + *Path + QStringLiteral(": ") + File.errorString());
        return;
    }
    std::vector<TLabeledArea> Read;
    std::optional<ELabelFileError> Bad;
    try {
        const TSampleView Recording = Document.RecordingView();
        Read = ReadLabelFile(File, Recording.Format.nSamplesPerSec, FrameCountOf(Recording));
    } catch (const ELabelFileError &Error) {
        Bad = Error;
    }
    if (File.error() != QFileDevice::NoError) {
        ShowMessage(Unreadable + *Path + QStringLiteral(": ") + File.errorString());
        return;
    }
    if (Bad) {
        ShowMessage(Unreadable + QStringLiteral("%1:%2: %3").arg(*Path).arg(Bad->Line).arg(Bad->Reason));
        return;
    }
    {
        TWaitCursor Wait;
        Document.TakeLabeled(Read);
        PB->repaint();
    }
    ShowMessage(tr("%n個の範囲を読み込みました", nullptr, FAreaCount));
}

void TForm1::NamedExportClick()
{
    const QStringList Labels = Document.CurrentAreaLabels();
    if (Labels.isEmpty() && FAreaCount > 0) {
        ShowMessage(tr("ラベルを読み込んだ範囲ではないため、ラベル名では保存できません"));
        return;
    }
    FPieceNames = PieceNamesFromLabels(Labels);
    try {
        N6Click();
    } catch (...) {
        FPieceNames.clear();
        throw;
    }
    FPieceNames.clear();
}
