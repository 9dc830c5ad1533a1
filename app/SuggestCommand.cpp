// Settings suggested from the open recording (処理 menu and the tool
// window's button), and the step back to the settings before them.
#include "app/Unit1.h"

#include "app/Detection.h"
#include "app/FormatReport.h"
#include "app/PaintBox.h"
#include "app/Session.h"
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
    // A row below the added ones, built as they are: what a piece should
    // hold in the bar's place, Join short in the edit's.
    QWidget *Rows = SBAFOL->parentWidget();
    const int Step = SBMAX->y() - SBAFOL->y() + 20;
    auto *Caption = new QLabel(tr("Target"), Rows);
    Caption->setFont(Label8->font());
    Caption->setAlignment(Label8->alignment());
    Caption->setGeometry(Label8->geometry().translated(0, Step));
    TargetBox = new QComboBox(Rows);
    TargetBox->setObjectName(QStringLiteral("TargetBox"));
    TargetBox->addItems(SettingChoices(SettingSpec(TSettingId::Target)));
    TargetBox->setCurrentIndex(SettingDefault(TSettingId::Target));
    // The bar's room shared by two lists.
    const QRect Bar = SBAFOL->geometry().translated(0, Step);
    TargetBox->setGeometry(Bar.x(), Bar.y(), Bar.width() / 2 - 2, Bar.height());
    BandBox = new QComboBox(Rows);
    BandBox->setObjectName(QStringLiteral("BandBox"));
    BandBox->addItems(SettingChoices(SettingSpec(TSettingId::Band)));
    BandBox->setCurrentIndex(SettingDefault(TSettingId::Band));
    BandBox->setGeometry(Bar.x() + Bar.width() / 2, Bar.y(), Bar.width() - Bar.width() / 2, Bar.height());
    JoinShortBox = new QCheckBox(tr("Join short"), Rows);
    JoinShortBox->setObjectName(QStringLiteral("JoinShortBox"));
    JoinShortBox->setFont(Edit6->font());
    JoinShortBox->setChecked(SettingDefault(TSettingId::JoinShort) != 0);
    const QRect Edit = Edit6->geometry().translated(0, Step);
    JoinShortBox->setGeometry(Edit.x(), Edit.y(), std::min(Rows->width() - Edit.x(), 100), Edit.height());
    Rows->setMinimumHeight(Rows->minimumHeight() + 20);
    connect(SuggestAction, &QAction::triggered, this, [this] { Guarded([this] { SuggestClick(); }); });
    connect(SuggestButton, &QPushButton::clicked, this, [this] { Guarded([this] { SuggestClick(); }); });
    connect(UndoSuggestAction, &QAction::triggered, this, [this] { Guarded([this] { UndoSuggestClick(); }); });
}

void TForm1::SuggestClick()
{
    if (RepeatUnreadableFormat(*this))
        return;
    const std::optional<TRecordingCommands::TSuggestion> Found =
        Commands.Suggest(TPieceTarget(std::max(TargetBox->currentIndex(), 0)), SettingOf(SBMAX));
    if (!Found)
        return;
    // The settings to step back to; the zoom is the view's, not the cut's.
    FBeforeSuggestion = SettingValuesOf(*this);
    FBeforeSuggestion->remove(SBVZ->objectName());
    FBeforeSuggestion->remove(SBHZ->objectName());
    const TTrimSettings &S = Found->Suggested.Settings;
    // The no-sound level first: it is the cut start level's minimum.
    FSettingEdits->Set(SBN, S.NoSoundLevel);
    FSettingEdits->Set(SBCSL, S.CutStartLevel);
    FSettingEdits->Set(SBNW, S.NoSoundWidth);
    FSettingEdits->Set(SBML, S.MinimumSize);
    FSettingEdits->Set(SBMZSS, S.BackwardSearch);
    FSettingEdits->Set(SBMZSE, S.ForwardSearch);
    FSettingEdits->Set(SBPAD, S.Pad);
    FSettingEdits->Set(SBLW, S.LevelWindow);
    JoinShortBox->setChecked(S.JoinShort != 0);
    BandBox->setCurrentIndex(S.Band);
    UndoSuggestAction->setEnabled(true);
    PB->repaint();
    ShowMessage(TRecordingCommands::Describe(*Found));
}

void TForm1::UndoSuggestClick()
{
    if (!FBeforeSuggestion)
        return;
    ApplySettingValues(*this, *FBeforeSuggestion);
    FBeforeSuggestion.reset();
    UndoSuggestAction->setEnabled(false);
}
