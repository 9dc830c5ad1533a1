#include "split/SplitOptions.h"

#include "split/ConversionOptions.h"

#include "engine/LevelBand.h"
#include "split/LabelOptions.h"
#include "split/NameBytes.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <thread>

namespace {

// The level and width options, in the table's order, and where each is
// held while the command line is read.
struct TSettingOption {
    TSettingId Id;
    TSettingValue TSplitOptions::*Field;
};

const TSettingOption SettingOptions[] = {
    {TSettingId::CutStartLevel, &TSplitOptions::CutStartLevel},
    {TSettingId::NoSoundLevel, &TSplitOptions::NoSoundLevel},
    {TSettingId::NoSoundWidth, &TSplitOptions::NoSoundWidth},
    {TSettingId::MinimumSize, &TSplitOptions::MinimumSize},
    {TSettingId::BackwardSearch, &TSplitOptions::BackwardSearch},
    {TSettingId::ForwardSearch, &TSplitOptions::ForwardSearch},
    {TSettingId::Pad, &TSplitOptions::Pad},
    {TSettingId::LevelWindow, &TSplitOptions::LevelWindow},
    {TSettingId::MaximumSize, &TSplitOptions::MaximumSize},
};

QString OptionName(TSettingId Id)
{
    return QString::fromLatin1(SettingSpec(Id).Option);
}

QString HelpOf(TSettingId Id)
{
    return QString::fromLatin1(SettingSpec(Id).Help);
}

// Reads one setting's text; an error message when it is no accepted form.
QString ReadSetting(const TSettingSpec &Setting, const QString &Text, TSettingValue &Value)
{
    const TSettingRead Read = ReadSettingText(Text, Setting.Kind);
    if (Read.Problem == TSettingProblem::None) {
        Value = Read.Value;
        return {};
    }
    return SettingValueError(Setting, Text, Read.Problem);
}

QString ReadJobs(const QString &Text, int &Jobs)
{
    static const QRegularExpression Whole(QStringLiteral("^[0-9]+$"));
    bool Fits = false;
    const int Count = Text.toInt(&Fits);
    if (!Whole.match(Text).hasMatch() || !Fits || Count < 1)
        return QStringLiteral("-j: \"%1\" is not a number of jobs; give a whole number of at least 1 (e.g. 4)")
            .arg(Text);
    Jobs = Count;
    return {};
}

void DefineOptions(QCommandLineParser &Parser)
{
    Parser.setApplicationDescription(QStringLiteral(
        "Cuts each recording (WAV, RF64, Wave64 or FLAC) into pieces at its silences and writes them as\n"
        "WAVE00.wav, WAVE01.wav, ... (WAVE00.flac, ... for FLAC), in the recording's own format,\n"
        "exactly as the window's export does, with the window's detection settings.\n"
        "Levels are 16-bit sample levels (0..32768) or dBFS (-30dB); widths are sample positions,\n"
        "seconds (0.4s) or milliseconds (400ms), converted at each recording's own sample rate.\n"
        "Values are not capped at the window's scroll-bar maxima."));
    Parser.addHelpOption();
    Parser.addVersionOption();
    for (const TSettingOption &Option : SettingOptions) {
        const TSettingSpec &Setting = SettingSpec(Option.Id);
        Parser.addOption({OptionName(Option.Id),
                          QStringLiteral("%1 (default %2).").arg(HelpOf(Option.Id)).arg(Setting.Default),
                          QString::fromLatin1(Setting.Unit)});
    }
    // The command line reports on stderr what a suggestion chose and left out.
    Parser.addOption({OptionName(TSettingId::Auto),
                      HelpOf(TSettingId::Auto)
                          + QStringLiteral(" With --list, print the settings chosen on stderr. Sound more than 15 dB "
                                           "above the floor that no piece holds is reported on stderr.")});
    for (const TSettingId Id : {TSettingId::Target, TSettingId::JoinShort, TSettingId::Band}) {
        const TSettingSpec &Setting = SettingSpec(Id);
        if (Setting.Kind == TSettingKind::Choice)
            Parser.addOption({OptionName(Id), HelpOf(Id), QString::fromLatin1(Setting.Unit)});
        else
            Parser.addOption({OptionName(Id), HelpOf(Id)});
    }
    Parser.addOption({QStringLiteral("out"),
                      QStringLiteral("Folder of the pieces (default MakedFile); with several files, one folder "
                                     "per file inside it, named after the file."),
                      QStringLiteral("dir")});
    Parser.addOption({QStringLiteral("normalise"), QStringLiteral("Raise each recording to full scale first.")});
    Parser.addOption({QStringLiteral("list"),
                      QStringLiteral("Write nothing; print the pieces as CSV (file,index,start,end,start_s,end_s).")});
    Parser.addOption({QStringLiteral("json"), QStringLiteral("As --list, as a JSON array.")});
    Parser.addOption({{QStringLiteral("j"), QStringLiteral("jobs")},
                      QStringLiteral("Files cut at once (default: the number of cores)."), QStringLiteral("n")});
    DefineBatchOptions(Parser);
    DefineLabelOptions(Parser);
    DefineReportOptions(Parser);
    DefineConversionOptions(Parser);
    Parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("The recordings."),
                                 QStringLiteral("FILE..."));
}

