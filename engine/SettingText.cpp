#include "engine/SettingText.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

constexpr std::int64_t Largest = std::numeric_limits<std::int32_t>::max();
constexpr double SecondsBound = 1e9;

TSettingRead Problem(TSettingProblem Kind)
{
    TSettingRead Read;
    Read.Problem = Kind;
    return Read;
}

TSettingRead Time(TSettingValue::TUnit Unit, double Amount, double Bound)
{
    // Converted per recording; a bound that holds at any sample rate.
    if (!std::isfinite(Amount) || Amount > Bound)
        return Problem(TSettingProblem::OutOfRange);
    return {{Unit, 0, Amount}, TSettingProblem::None};
}

} // namespace

TSettingRead ReadSettingText(const QString &Text, TSettingKind Kind)
{
    static const QRegularExpression Whole(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression Seconds(QStringLiteral("^([0-9]+(\\.[0-9]*)?|\\.[0-9]+)s$"));
    static const QRegularExpression Milliseconds(QStringLiteral("^([0-9]+(\\.[0-9]*)?|\\.[0-9]+)ms$"));
    static const QRegularExpression Decibels(QStringLiteral("^([+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+))dB$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (Whole.match(Text).hasMatch()) {
        bool Fits = false;
        const qlonglong Number = Text.toLongLong(&Fits);
        if (!Fits || Number > Largest)
            return Problem(TSettingProblem::OutOfRange);
        return {{TSettingValue::TUnit::Panel, Number, 0}, TSettingProblem::None};
    }
    if (Kind == TSettingKind::Width) {
        if (const QRegularExpressionMatch Match = Seconds.match(Text); Match.hasMatch())
            return Time(TSettingValue::TUnit::Seconds, Match.captured(1).toDouble(), SecondsBound);
        if (const QRegularExpressionMatch Match = Milliseconds.match(Text); Match.hasMatch())
            return Time(TSettingValue::TUnit::Milliseconds, Match.captured(1).toDouble(), 1000 * SecondsBound);
    }
    if (Kind == TSettingKind::Level) {
        const QRegularExpressionMatch Match = Decibels.match(Text);
        if (Match.hasMatch()) {
            const double Level = std::round(32768.0 * std::pow(10.0, Match.captured(1).toDouble() / 20.0));
            if (!(Level <= double(Largest)))
                return Problem(TSettingProblem::OutOfRange);
            return {{TSettingValue::TUnit::Panel, std::int64_t(Level), 0}, TSettingProblem::None};
        }
    }
    if (Text.startsWith(QLatin1Char('-')) && ReadSettingText(Text.mid(1), Kind).Problem == TSettingProblem::None)
        return Problem(TSettingProblem::Negative);
    return Problem(TSettingProblem::Malformed);
}

TSettingRead SettingFromCount(std::int64_t Count)
{
    if (Count < 0)
        return Problem(TSettingProblem::Negative);
    if (Count > Largest)
        return Problem(TSettingProblem::OutOfRange);
    return {{TSettingValue::TUnit::Panel, Count, 0}, TSettingProblem::None};
}

TSettingRead SettingFromSeconds(double Seconds)
{
    if (Seconds < 0)
        return Problem(TSettingProblem::Negative);
    // -0.0 is 0 s, as the text "0s" is.
    return Time(TSettingValue::TUnit::Seconds, Seconds + 0.0, SecondsBound);
}

QString SettingValueError(const TSettingSpec &Setting, const QString &Text, TSettingProblem Problem)
{
    return QStringLiteral("--%1: \"%2\" %3; %4")
        .arg(QLatin1String(Setting.Option), Text, SettingProblemText(Problem), AcceptedSettingForms(Setting.Kind));
}

QStringList SettingChoices(const TSettingSpec &Setting)
{
    return QString::fromLatin1(Setting.Choices).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString SettingProblemText(TSettingProblem Problem)
{
    switch (Problem) {
    case TSettingProblem::Malformed: return QStringLiteral("is malformed");
    case TSettingProblem::Negative: return QStringLiteral("is negative");
    case TSettingProblem::OutOfRange: return QStringLiteral("is out of range");
    case TSettingProblem::None: break;
    }
    return {};
}

QString AcceptedSettingForms(TSettingKind Kind)
{
    return Kind == TSettingKind::Level
        ? QStringLiteral("give a 16-bit sample level (0 to 2147483647, e.g. 1000) or dBFS (e.g. -30dB)")
        : QStringLiteral("give sample positions (0 to 2147483647, e.g. 100) or seconds (e.g. 0.4s)");
}

std::optional<std::int32_t> SettingAtRate(const TSettingValue &Value, std::uint32_t Rate)
{
    double Positions = double(Value.Panel);
    if (Value.Unit == TSettingValue::TUnit::Seconds)
        Positions = std::round(Value.Amount * Rate);
    else if (Value.Unit == TSettingValue::TUnit::Milliseconds)
        Positions = std::round(Value.Amount * Rate / 1000.0);
    if (!(Positions <= double(Largest)))
        return std::nullopt;
    return std::int32_t(Positions);
}

QString SettingEquivalent(TSettingKind Kind, std::int64_t Panel, std::uint32_t Rate)
{
    if (Kind == TSettingKind::Width) {
        if (Rate == 0)
            return {};
        // Short widths in milliseconds, where hundredths of a second would
        // show the designed ones all as 0.00 s.
        const double Seconds = double(Panel) / Rate;
        return Seconds < 0.1 ? QString::number(Seconds * 1000, 'f', 1) + QStringLiteral(" ms")
                             : QString::number(Seconds, 'f', 2) + QStringLiteral(" s");
    }
    if (Panel <= 0)
        return QStringLiteral("\u2212\u221e dBFS");
    // Tenths, so that a level just below full scale reads 0.0 and not -0.0.
    const double Tenths = std::round(200.0 * std::log10(double(Panel) / 32768.0));
    const QString Number = QString::number(std::abs(Tenths) / 10.0, 'f', 1);
    return (Tenths < 0 ? QStringLiteral("\u2212") : QString()) + Number + QStringLiteral(" dBFS");
}
