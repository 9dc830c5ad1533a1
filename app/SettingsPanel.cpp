#include "app/SettingsPanel.h"

#include "engine/SettingText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The designed bars and the edits that mirror them.
constexpr std::pair<const char *, const char *> Mirrors[] = {
    {"SBVZ", "Edit7"},  {"SBHZ", "Edit8"},  {"SBN", "Edit1"},    {"SBNW", "Edit2"},   {"SBML", "Edit3"},
    {"SBCSL", "Edit4"}, {"SBAFIL", "Edit5"}, {"SBAFOL", "Edit6"}, {"SBMZSS", "Edit9"}, {"SBMZSE", "Edit10"}};

// The cut-start level's minimum follows the no-sound level only once that
// has moved: the designed start has it below, which must come back too.
const QString CutStartMinimum = QStringLiteral("SBCSLMinimum");

// The settings beside Auto, kept with the bars' values.
const QString JoinShortKey = QStringLiteral("JoinShort");
const QString TargetKey = QStringLiteral("Target");
const QString BandKey = QStringLiteral("Band");

// A list's choice kept by its index; one not offered (edited by hand)
// leaves the choice as it is.
void ChooseKept(QComboBox *Box, const TSettingValues &Values, const QString &Key)
{
    if (Values.value(Key, -1) >= 0 && Values.value(Key) < Box->count())
        Box->setCurrentIndex(Values.value(Key));
}

// The no-sound level comes before the cut-start level: it is the latter's
// minimum, and a cut-start level set first could be clamped by the old one.
std::vector<QScrollBar *> SettingBars(const TSettingsPanel &Panel, const QWidget &ControlPanel)
{
    std::vector<QScrollBar *> Bars;
    for (const char *Name : {"SBN", "SBCSL", "SBNW", "SBML", "SBMZSS", "SBMZSE", "SBAFIL", "SBAFOL", "SBVZ", "SBHZ"})
        Bars.push_back(ControlPanel.findChild<QScrollBar *>(QString::fromLatin1(Name)));
    Bars.insert(Bars.end(), {Panel.SBPAD, Panel.SBLW, Panel.SBMAX});
    return Bars;
}

} // namespace

TSettingsPanel::TSettingsPanel(QWidget &ControlPanel, QObject *Parent, std::function<void(const QString &)> Report,
                               std::function<void()> Changed)
    : QObject(Parent), FPanel(ControlPanel)
{
    FEdits = new TSettingEdits(this, std::move(Report), std::move(Changed));
    AddMarginRows();
    AddSettingEdits();
    AddTargetRow();
    // Every setting's row exists now, and none has been changed.
    FDesigned = Values();
}

QScrollBar *TSettingsPanel::Bar(const char *Name) const
{
    return FPanel.findChild<QScrollBar *>(QString::fromLatin1(Name));
}

QLineEdit *TSettingsPanel::Edit(const char *Name) const
{
    return FPanel.findChild<QLineEdit *>(QString::fromLatin1(Name));
}

// Rows below the designed ones, built as they are: the margin around each
// piece, the window levels are measured over, and the longest piece, each
// at its default in the table of settings.
void TSettingsPanel::AddMarginRows()
{
    QScrollBar *Last = Bar("SBAFOL");
    QWidget *Rows = Last->parentWidget();
    const QLabel *Caption8 = FPanel.findChild<QLabel *>(QStringLiteral("Label8"));
    const QLineEdit *Edit6 = Edit("Edit6");
    const struct {
        const char *Caption;
        QScrollBar *&Bar;
        QLineEdit *&Edit;
        const char *BarName, *EditName;
        TSettingId Setting;
    } Added[] = {{QT_TR_NOOP("Pad"), SBPAD, Edit11, "SBPAD", "Edit11", TSettingId::Pad},
                 {QT_TR_NOOP("Level window"), SBLW, Edit12, "SBLW", "Edit12", TSettingId::LevelWindow},
                 {QT_TR_NOOP("Max size"), SBMAX, Edit13, "SBMAX", "Edit13", TSettingId::MaximumSize}};
    int Step = 20;
    for (const auto &Row : Added) {
        auto *Caption = new QLabel(tr(Row.Caption), Rows);
        Caption->setFont(Caption8->font());
        Caption->setAlignment(Caption8->alignment());
        Caption->setGeometry(Caption8->geometry().translated(0, Step));
        Row.Bar = new QScrollBar(Qt::Horizontal, Rows);
        Row.Bar->setObjectName(QString::fromLatin1(Row.BarName));
        Row.Bar->setGeometry(Last->geometry().translated(0, Step));
        Row.Bar->setRange(0, 5000);
        Row.Bar->setValue(SettingDefault(Row.Setting));
        Row.Bar->setPageStep(10);
        Row.Edit = new QLineEdit(Rows);
        Row.Edit->setObjectName(QString::fromLatin1(Row.EditName));
        Row.Edit->setFont(Edit6->font());
        Row.Edit->setGeometry(Edit6->geometry().translated(0, Step));
        QScrollBar *Added = Row.Bar;
        connect(Added, &QScrollBar::valueChanged, this, [this, Added] { FEdits->BarChanged(Added); });
        Step += 20;
    }
    Rows->setMinimumHeight(Rows->height() + Step - 20);
}