TSplitCommand Failure(const QString &Message)
{
    TSplitCommand Command;
    Command.Text = Message;
    return Command;
}

} // namespace

TSplitCommand ParseSplitCommand(const QStringList &Arguments)
{
    QCommandLineParser Parser;
    DefineOptions(Parser);
    if (!Parser.parse(Arguments))
        return Failure(Parser.errorText());
    TSplitCommand Command;
    if (Parser.isSet(QStringLiteral("help")) || Parser.isSet(QStringLiteral("help-all"))) {
        Command.Action = TSplitCommand::TAction::Help;
        Command.Text = Parser.helpText();
        if (!Command.Text.endsWith(QLatin1Char('\n')))
            Command.Text += QLatin1Char('\n');
        return Command;
    }
    if (Parser.isSet(QStringLiteral("version"))) {
        Command.Action = TSplitCommand::TAction::Version;
        Command.Text = QCoreApplication::applicationName() + QLatin1Char(' ')
            + QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return Command;
    }

    TSplitOptions &Options = Command.Options;
    for (const TSettingOption &Option : SettingOptions) {
        const QString Name = OptionName(Option.Id);
        if (!Parser.isSet(Name))
            continue;
        const QString Error = ReadSetting(SettingSpec(Option.Id), Parser.value(Name), Options.*Option.Field);
        if (!Error.isEmpty())
            return Failure(Error);
        Options.Given << Name;
    }
    Options.Auto = Parser.isSet(OptionName(TSettingId::Auto));
    Options.JoinShort = Options.Auto || Parser.isSet(OptionName(TSettingId::JoinShort));
    for (const TSettingId Id : {TSettingId::Band, TSettingId::Target}) {
        if (!Parser.isSet(OptionName(Id)))
            continue;
        if (const QString Error = ReadSettingChoice(Options, Id, Parser.value(OptionName(Id))); !Error.isEmpty())
            return Failure(Error);
    }
    Options.Jobs = int(std::max(1u, std::thread::hardware_concurrency()));
    if (Parser.isSet(QStringLiteral("j"))) {
        const QString Error = ReadJobs(Parser.value(QStringLiteral("j")), Options.Jobs);
        if (!Error.isEmpty())
            return Failure(Error);
    }
    if (Parser.isSet(QStringLiteral("out"))) {
        Options.OutDir = ArgumentBytes(Parser.value(QStringLiteral("out")));
        if (Options.OutDir.isEmpty())
            return Failure(QStringLiteral("--out: give a folder (e.g. --out pieces)"));
    }
    Options.Normalise = Parser.isSet(QStringLiteral("normalise"));
    Options.Json = Parser.isSet(QStringLiteral("json"));
    Options.List = Options.Json || Parser.isSet(QStringLiteral("list"));
    if (const QString Error = ReadBatchOptions(Parser, Options.List, Options.Json, Options.Batch); !Error.isEmpty())
        return Failure(Error);
    for (const QString &File : Parser.positionalArguments())
        Options.Files << ArgumentBytes(File);
    if (Options.Files.isEmpty() && Options.Batch.FilesFrom.isEmpty())
        return Failure(QStringLiteral("no recordings given; give one or more FILE.wav or FILE.flac"));
    if (const QString Error = ReadLabelOptions(Parser, Options); !Error.isEmpty())
        return Failure(Error);
    if (const QString Error = ReadReportOptions(Parser, Options.Report); !Error.isEmpty())
        return Failure(Error);
    if (const QString Error = ReadConversionOptions(Parser, Options.Convert); !Error.isEmpty())
        return Failure(Error);
    Command.Action = TSplitCommand::TAction::Run;
    return Command;
}

