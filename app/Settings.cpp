#include "app/Unit1.h"

#include "app/PaintBox.h"
#include "app/SettingEdits.h"

#include <QLabel>

#include <QLineEdit>
#include <QScrollBar>

void TForm1::SBChange(QScrollBar *Sender)
{
    // Raising the minimum may move SBCSL, whose own change runs nested here,
    // before this bar's mirror is written.
    if (Sender == SBN)
        SBCSL->setMinimum(SBN->value());

    QLineEdit *Mirror = nullptr;
    if (Sender == SBVZ)
        Mirror = Edit7;
    else if (Sender == SBHZ)
        Mirror = Edit8;
    else if (Sender == SBN)
        Mirror = Edit1;
    else if (Sender == SBNW)
        Mirror = Edit2;
    else if (Sender == SBML)
        Mirror = Edit3;
    else if (Sender == SBCSL)
        Mirror = Edit4;
    else if (Sender == SBAFIL)
        Mirror = Edit5;
    else if (Sender == SBAFOL)
        Mirror = Edit6;
    else if (Sender == SBMZSS)
        Mirror = Edit9;
    else if (Sender == SBMZSE)
        Mirror = Edit10;
    if (Mirror != nullptr)
        Mirror->setText(QString::number(Sender->value()));
    if (FSettingEdits != nullptr)
        FSettingEdits->BarChanged(Sender);

    PB->repaint();
}

std::int32_t TForm1::SettingOf(const QScrollBar *Bar) const
{
    return FSettingEdits != nullptr ? FSettingEdits->ValueOf(Bar) : Bar->value();
}

void TForm1::CreateSettingEdits()
{
    FSettingEdits = new TSettingEdits(
        this, [this](const QString &Text) { ShowMessage(Text); }, [this] { PB->repaint(); });
    AddMarginRows();
    const struct {
        QScrollBar *Bar;
        QLineEdit *Edit;
        TSettingKind Kind;
    } Rows[] = {{SBPAD, Edit11, TSettingKind::Width}, {SBLW, Edit12, TSettingKind::Width},
                {SBMAX, Edit13, TSettingKind::Width}, {SBCSL, Edit4, TSettingKind::Level},  {SBN, Edit1, TSettingKind::Level},
                {SBNW, Edit2, TSettingKind::Width},   {SBML, Edit3, TSettingKind::Width},
                {SBMZSS, Edit9, TSettingKind::Width}, {SBMZSE, Edit10, TSettingKind::Width},
                {SBAFIL, Edit5, TSettingKind::Width}, {SBAFOL, Edit6, TSettingKind::Width}};
    // The equivalents take a column right of the edits; the panel widens
    // to hold it.
    int Right = 0;
    for (const auto &Row : Rows) {
        auto *Equivalent = new QLabel(Row.Edit->parentWidget());
        Equivalent->setObjectName(Row.Edit->objectName() + QStringLiteral("Equivalent"));
        Equivalent->setGeometry(Row.Edit->geometry().right() + 4, Row.Edit->y(), 76, Row.Edit->height());
        Right = std::max(Right, Equivalent->mapTo(ControlPanel, QPoint(Equivalent->width(), 0)).x());
        FSettingEdits->Add(Row.Bar, Row.Edit, Equivalent, Row.Kind);
    }
    ControlPanel->resize(std::max(ControlPanel->width(), Right + 4), ControlPanel->height());
    Edit4->parentWidget()->setMinimumWidth(ControlPanel->width());
    for (auto [Bar, Edit] : {std::pair{SBVZ, Edit7}, std::pair{SBHZ, Edit8}})
        Edit->setText(QString::number(Bar->value()));
}

// Rows below the designed ones, built as they are: the margin around each
// piece, the window levels are measured over, and the longest piece, each
// at its default in the table of settings.
void TForm1::AddMarginRows()
{
    QWidget *Rows = SBAFOL->parentWidget();
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
        Caption->setFont(Label8->font());
        Caption->setAlignment(Label8->alignment());
        Caption->setGeometry(Label8->geometry().translated(0, Step));
        Row.Bar = new QScrollBar(Qt::Horizontal, Rows);
        Row.Bar->setObjectName(QString::fromLatin1(Row.BarName));
        Row.Bar->setGeometry(SBAFOL->geometry().translated(0, Step));
        Row.Bar->setRange(0, 5000);
        Row.Bar->setValue(SettingDefault(Row.Setting));
        Row.Bar->setPageStep(10);
        Row.Edit = new QLineEdit(Rows);
        Row.Edit->setObjectName(QString::fromLatin1(Row.EditName));
        Row.Edit->setFont(Edit6->font());
        Row.Edit->setGeometry(Edit6->geometry().translated(0, Step));
        QScrollBar *Bar = Row.Bar;
        connect(Bar, &QScrollBar::valueChanged, this, [this, Bar] { FSettingEdits->BarChanged(Bar); });
        Step += 20;
    }
    Rows->setMinimumHeight(Rows->height() + Step - 20);
}