void TSettingsPanel::AddSettingEdits()
{
    const struct {
        QScrollBar *Bar;
        QLineEdit *Edit;
        TSettingKind Kind;
    } Rows[] = {{SBPAD, Edit11, TSettingKind::Width},          {SBLW, Edit12, TSettingKind::Width},
                {SBMAX, Edit13, TSettingKind::Width},          {Bar("SBCSL"), Edit("Edit4"), TSettingKind::Level},
                {Bar("SBN"), Edit("Edit1"), TSettingKind::Level},    {Bar("SBNW"), Edit("Edit2"), TSettingKind::Width},
                {Bar("SBML"), Edit("Edit3"), TSettingKind::Width},   {Bar("SBMZSS"), Edit("Edit9"), TSettingKind::Width},
                {Bar("SBMZSE"), Edit("Edit10"), TSettingKind::Width}, {Bar("SBAFIL"), Edit("Edit5"), TSettingKind::Width},
                {Bar("SBAFOL"), Edit("Edit6"), TSettingKind::Width}};
    // The equivalents take a column right of the edits; the panel widens
    // to hold it.
    int Right = 0;
    for (const auto &Row : Rows) {
        auto *Equivalent = new QLabel(Row.Edit->parentWidget());
        Equivalent->setObjectName(Row.Edit->objectName() + QStringLiteral("Equivalent"));
        Equivalent->setGeometry(Row.Edit->geometry().right() + 4, Row.Edit->y(), 76, Row.Edit->height());
        Right = std::max(Right, Equivalent->mapTo(&FPanel, QPoint(Equivalent->width(), 0)).x());
        FEdits->Add(Row.Bar, Row.Edit, Equivalent, Row.Kind);
    }
    FPanel.resize(std::max(FPanel.width(), Right + 4), FPanel.height());
    Edit("Edit4")->parentWidget()->setMinimumWidth(FPanel.width());
    for (const char *Zoom : {"SBVZ", "SBHZ"})
        BarChanged(Bar(Zoom));
}

// A row below the added ones, built as they are: what a piece should hold
// and the band levels are read in, sharing the bar's place, Join short in
// the edit's.
void TSettingsPanel::AddTargetRow()
{
    const QScrollBar *Last = Bar("SBAFOL");
    QWidget *Rows = Last->parentWidget();
    const QLabel *Caption8 = FPanel.findChild<QLabel *>(QStringLiteral("Label8"));
    const QLineEdit *Edit6 = Edit("Edit6");
    const int Step = SBMAX->y() - Last->y() + 20;
    auto *Caption = new QLabel(tr("Target"), Rows);
    Caption->setFont(Caption8->font());
    Caption->setAlignment(Caption8->alignment());
    Caption->setGeometry(Caption8->geometry().translated(0, Step));
    TargetBox = new QComboBox(Rows);
    TargetBox->setObjectName(QStringLiteral("TargetBox"));
    TargetBox->addItems(SettingChoices(SettingSpec(TSettingId::Target)));
    TargetBox->setCurrentIndex(SettingDefault(TSettingId::Target));
    const QRect Place = Last->geometry().translated(0, Step);
    TargetBox->setGeometry(Place.x(), Place.y(), Place.width() / 2 - 2, Place.height());
    BandBox = new QComboBox(Rows);
    BandBox->setObjectName(QStringLiteral("BandBox"));
    BandBox->addItems(SettingChoices(SettingSpec(TSettingId::Band)));
    BandBox->setCurrentIndex(SettingDefault(TSettingId::Band));
    BandBox->setGeometry(Place.x() + Place.width() / 2, Place.y(), Place.width() - Place.width() / 2, Place.height());
    JoinShortBox = new QCheckBox(tr("Join short"), Rows);
    JoinShortBox->setObjectName(QStringLiteral("JoinShortBox"));
    JoinShortBox->setFont(Edit6->font());
    JoinShortBox->setChecked(SettingDefault(TSettingId::JoinShort) != 0);
    const QRect EditPlace = Edit6->geometry().translated(0, Step);
    JoinShortBox->setGeometry(EditPlace.x(), EditPlace.y(), std::min(Rows->width() - EditPlace.x(), 100),
                              EditPlace.height());
    Rows->setMinimumHeight(Rows->minimumHeight() + 20);
}

