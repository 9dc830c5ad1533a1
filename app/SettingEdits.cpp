#include "app/SettingEdits.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// A value the bar cannot stand at: it stands at its nearest end, and the
// setting keeps the value.
bool OffTheBar(const QScrollBar &Bar, std::int32_t Value)
{
    return Value > Bar.maximum() || Value < Bar.minimum();
}

// The edits keep their designed width, which a long value typed in
// positions (60 s is 2646000) overruns: the edit would show its last digits
// only. Such a value is set narrower, just enough to show whole, and from
// its first digit should it still not fit.
void ShowWhole(QLineEdit &Edit)
{
    QFont Font = Edit.font();
    Font.setStretch(QFont::Unstretched);
    QStyleOptionFrame Option;
    Option.initFrom(&Edit);
    Option.rect = Edit.rect();
    Option.lineWidth = Edit.hasFrame() ? Edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &Option, &Edit) : 0;
    const QMargins Margins = Edit.textMargins();
    // The edit's own margin of two pixels a side, and the cursor's pixels.
    const int Room = Edit.style()->subElementRect(QStyle::SE_LineEditContents, &Option, &Edit).width()
        - Margins.left() - Margins.right() - 4 - 2;
    for (int Stretch = 100; Stretch >= 50; Stretch -= 5) {
        Font.setStretch(Stretch);
        if (QFontMetrics(Font).horizontalAdvance(Edit.text()) <= Room)
            break;
    }
    Edit.setFont(Font);
    Edit.setCursorPosition(0);
}

} // namespace

TSettingEdits::TSettingEdits(QObject *Parent, std::function<void(const QString &)> Report,
                             std::function<void()> Changed)
    : QObject(Parent), FReport(std::move(Report)), FChanged(std::move(Changed))
{
}

void TSettingEdits::Add(QScrollBar *Bar, QLineEdit *Edit, QLabel *Equivalent, TSettingKind Kind)
{
    FSettings.push_back({Bar, Edit, Equivalent, Kind, std::nullopt});
    TSetting &Setting = FSettings.back();
    connect(Edit, &QLineEdit::returnPressed, this, [this, Bar, Edit] { Apply(Bar, Edit->text().trimmed()); });
    Show(Setting);
}

TSettingEdits::TSetting *TSettingEdits::Find(const QScrollBar *Bar)
{
    const auto At = std::find_if(FSettings.begin(), FSettings.end(), [Bar](const TSetting &S) { return S.Bar == Bar; });
    return At == FSettings.end() ? nullptr : &*At;
}

const TSettingEdits::TSetting *TSettingEdits::Find(const QScrollBar *Bar) const
{
    return const_cast<TSettingEdits *>(this)->Find(Bar);
}

std::int32_t TSettingEdits::Value(const TSetting &Setting) const
{
    if (!Setting.Beyond)
        return Setting.Bar->value();
    // A time too long for any position at this rate stands at the largest.
    return SettingAtRate(*Setting.Beyond, FRate).value_or(std::numeric_limits<std::int32_t>::max());
}

std::int32_t TSettingEdits::ValueOf(const QScrollBar *Bar) const
{
    const TSetting *Setting = Find(Bar);
    return Setting ? Value(*Setting) : Bar->value();
}

void TSettingEdits::Show(TSetting &Setting)
{
    const std::int32_t Panel = Value(Setting);
    Setting.Edit->setText(QString::number(Panel));
    ShowWhole(*Setting.Edit);
    Setting.Equivalent->setText(SettingEquivalent(Setting.Kind, Panel, FRate));
}

void TSettingEdits::BarChanged(const QScrollBar *Bar)
{
    TSetting *Setting = Find(Bar);
    if (Setting == nullptr)
        return;
    if (!FApplying)
        Setting->Beyond.reset();
    Show(*Setting);
}

void TSettingEdits::SetRate(std::uint32_t Rate)
{
    FRate = Rate == 0 ? 44100 : Rate;
    for (TSetting &Setting : FSettings)
        Show(Setting);
}

bool TSettingEdits::Apply(const QScrollBar *Bar, const QString &Text)
{
    TSetting *Setting = Find(Bar);
    if (Setting == nullptr)
        return false;
    const TSettingRead Read = ReadSettingText(Text, Setting->Kind);
    const std::optional<std::int32_t> Panel =
        Read.Problem == TSettingProblem::None ? SettingAtRate(Read.Value, FRate) : std::nullopt;
    if (!Panel) {
        Show(*Setting);
        const QString Example =
            Setting->Kind == TSettingKind::Level
                ? QCoreApplication::translate("Redivev", "レベルは 1000 や -40dB のように入力してください。")
                : QCoreApplication::translate("Redivev", "幅は 4410 や 0.4s、400ms のように入力してください。");
        FReport(QCoreApplication::translate("Redivev", "「%1」は設定できません。%2").arg(Text, Example));
        return false;
    }
    Place(*Setting, *Panel, OffTheBar(*Setting->Bar, *Panel) ? std::optional(Read.Value) : std::nullopt);
    FChanged();
    return true;
}

void TSettingEdits::Place(TSetting &Setting, int Value, std::optional<TSettingValue> Beyond)
{
    // Kept through the bar's own change, whose handler mirrors it and
    // redraws the guide marks; a bar already there changes nothing, so the
    // caller redraws once more after.
    Setting.Beyond = Beyond;
    FApplying = true;
    Setting.Bar->setValue(Value);
    FApplying = false;
    Show(Setting);
}

void TSettingEdits::Set(const QScrollBar *Bar, std::int32_t Panel)
{
    if (TSetting *Setting = Find(Bar)) {
        Place(*Setting, Panel,
              OffTheBar(*Setting->Bar, Panel) ? std::optional(TSettingValue{TSettingValue::TUnit::Panel, Panel, 0})
                                              : std::nullopt);
        FChanged();
    }
}
