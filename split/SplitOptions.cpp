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

using TKind = TSettingKind;

struct TSettingOption {
    const char *Name;
    TKind Kind;
    TSettingValue TSplitOptions::*Field;
    std::int32_t TTrimSettings::*Target;
    const char *Help;
};

const TSettingOption SettingOptions[] = {
    {"cut-start-level", TKind::Level, &TSplitOptions::CutStartLevel, &TTrimSettings::CutStartLevel,
     "Outside a piece, a level at least this opens one"},
    {"no-sound-level", TKind::Level, &TSplitOptions::NoSoundLevel, &TTrimSettings::NoSoundLevel,
     "A level at most this is silence"},
    {"no-sound-width", TKind::Width, &TSplitOptions::NoSoundWidth, &TTrimSettings::NoSoundWidth,
     "A silence this long closes a piece"},
    {"min-size", TKind::Width, &TSplitOptions::MinimumSize, &TTrimSettings::MinimumSize,
     "A piece is kept only when longer than this"},
    {"backward-search", TKind::Width, &TSplitOptions::BackwardSearch, &TTrimSettings::BackwardSearch,
     "Reach of the search for a quiet start before a piece"},
    {"forward-search", TKind::Width, &TSplitOptions::ForwardSearch, &TTrimSettings::ForwardSearch,
     "Reach of the search for a quiet end after a piece"},
    {"pad", TKind::Width, &TSplitOptions::Pad, &TTrimSettings::Pad,
     "Margin added before and after each piece, within its neighbours"},
    {"level-window", TKind::Width, &TSplitOptions::LevelWindow, &TTrimSettings::LevelWindow,
     "A level is the RMS over a window this wide, not one sample"},
    {"max-size", TKind::Width, &TSplitOptions::MaximumSize, &TTrimSettings::MaximumSize,
     "A longer piece is cut at its quietest moments; 0 is no limit"},
};

