#pragma once
// A detection setting as a person types it, shared by the window's edits and
// redivev-split's options: a plain number in the panel's units, a width in
// seconds (0.4s) or milliseconds (400ms), a level in dBFS (-40dB). Widths in
// time become positions only at a recording's sample rate.
#include "engine/SettingTable.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

struct TSettingValue {
    enum class TUnit { Panel, Seconds, Milliseconds };
    TUnit Unit = TUnit::Panel;
    std::int64_t Panel = 0; // a level or a count of positions; dBFS arrive here converted
    double Amount = 0;      // seconds or milliseconds
};

enum class TSettingProblem { None, Malformed, Negative, OutOfRange };

struct TSettingRead {
    TSettingValue Value;
    TSettingProblem Problem = TSettingProblem::None;
};

// Reads one setting's text. A level in dBFS is round(32768 x 10^(dB/20)).
TSettingRead ReadSettingText(const QString &Text, TSettingKind Kind);

// A setting given as a number rather than a text (by the Python module): a
// count in the panel's units, or a width in seconds, checked as the text of
// it would be.
TSettingRead SettingFromCount(std::int64_t Count);
TSettingRead SettingFromSeconds(double Seconds);

// The message for a refused value of Setting, as Text shows it:
// --no-sound-width: "-1s" is negative; give sample positions ...
QString SettingValueError(const TSettingSpec &Setting, const QString &Text, TSettingProblem Problem);

// A choice setting's choices, in index order ("off", "highpass", "speech").
QStringList SettingChoices(const TSettingSpec &Setting);

// "is malformed", "is negative" or "is out of range".
QString SettingProblemText(TSettingProblem Problem);
// What forms a setting of Kind takes, for the end of a message.
QString AcceptedSettingForms(TSettingKind Kind);

// The value in the panel's units at Rate samples per second: a time to the
// nearest position. Nothing when it is more than 2147483647.
std::optional<std::int32_t> SettingAtRate(const TSettingValue &Value, std::uint32_t Rate);

// The value as shown beside its edit: a width in seconds at Rate
// ("0.40 s", or "2.3 ms" below a tenth of a second), a level in dBFS ("−30.3 dBFS", with a true minus sign).
// Empty for a width while no recording gives a rate.
QString SettingEquivalent(TSettingKind Kind, std::int64_t Panel, std::uint32_t Rate);