std::int32_t TSettingsPanel::ValueOf(const QScrollBar *Setting) const
{
    return FEdits->ValueOf(Setting);
}

TTrimSettings TSettingsPanel::TrimSettings() const
{
    TTrimSettings Settings{ValueOf(Bar("SBN")),    ValueOf(Bar("SBNW")),   ValueOf(Bar("SBML")),
                           ValueOf(Bar("SBCSL")),  ValueOf(Bar("SBMZSS")), ValueOf(Bar("SBMZSE")),
                           ValueOf(SBPAD),         ValueOf(SBLW),          ValueOf(SBMAX)};
    Settings.JoinShort = JoinShortBox->isChecked() ? 1 : 0;
    Settings.Band = std::max(BandBox->currentIndex(), 0);
    return Settings;
}

TPieceTarget TSettingsPanel::Target() const
{
    return TPieceTarget(std::max(TargetBox->currentIndex(), 0));
}

void TSettingsPanel::BarChanged(QScrollBar *Changed)
{
    // Raising the minimum may move SBCSL, whose own change runs nested here,
    // before this bar's mirror is written.
    if (Changed->objectName() == QLatin1String("SBN"))
        Bar("SBCSL")->setMinimum(Changed->value());
    for (const auto &[BarName, EditName] : Mirrors)
        if (Changed->objectName() == QLatin1String(BarName))
            Edit(EditName)->setText(QString::number(Changed->value()));
    FEdits->BarChanged(Changed);
}

void TSettingsPanel::SetRate(std::uint32_t Rate)
{
    FEdits->SetRate(Rate);
}

TSettingValues TSettingsPanel::Values() const
{
    TSettingValues Values;
    // A value typed beyond its bar is kept as typed (a time as positions at
    // the open recording's rate).
    for (const QScrollBar *Setting : SettingBars(*this, FPanel))
        Values.insert(Setting->objectName(), ValueOf(Setting));
    Values.insert(CutStartMinimum, Bar("SBCSL")->minimum());
    Values.insert(JoinShortKey, JoinShortBox->isChecked() ? 1 : 0);
    Values.insert(TargetKey, TargetBox->currentIndex());
    Values.insert(BandKey, BandBox->currentIndex());
    return Values;
}

void TSettingsPanel::Apply(const TSettingValues &Values)
{
    QScrollBar *CutStart = Bar("SBCSL");
    for (QScrollBar *Setting : SettingBars(*this, FPanel)) {
        if (Setting == CutStart && Values.contains(CutStartMinimum))
            Setting->setMinimum(std::min(Values.value(CutStartMinimum), Bar("SBN")->value()));
        if (!Values.contains(Setting->objectName()))
            continue;
        if (FEdits->Holds(Setting))
            FEdits->Set(Setting, Values.value(Setting->objectName()));
        else
            Setting->setValue(Values.value(Setting->objectName()));
    }
    if (Values.contains(JoinShortKey))
        JoinShortBox->setChecked(Values.value(JoinShortKey) != 0);
    ChooseKept(TargetBox, Values, TargetKey);
    ChooseKept(BandBox, Values, BandKey);
}

void TSettingsPanel::TakeSuggestion(const TTrimSettings &S)
{
    FBeforeSuggestion = Values();
    FBeforeSuggestion->remove(QStringLiteral("SBVZ"));
    FBeforeSuggestion->remove(QStringLiteral("SBHZ"));
    // The no-sound level first: it is the cut start level's minimum.
    FEdits->Set(Bar("SBN"), S.NoSoundLevel);
    FEdits->Set(Bar("SBCSL"), S.CutStartLevel);
    FEdits->Set(Bar("SBNW"), S.NoSoundWidth);
    FEdits->Set(Bar("SBML"), S.MinimumSize);
    FEdits->Set(Bar("SBMZSS"), S.BackwardSearch);
    FEdits->Set(Bar("SBMZSE"), S.ForwardSearch);
    FEdits->Set(SBPAD, S.Pad);
    FEdits->Set(SBLW, S.LevelWindow);
    JoinShortBox->setChecked(S.JoinShort != 0);
    BandBox->setCurrentIndex(S.Band);
}

void TSettingsPanel::UndoSuggestion()
{
    if (!FBeforeSuggestion)
        return;
    Apply(*FBeforeSuggestion);
    FBeforeSuggestion.reset();
}
