// The user's hand corrections are never lost without a word: what would
// replace or drop them (closing, another recording, a new detection, the
// settings put back) asks first, and the areas last seen on a recording
// come back when it is opened again.
#include "app/Unit1.h"

#include "app/FormatReport.h"
#include "app/PaintBox.h"
#include "engine/SampleFormat.h"
#include "platform/FolderWriter.h"

#include <QCloseEvent>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace {

bool SameAreas(const std::vector<TTrimArea> &A, const std::vector<TTrimArea> &B)
{
    return std::equal(A.begin(), A.end(), B.begin(), B.end(), [](const TTrimArea &X, const TTrimArea &Y) {
        return X.StartPos == Y.StartPos && X.EndPos == Y.EndPos;
    });
}

} // namespace

void TForm1::InstallAreaKeeping()
{
    AskSaveAreas = [this](const QString &Text) {
        QMessageBox Box(QMessageBox::Question, tr("確認"), Text, QMessageBox::NoButton, this);
        QPushButton *Save = Box.addButton(tr("ラベルに書き出す(&S)"), QMessageBox::AcceptRole);
        QPushButton *Discard = Box.addButton(tr("書き出さない(&N)"), QMessageBox::DestructiveRole);
        QPushButton *Cancel = Box.addButton(tr("キャンセル"), QMessageBox::RejectRole);
        Box.setDefaultButton(Save);
        Box.setEscapeButton(Cancel);
        Box.exec();
        if (Box.clickedButton() == Save)
            return TUnsavedAnswer::Save;
        return Box.clickedButton() == Discard ? TUnsavedAnswer::Discard : TUnsavedAnswer::Cancel;
    };
    OfferKeptAreas = [this](const QString &Text) { return AskYesNo(tr("確認"), Text); };
}

std::vector<TTrimArea> TForm1::ShownAreas() const
{
    const auto Count = std::size_t(std::clamp<std::int64_t>(FAreaCount, 0, std::int64_t(FAreas.size())));
    return {FAreas.begin(), FAreas.begin() + std::ptrdiff_t(Count)};
}

bool TForm1::HasUnsavedAreas() const
{
    // No areas left is nothing a label file could keep.
    const std::vector<TTrimArea> Shown = ShownAreas();
    return !Shown.empty() && !SameAreas(Shown, FSavedAreas);
}

void TForm1::MarkAreasSaved()
{
    FSavedAreas = ShownAreas();
}

bool TForm1::ConfirmLeavingAreas()
{
    if (!HasUnsavedAreas())
        return true;
    switch (AskSaveAreas(tr("手で直した範囲がまだ保存されていません。ラベルに書き出しますか？"))) {
    case TUnsavedAnswer::Save: return SaveAreasAsLabels();
    case TUnsavedAnswer::Discard: return true;
    case TUnsavedAnswer::Cancel: break;
    }
    return false;
}

void TForm1::KeepShownAreas()
{
    if (!FRecordingKey)
        return;
    try {
        KeepAreas(*FRecordingKey, ShownAreas());
    } catch (const EFileSystemError &) {
        // A store that cannot be written loses no work: the question before
        // leaving has been asked already. The areas are only not offered again.
    }
}

void TForm1::OfferAreasKept(const std::string &FileName)
{
    FRecordingName = QFile::decodeName(QByteArray::fromStdString(FileName));
    FRecordingKey = RecordingKeyOf(QByteArray::fromStdString(FileName));
    if (!FRecordingKey || !FFormatRefusal.isEmpty())
        return;
    const std::optional<std::vector<TTrimArea>> Kept = KeptAreas(*FRecordingKey, FrameCountOf(RecordingView()));
    if (!Kept || !OfferKeptAreas(tr("この録音を前に開いたときの%1個の範囲があります。読み込みますか？").arg(Kept->size())))
        return;
    FAreas = *Kept;
    FAreaCount = std::int32_t(FAreas.size());
    FAreaLabels.clear();
    FLabeledAreas.clear();
    FEditor.Reset();
    MarkAreasSaved();
    PB->repaint();
}

void TForm1::closeEvent(QCloseEvent *Event)
{
    if (!ConfirmLeavingAreas()) {
        Event->ignore();
        return;
    }
    KeepShownAreas();
    QMainWindow::closeEvent(Event);
}
