// Settings suggested from the open recording (処理 menu and the tool
// window's button), and the step back to the settings before them.
#include "app/Unit1.h"

#include "app/Detection.h"
#include "app/FormatReport.h"
#include "app/PaintBox.h"
#include "app/Session.h"
#include "app/ShrunkRecording.h"
#include "app/WaitCursor.h"
#include "engine/SettingText.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

void TForm1::CreateSuggestCommands()
{
    SuggestAction = new QAction(tr("設定を録音から提案"), this);
    SuggestAction->setObjectName(QStringLiteral("SuggestAction"));
    UndoSuggestAction = new QAction(tr("提案の前の設定に戻す"), this);
    UndoSuggestAction->setObjectName(QStringLiteral("UndoSuggestAction"));
    UndoSuggestAction->setEnabled(false);
    N4->addSeparator();
    N4->addActions({SuggestAction, UndoSuggestAction});
    // Beside "Trim!", in the room the widened panel gives; named as
    // redivev-split's --auto, which runs the same suggestion.
    SuggestButton = new QPushButton(tr("Auto"), Button1->parentWidget());
    SuggestButton->setObjectName(QStringLiteral("SuggestButton"));
    SuggestButton->setFont(Button1->font());
    SuggestButton->setGeometry(Button1->geometry().translated(Button1->width() + 3, 0));
    connect(SuggestAction, &QAction::triggered, this, [this] { Guarded([this] { SuggestClick(); }); });
    connect(SuggestButton, &QPushButton::clicked, this, [this] { Guarded([this] { SuggestClick(); }); });
    connect(UndoSuggestAction, &QAction::triggered, this, [this] { Guarded([this] { UndoSuggestClick(); }); });
}

void TForm1::SuggestClick()
{
    if (RefuseShrunkRecording(*this) || RepeatUnreadableFormat(*this))
        return;
    std::optional<TRecordingCommands::TSuggestion> Found;
    {
        TWaitCursor Wait;
        Found = Commands.Suggest(Settings->Target(), Settings->ValueOf(Settings->SBMAX));
        if (!Found)
            return;
        Settings->TakeSuggestion(Found->Suggested.Settings);
        UndoSuggestAction->setEnabled(true);
        PB->repaint();
    }
    ShowMessage(TRecordingCommands::Describe(*Found));
}

void TForm1::UndoSuggestClick()
{
    if (!Settings->CanUndoSuggestion())
        return;
    Settings->UndoSuggestion();
    Document.Suggested.reset();
    UndoSuggestAction->setEnabled(false);
}
