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

// A setting's default: the tool window's designed value, from the one
// table of them (TTrimSettings' initialisers).
constexpr TSettingValue DesignedSetting(std::int32_t TTrimSettings::*Field)
{
    return {TSettingValue::TUnit::Panel, TTrimSettings{}.*Field, 0};
}

struct TSplitOptions {
    TSettingValue CutStartLevel = DesignedSetting(&TTrimSettings::CutStartLevel);
    TSettingValue NoSoundLevel = DesignedSetting(&TTrimSettings::NoSoundLevel);
    TSettingValue NoSoundWidth = DesignedSetting(&TTrimSettings::NoSoundWidth);
    TSettingValue MinimumSize = DesignedSetting(&TTrimSettings::MinimumSize);
    TSettingValue BackwardSearch = DesignedSetting(&TTrimSettings::BackwardSearch);
    TSettingValue ForwardSearch = DesignedSetting(&TTrimSettings::ForwardSearch);
    TSettingValue Pad = DesignedSetting(&TTrimSettings::Pad);
    TSettingValue LevelWindow = DesignedSetting(&TTrimSettings::LevelWindow);
    TSettingValue MaximumSize = DesignedSetting(&TTrimSettings::MaximumSize);
    // Each recording's settings suggested from it (SuggestSettings.h);
    // the settings named in Given, as typed, take the place of theirs.
    bool Auto = false;
    TPieceTarget Target = TPieceTarget::Sentence; // what --auto cuts for
    // Short stretches joined to a neighbour or kept, never dropped; on with
    // --auto.
    bool JoinShort = false;
    // Levels read in a band (LevelBand.h); with --auto, its choice unless
    // given.
    std::int32_t Band = 0;
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

// What --Name is to the command line: no option of it, an option alone
// (--auto), or one followed by its value (--out DIR).
enum class TOptionForm { Unknown, Flag, Value };
TOptionForm SplitOptionForm(const QString &Name);

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
