// The user's hand corrections are never lost without a word: what would
// replace or drop them (closing, another recording, a new detection, the
// settings put back) asks first, and the areas last seen on a recording
// come back when it is opened again.
#include "app/Unit1.h"

#include "app/PaintBox.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>

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

bool TForm1::ConfirmLeavingAreas()
{
    if (!Document.HasUnsavedAreas())
        return true;
    switch (AskSaveAreas(tr("手で直した範囲がまだ保存されていません。ラベルに書き出しますか？"))) {
    case TUnsavedAnswer::Save: return SaveAreasAsLabels();
    case TUnsavedAnswer::Discard: return true;
    case TUnsavedAnswer::Cancel: break;
    }
    return false;
}

void TForm1::OfferAreasKept(const std::string &FileName)
{
    const std::optional<std::vector<TTrimArea>> Kept = Document.AreasKeptFor(FileName);
    if (!Kept || !OfferKeptAreas(tr("この録音を前に開いたときの%1個の範囲があります。読み込みますか？").arg(Kept->size())))
        return;
    Document.TakeKept(*Kept);
    PB->repaint();
}

void TForm1::closeEvent(QCloseEvent *Event)
{
    if (!ConfirmLeavingAreas()) {
        Event->ignore();
        return;
    }
    Document.KeepShownAreas();
    QMainWindow::closeEvent(Event);
}