// Reads one setting's text; an error message when it is no accepted form.
QString ReadSetting(const QString &Option, const QString &Text, TKind Kind, TSettingValue &Value)
{
    const TSettingRead Read = ReadSettingText(Text, Kind);
    if (Read.Problem == TSettingProblem::None) {
        Value = Read.Value;
        return {};
    }
    return QStringLiteral("--%1: \"%2\" %3; %4")
        .arg(Option, Text, SettingProblemText(Read.Problem), AcceptedSettingForms(Kind));
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
    for (const TSettingOption &Setting : SettingOptions)
        Parser.addOption({QString::fromLatin1(Setting.Name),
                          QStringLiteral("%1 (default %2).")
                              .arg(QString::fromLatin1(Setting.Help))
                              .arg(TTrimSettings{}.*Setting.Target),
                          Setting.Kind == TKind::Level ? QStringLiteral("level") : QStringLiteral("width")});
    Parser.addOption({QStringLiteral("auto"),
                      QStringLiteral("Suggest each recording's settings from its noise floor and speech level, "
                                     "for pieces of one sentence; settings given as options take their place. "
                                     "With --list, print the settings chosen on stderr. Sound more than 15 dB "
                                     "above the floor that no piece holds is reported on stderr.")});
    Parser.addOption({QStringLiteral("target"),
                      QStringLiteral("With --auto, what a piece holds: sentence (default), phrase or word; the "
                                     "silence that ends a piece is read from the recording's own pauses."),
                      QStringLiteral("kind")});
    Parser.addOption({QStringLiteral("join-short"),
                      QStringLiteral("Keep pieces shorter than --min-size (with their margins): each joins its "
                                     "nearer neighbour when the gap is at most two --no-sound-width, else stays "
                                     "a piece. On with --auto.")});
    Parser.addOption({QStringLiteral("band"),
                      QStringLiteral("Read levels above 80 Hz (highpass) or from 80 Hz to 4 kHz (speech), so "
                                     "that hum and rumble do not hide pauses; the pieces keep every sample. "
                                     "off is the default; --auto chooses highpass over a humming floor."),
                      QStringLiteral("band")});
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
    for (const TSettingOption &Setting : SettingOptions) {
        const QString Name = QString::fromLatin1(Setting.Name);
        if (!Parser.isSet(Name))
            continue;
        const QString Error = ReadSetting(Name, Parser.value(Name), Setting.Kind, Options.*Setting.Field);
        if (!Error.isEmpty())
            return Failure(Error);
        Options.Given << Name;
    }
    Options.Auto = Parser.isSet(QStringLiteral("auto"));
    Options.JoinShort = Options.Auto || Parser.isSet(QStringLiteral("join-short"));
    if (Parser.isSet(QStringLiteral("band"))) {
        const QString Band = Parser.value(QStringLiteral("band"));
        static const QStringList Bands = {QStringLiteral("off"), QStringLiteral("highpass"), QStringLiteral("speech")};
        if (!Bands.contains(Band))
            return Failure(QStringLiteral("--band: \"%1\" is no band; give off, highpass or speech").arg(Band));
        Options.Band = std::int32_t(Bands.indexOf(Band));
        Options.BandGiven = true;
    }
    if (Parser.isSet(QStringLiteral("target"))) {
        const QString Target = Parser.value(QStringLiteral("target"));
        if (!Options.Auto)
            return Failure(QStringLiteral("--target chooses what --auto cuts for; give --auto too"));
        if (Target == QLatin1String("sentence"))
            Options.Target = TPieceTarget::Sentence;
        else if (Target == QLatin1String("phrase"))
            Options.Target = TPieceTarget::Phrase;
        else if (Target == QLatin1String("word"))
            Options.Target = TPieceTarget::Word;
        else
            return Failure(QStringLiteral("--target: \"%1\" is not a kind of piece; give sentence, phrase or word")
                               .arg(Target));
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

TOptionForm SplitOptionForm(const QString &Name)
{
    // The parser's own table says it, so no list here can drift from it:
    // an option that wants a value fails when given none.
    if (Name.isEmpty() || Name.contains(QLatin1Char('=')))
        return TOptionForm::Unknown;
    QCommandLineParser Parser;
    DefineOptions(Parser);
    if (Parser.parse({QStringLiteral("redivev-split"), QStringLiteral("--") + Name}))
        return TOptionForm::Flag;
    return Parser.unknownOptionNames().isEmpty() ? TOptionForm::Value : TOptionForm::Unknown;
}

TSettingsAtRate TrimSettingsAt(const TSplitOptions &Options, std::uint32_t Rate, const TTrimSettings *Suggested)
{
    TSettingsAtRate Result;
    TTrimSettings Settings;
    for (const TSettingOption &Setting : SettingOptions) {
        if (Suggested && !Options.Given.contains(QLatin1String(Setting.Name))) {
            Settings.*Setting.Target = Suggested->*Setting.Target;
            continue;
        }
        const TSettingValue &Value = Options.*Setting.Field;
        const std::optional<std::int32_t> Resolved = SettingAtRate(Value, Rate);
        if (!Resolved) {
            const bool Seconds = Value.Unit == TSettingValue::TUnit::Seconds;
            Result.Error = QStringLiteral("--%1 %2%3 is more than 2147483647 positions at %4 Hz")
                               .arg(QLatin1String(Setting.Name))
                               .arg(Value.Amount)
                               .arg(Seconds ? QStringLiteral("s") : QStringLiteral("ms"))
                               .arg(Rate);
            return Result;
        }
        Settings.*Setting.Target = *Resolved;
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
    for (const TSettingOption &Setting : SettingOptions)
        Options << "--" + QByteArray(Setting.Name) + ' ' + QByteArray::number(Settings.*Setting.Target);
    if (Settings.JoinShort)
        Options << "--join-short";
    if (Settings.Band == BandHighPass)
        Options << "--band highpass";
    else if (Settings.Band == BandSpeech)
        Options << "--band speech";
    return Options.join(' ');
}
