#pragma once
// The command line of redivev-split, read into plain values: nothing here
// touches a file, so every form of every option can be tried in a test.
#include "engine/PieceConversion.h"
#include "engine/SettingText.h"
#include "engine/SuggestSettings.h"
#include "engine/TrimArea.h"
#include "split/BatchOptions.h"
#include "split/RunReport.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// A setting's default, from the one table of them (SettingTable.h).
constexpr TSettingValue DesignedSetting(TSettingId Id)
{
    return {TSettingValue::TUnit::Panel, SettingDefault(Id), 0};
}

struct TSplitOptions {
    TSettingValue CutStartLevel = DesignedSetting(TSettingId::CutStartLevel);
    TSettingValue NoSoundLevel = DesignedSetting(TSettingId::NoSoundLevel);
    TSettingValue NoSoundWidth = DesignedSetting(TSettingId::NoSoundWidth);
    TSettingValue MinimumSize = DesignedSetting(TSettingId::MinimumSize);
    TSettingValue BackwardSearch = DesignedSetting(TSettingId::BackwardSearch);
    TSettingValue ForwardSearch = DesignedSetting(TSettingId::ForwardSearch);
    TSettingValue Pad = DesignedSetting(TSettingId::Pad);
    TSettingValue LevelWindow = DesignedSetting(TSettingId::LevelWindow);
    TSettingValue MaximumSize = DesignedSetting(TSettingId::MaximumSize);
    // Each recording's settings suggested from it (SuggestSettings.h);
    // the settings named in Given, as typed, take the place of theirs.
    bool Auto = false;
    TPieceTarget Target = TPieceTarget(SettingDefault(TSettingId::Target)); // what --auto cuts for
    // Short stretches joined to a neighbour or kept, never dropped; on with
    // --auto.
    bool JoinShort = false;
    // Levels read in a band (LevelBand.h); with --auto, its choice unless
    // given.
    std::int32_t Band = SettingDefault(TSettingId::Band);
    bool BandGiven = false;
    QStringList Given; // option names without "--"
    QByteArray OutDir = "MakedFile"; // names are bytes (NameBytes.h)
    bool Normalise = false;
    bool List = false; // --json sets it too
    bool Json = false;
    int Jobs = 1;
    QByteArrayList Files;
    TBatchOptions Batch;
    TReportOptions Report;
    TPieceConversion Convert; // --rate, --channels, --bits
    // Label files (LabelOptions.h): written beside the pieces or listed;
    // areas read from one instead of detected.
    bool Labels = false;
    QByteArray AreasFile; // --areas, for the one recording
    bool AreasBeside = false;
    bool NameFromLabels = false;
};

struct TSplitCommand {
    enum class TAction { Run, Help, Version, Error };
    TAction Action = TAction::Error;
    TSplitOptions Options;
    QString Text; // the help or version text, or the error message
};

// Arguments as main() gets them, the program's name first, each decoded by
// ArgumentText, so that a name that is not UTF-8 keeps its bytes. --help and
// --version are answered with the texts QCommandLineParser gives them.
TSplitCommand ParseSplitCommand(const QStringList &Arguments);

// Where Options hold a level or a width of the table; nullptr for a flag or
// a choice.
TSettingValue *SettingValueOf(TSplitOptions &Options, TSettingId Id);
// Takes the choice Text of band or target (which wants Options.Auto set
// already); an error message naming the option when it is none.
QString ReadSettingChoice(TSplitOptions &Options, TSettingId Id, const QString &Text);

// The settings for a recording of Rate samples per second; an error
// message naming the option when a converted value does not fit.
struct TSettingsAtRate {
    std::optional<TTrimSettings> Settings;
    QString Error;
};
// With Suggested, a setting not given on the command line is its.
TSettingsAtRate TrimSettingsAt(const TSplitOptions &Options, std::uint32_t Rate,
                               const TTrimSettings *Suggested = nullptr);

// Settings as the options that give them, in the panel's units
// ("--cut-start-level 1017 --no-sound-level 641 ...").
QByteArray SettingsAsOptions(const TTrimSettings &Settings);