TSettingValue *SettingValueOf(TSplitOptions &Options, TSettingId Id)
{
    for (const TSettingOption &Option : SettingOptions)
        if (Option.Id == Id)
            return &(Options.*Option.Field);
    return nullptr;
}

QString ReadSettingChoice(TSplitOptions &Options, TSettingId Id, const QString &Text)
{
    static_assert(BandFull == 0 && BandHighPass == 1 && BandSpeech == 2, "the table's bands in their order");
    static_assert(int(TPieceTarget::Sentence) == 0 && int(TPieceTarget::Phrase) == 1 && int(TPieceTarget::Word) == 2,
                  "the table's targets in their order");
    const TSettingSpec &Setting = SettingSpec(Id);
    const std::int32_t Index = SettingChoiceIndex(Setting, Text.toStdString());
    if (Id == TSettingId::Band) {
        if (Index < 0)
            return QStringLiteral("--band: \"%1\" is no band; give off, highpass or speech").arg(Text);
        Options.Band = Index;
        Options.BandGiven = true;
        return {};
    }
    if (!Options.Auto)
        return QStringLiteral("--target chooses what --auto cuts for; give --auto too");
    if (Index < 0)
        return QStringLiteral("--target: \"%1\" is not a kind of piece; give sentence, phrase or word").arg(Text);
    Options.Target = TPieceTarget(Index);
    return {};
}

TSettingsAtRate TrimSettingsAt(const TSplitOptions &Options, std::uint32_t Rate, const TTrimSettings *Suggested)
{
    TSettingsAtRate Result;
    TTrimSettings Settings;
    for (const TSettingOption &Option : SettingOptions) {
        const TSettingSpec &Setting = SettingSpec(Option.Id);
        std::int32_t TTrimSettings::*const Target = TrimField(Option.Id);
        if (Suggested && !Options.Given.contains(QLatin1String(Setting.Option))) {
            Settings.*Target = Suggested->*Target;
            continue;
        }
        const TSettingValue &Value = Options.*Option.Field;
        const std::optional<std::int32_t> Resolved = SettingAtRate(Value, Rate);
        if (!Resolved) {
            const bool Seconds = Value.Unit == TSettingValue::TUnit::Seconds;
            Result.Error = QStringLiteral("--%1 %2%3 is more than 2147483647 positions at %4 Hz")
                               .arg(QLatin1String(Setting.Option))
                               .arg(Value.Amount)
                               .arg(Seconds ? QStringLiteral("s") : QStringLiteral("ms"))
                               .arg(Rate);
            return Result;
        }
        Settings.*Target = *Resolved;
    }
    // A suggestion keeps short stretches, whoever asks for it.
    Settings.JoinShort = Options.JoinShort || (Suggested && Suggested->JoinShort != 0) ? 1 : 0;
    Settings.Band = Suggested && !Options.BandGiven ? Suggested->Band : Options.Band;
    Result.Settings = Settings;
    return Result;
}

QByteArray SettingsAsOptions(const TTrimSettings &Settings)
{
    QByteArrayList Options;
    for (const TSettingOption &Option : SettingOptions)
        Options << "--" + QByteArray(SettingSpec(Option.Id).Option) + ' '
                + QByteArray::number(Settings.*TrimField(Option.Id));
    if (Settings.JoinShort)
        Options << "--join-short";
    const TSettingSpec &Band = SettingSpec(TSettingId::Band);
    if (Settings.Band != Band.Default && !SettingChoice(Band, Settings.Band).empty())
        Options << "--band " + QByteArray::fromStdString(std::string(SettingChoice(Band, Settings.Band)));
    return Options.join(' ');
}
