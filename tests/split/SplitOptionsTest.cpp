// Every form of redivev-split's options: the panel's units, seconds and
// dBFS converted at a recording's rate, and the errors that name the option
// and the form it takes.
#include "split/NameBytes.h"
#include "split/SplitOptions.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include <array>
#include <string>
#include <vector>

namespace {

// In the panel's order: cut start level, no sound level, no sound width,
// minimum size, backward search, forward search, pad, level window,
// maximum size (the last three 0 where a case leaves them out).
using TPanel = std::array<std::int32_t, 9>;

TPanel PanelOf(const TTrimSettings &S)
{
    return {S.CutStartLevel,  S.NoSoundLevel,  S.NoSoundWidth, S.MinimumSize,   S.BackwardSearch,
            S.ForwardSearch, S.Pad,           S.LevelWindow,  S.MaximumSize};
}

TSplitCommand Parse(const QStringList &Options)
{
    return ParseSplitCommand(QStringList{"redivev-split"} + Options);
}

struct TSettingsCase {
    QStringList Options;
    std::uint32_t Rate;
    TPanel Expected;
};

struct TErrorCase {
    QStringList Arguments; // after the program's name
    QString Message;
};

} // namespace

TEST(SplitOptions, SettingsInEveryFormBecomeThePanelsUnitsAtTheRecordingsRate)
{
    const std::vector<TSettingsCase> Cases = {
        {{}, 44100, {100, 1000, 100, 100, 0, 0}},
        // Not capped at the scroll bars' maxima.
        {{"--cut-start-level", "30001", "--no-sound-level", "40000", "--no-sound-width", "0", "--min-size", "7",
          "--backward-search", "5001", "--forward-search", "2147483647"},
         44100,
         {30001, 40000, 0, 7, 5001, 2147483647}},
        // 32768 x 10^(dB/20), rounded.
        {{"--no-sound-level", "-30dB", "--cut-start-level", "0dB"}, 44100, {32768, 1036, 100, 100, 0, 0}},
        {{"--no-sound-level", "-6.0206DB", "--cut-start-level", "-96.33dB"}, 8000, {0, 16384, 100, 100, 0, 0}},
        {{"--no-sound-width", "0.4s", "--min-size", ".5s", "--forward-search", "1s", "--backward-search", "0.00001s"},
         44100,
         {100, 1000, 17640, 22050, 0, 44100}},
        // To the nearest position: 0.882 positions is 1.
        {{"--backward-search", "0.00002s"}, 44100, {100, 1000, 100, 100, 1, 0}},
        {{"--no-sound-width", "0.4s", "--min-size", "2.s"}, 8000, {100, 1000, 3200, 16000, 0, 0}},
        {{"--no-sound-width", "400ms", "--min-size", "250.5ms", "--forward-search", ".0625ms"},
         8000,
         {100, 1000, 3200, 2004, 0, 1}},
        {{"--no-sound-width", "400ms", "--backward-search", "0.01ms"}, 44100, {100, 1000, 17640, 100, 0, 0}},
        {{"--pad", "0.1s", "--level-window", "10ms"}, 44100, {100, 1000, 100, 100, 0, 0, 4410, 441}},
        {{"--max-size", "15s"}, 16000, {100, 1000, 100, 100, 0, 0, 0, 0, 240000}},
        // The last of a repeated option counts.
        {{"--min-size", "300", "--min-size", "200"}, 44100, {100, 1000, 100, 200, 0, 0}},
    };
    for (const TSettingsCase &Case : Cases) {
        const TSplitCommand Command = Parse(Case.Options + QStringList{"in.wav"});
        ASSERT_EQ(Command.Action, TSplitCommand::TAction::Run) << Command.Text.toStdString();
        const TSettingsAtRate AtRate = TrimSettingsAt(Command.Options, Case.Rate);
        ASSERT_TRUE(AtRate.Settings) << AtRate.Error.toStdString();
        EXPECT_EQ(PanelOf(*AtRate.Settings), Case.Expected) << Case.Options.join(' ').toStdString();
    }
    // With --auto, what is given replaces only its own setting of the suggestion.
    const TSplitCommand Auto = Parse({"--auto", "--pad", "0.1s", "--no-sound-level", "0", "in.wav"});
    ASSERT_TRUE(Auto.Options.Auto);
    const TTrimSettings Suggested{11, 12, 13, 14, 15, 16, 17, 18, 19};
    const TSettingsAtRate AtRate = TrimSettingsAt(Auto.Options, 44100, &Suggested);
    ASSERT_TRUE(AtRate.Settings);
    EXPECT_EQ(PanelOf(*AtRate.Settings), (TPanel{14, 0, 12, 13, 15, 16, 4410, 18, 19}));
    EXPECT_EQ(SettingsAsOptions(Suggested), "--cut-start-level 14 --no-sound-level 11 --no-sound-width 12 --min-size 13 "
                                            "--backward-search 15 --forward-search 16 --pad 17 --level-window 18 "
                                            "--max-size 19");
    // Short pieces are kept with --auto, or when asked; --target says what
    // the suggestion cuts for.
    EXPECT_EQ(AtRate.Settings->JoinShort, 1);
    EXPECT_EQ(Auto.Options.Target, TPieceTarget::Sentence);
    const TSplitCommand Joined = Parse({"--join-short", "in.wav"});
    EXPECT_EQ(TrimSettingsAt(Joined.Options, 44100).Settings->JoinShort, 1);
    EXPECT_EQ(TrimSettingsAt(Parse({"in.wav"}).Options, 44100).Settings->JoinShort, 0);
    EXPECT_TRUE(SettingsAsOptions(*TrimSettingsAt(Joined.Options, 44100).Settings).endsWith(" --join-short"));
    // A band given takes the place of the suggestion's.
    TTrimSettings Humming;
    Humming.Band = 1;
    EXPECT_EQ(TrimSettingsAt(Auto.Options, 44100, &Humming).Settings->Band, 1);
    const TSplitCommand Speech = Parse({"--auto", "--band", "speech", "in.wav"});
    EXPECT_EQ(TrimSettingsAt(Speech.Options, 44100, &Humming).Settings->Band, 2);
    EXPECT_TRUE(SettingsAsOptions(*TrimSettingsAt(Speech.Options, 44100).Settings).endsWith(" --band speech"));
    EXPECT_EQ(TrimSettingsAt(Parse({"--band", "off", "in.wav"}).Options, 44100, &Humming).Settings->Band, 0);
    for (const auto &[Text, Target] : {std::pair{"sentence", TPieceTarget::Sentence},
                                       std::pair{"phrase", TPieceTarget::Phrase}, std::pair{"word", TPieceTarget::Word}})
        EXPECT_EQ(Parse({"--auto", "--target", Text, "in.wav"}).Options.Target, Target) << Text;
}

TEST(SplitOptions, BadValuesNameTheOptionAndTheFormItTakes)
{
    const QString Widths = "give sample positions (0 to 2147483647, e.g. 100) or seconds (e.g. 0.4s)";
    const QString Levels = "give a 16-bit sample level (0 to 2147483647, e.g. 1000) or dBFS (e.g. -30dB)";
    const std::vector<TErrorCase> Cases = {
        {{"--min-size", "-5", "a.wav"}, "--min-size: \"-5\" is negative; " + Widths},
        {{"--no-sound-width", "-0.4s", "a.wav"}, "--no-sound-width: \"-0.4s\" is negative; " + Widths},
        {{"--cut-start-level", "-100", "a.wav"}, "--cut-start-level: \"-100\" is negative; " + Levels},
        {{"--no-sound-level", "loud", "a.wav"}, "--no-sound-level: \"loud\" is malformed; " + Levels},
        {{"--no-sound-level", "0.4s", "a.wav"}, "--no-sound-level: \"0.4s\" is malformed; " + Levels},
        {{"--no-sound-width", "-30dB", "a.wav"}, "--no-sound-width: \"-30dB\" is malformed; " + Widths},
        {{"--min-size", "-400ms", "a.wav"}, "--min-size: \"-400ms\" is negative; " + Widths},
        {{"--min-size", "400MS", "a.wav"}, "--min-size: \"400MS\" is malformed; " + Widths},
        {{"--no-sound-level", "40ms", "a.wav"}, "--no-sound-level: \"40ms\" is malformed; " + Levels},
        {{"--backward-search", "1e3", "a.wav"}, "--backward-search: \"1e3\" is malformed; " + Widths},
        {{"--forward-search", "", "a.wav"}, "--forward-search: \"\" is malformed; " + Widths},
        {{"--min-size", "2147483648", "a.wav"}, "--min-size: \"2147483648\" is out of range; " + Widths},
        {{"--cut-start-level", "97dB", "a.wav"}, "--cut-start-level: \"97dB\" is out of range; " + Levels},
        {{"--no-sound-width", "2e9s", "a.wav"}, "--no-sound-width: \"2e9s\" is malformed; " + Widths},
        {{"-j", "0", "a.wav"}, "-j: \"0\" is not a number of jobs; give a whole number of at least 1 (e.g. 4)"},
        {{"--jobs", "two", "a.wav"}, "-j: \"two\" is not a number of jobs; give a whole number of at least 1 (e.g. 4)"},
        {{"--out", "", "a.wav"}, "--out: give a folder (e.g. --out pieces)"},
        {{"--list"}, "no recordings given; give one or more FILE.wav or FILE.flac"},
        {{"--frobnicate", "a.wav"}, "Unknown option 'frobnicate'."},
        {{"a.wav", "--out"}, "Missing value after '--out'."},
        {{"--shard", "2/2", "a.wav"}, "--shard: \"2/2\" is no shard; give I/N, the 0-based shard I of N (e.g. 0/4)"},
        {{"--shard", "0/0", "a.wav"}, "--shard: \"0/0\" is no shard; give I/N, the 0-based shard I of N (e.g. 0/4)"},
        {{"-0", "a.wav"}, "-0: give --files-from too; -0 says how its names are separated"},
        {{"--shard", "0/2", "--shard-by", "size", "a.wav"},
         "--shard-by: \"size\" is no way to share the list; give modulo, blocks or hours"},
        {{"--shard-by", "hours", "a.wav"}, "--shard-by: give --shard I/N too"},
        {{"--skip-done", "--list", "a.wav"},
         "--skip-done: a listing writes no folder to skip; leave out --list or --json"},
        {{"--manifest", "nemo", "--json", "a.wav"}, "--json and --manifest both say what to print; give one of them"},
        {{"--manifest", "yaml", "a.wav"}, "--manifest: \"yaml\" is no manifest format; give nemo, kaldi, lhotse, csv or json"},
        {{"--manifest", "kaldi", "a.wav"},
         "--manifest kaldi: give --manifest-out DIR, the folder that gets segments and wav.scp"},
        {{"--manifest-out", "m", "a.wav"}, "--manifest-out: give --manifest FORMAT too"},
        {{"--manifest", "lhotse", "a.wav"}, "--manifest lhotse: give --manifest-out DIR, the folder that gets "
                                            "recordings.jsonl and supervisions.jsonl"},
        {{"--manifest", "csv", "--manifest-paths", "own", "a.wav"},
         "--manifest-paths: \"own\" is no form of path; give absolute or relative"},
        {{"--manifest-paths", "absolute", "a.wav"}, "--manifest-paths: give --manifest FORMAT too"},
        {{"--manifest", "nemo", "--manifest-paths", "relative", "a.wav"},
         "--manifest-paths relative: give --manifest-out, whose folder the paths start from"},
        {{"--manifest", "kaldi", "--manifest-out", "k", "--speaker-from", "0", "a.wav"},
         "--speaker-from: \"0\" is no count of folders; give 1 for the folder a recording is in, 2 for the one "
         "above it, ..."},
        {{"--manifest", "nemo", "--speaker-from", "1", "a.wav"},
         "--speaker-from: only kaldi and lhotse manifests name speakers; give --manifest kaldi or lhotse"},
        {{"--max-size", "15min", "a.wav"}, "--max-size: \"15min\" is malformed; " + Widths},
        // Label files: one per recording, named pieces only from one.
        {{"--areas", "a.txt", "a.wav", "b.wav"},
         "--areas: a label file holds the areas of one recording; give one FILE, or --areas-beside for several"},
        {{"--areas", "a.txt", "--areas-beside", "a.wav"}, "--areas and --areas-beside: give one of them"},
        {{"--areas", "", "a.wav"}, "--areas: give a label file (e.g. --areas talk.txt)"},
        {{"--name-from-labels", "a.wav"},
         "--name-from-labels: the names come from a label file; give --areas or --areas-beside"},
        {{"--labels", "--json", "a.wav"}, "--labels and --json: give one of them"},
        {{"--areas-beside", "--max-size", "15s", "a.wav"},
         "--max-size: detection settings are not used with a label file's areas, which are cut as they are"},
        {{"--areas", "a.txt", "--auto", "a.wav"},
         "--auto: detection settings are not used with a label file's areas, which are cut as they are"},
        {{"--labels", "--list", "a.wav", "b.wav"},
         "--list --labels: a label file holds the areas of one recording; give one FILE"},
        {{"--target", "word", "a.wav"}, "--target chooses what --auto cuts for; give --auto too"},
        {{"--band", "hum", "a.wav"}, "--band: \"hum\" is no band; give off, highpass or speech"},
        {{"--auto", "--target", "words", "a.wav"},
         "--target: \"words\" is not a kind of piece; give sentence, phrase or word"},
    };
    for (const TErrorCase &Case : Cases) {
        const TSplitCommand Command = Parse(Case.Arguments);
        EXPECT_EQ(Command.Action, TSplitCommand::TAction::Error) << Case.Arguments.join(' ').toStdString();
        EXPECT_EQ(Command.Text, Case.Message);
    }
    // Seconds fit or not only at a recording's rate.
    const TSplitCommand Long = Parse({"--no-sound-width", "100000s", "a.wav"});
    ASSERT_EQ(Long.Action, TSplitCommand::TAction::Run);
    EXPECT_TRUE(TrimSettingsAt(Long.Options, 8000).Settings);
    const TSettingsAtRate TooLong = TrimSettingsAt(Long.Options, 44100);
    EXPECT_FALSE(TooLong.Settings);
    EXPECT_EQ(TooLong.Error, "--no-sound-width 100000s is more than 2147483647 positions at 44100 Hz");
}

TEST(SplitOptions, EquivalentsShownBesideTheWindowsEdits)
{
    struct TCase {
        TSettingKind Kind;
        std::int64_t Panel;
        std::uint32_t Rate;
        QString Shown;
    };
    const TCase Cases[] = {
        {TSettingKind::Width, 17640, 44100, "0.40 s"},
        {TSettingKind::Width, 100, 44100, "2.3 ms"},
        {TSettingKind::Width, 4410, 44100, "0.10 s"},
        {TSettingKind::Width, 2147483647, 8000, "268435.46 s"},
        {TSettingKind::Width, 100, 0, ""}, // no recording yet
        {TSettingKind::Level, 1000, 44100, "\u221230.3 dBFS"},
        {TSettingKind::Level, 32767, 0, "0.0 dBFS"},
        {TSettingKind::Level, 40000, 0, "1.7 dBFS"},
        {TSettingKind::Level, 0, 44100, "\u2212\u221e dBFS"},
    };
    for (const TCase &Case : Cases)
        EXPECT_EQ(SettingEquivalent(Case.Kind, Case.Panel, Case.Rate), Case.Shown) << Case.Panel;
}

TEST(SplitOptions, OutputJobsAndModes)
{
    const TSplitCommand Defaults = Parse({"a.wav", "b.wav"});
    ASSERT_EQ(Defaults.Action, TSplitCommand::TAction::Run);
    EXPECT_EQ(Defaults.Options.OutDir, "MakedFile");
    EXPECT_GE(Defaults.Options.Jobs, 1);
    EXPECT_FALSE(Defaults.Options.List || Defaults.Options.Json || Defaults.Options.Normalise);
    EXPECT_EQ(Defaults.Options.Files, (QByteArrayList{"a.wav", "b.wav"}));

    const TSplitCommand Given = Parse({"--out", "pieces", "-j", "3", "--json", "--normalise", "a.wav"});
    ASSERT_EQ(Given.Action, TSplitCommand::TAction::Run);
    EXPECT_EQ(Given.Options.OutDir, "pieces");
    EXPECT_EQ(Given.Options.Jobs, 3);
    // Names that are no UTF-8 come through the parser as the same bytes.
    const TSplitCommand Bytes = Parse({"--out", ArgumentText("o\xff"), ArgumentText("lat\xe9.wav")});
    EXPECT_EQ(Bytes.Options.OutDir, "o\xff");
    EXPECT_EQ(Bytes.Options.Files, QByteArrayList{"lat\xe9.wav"});
    EXPECT_TRUE(Given.Options.List); // --json lists too: it writes nothing
    EXPECT_TRUE(Given.Options.Json);
    EXPECT_TRUE(Given.Options.Normalise);

    const TSplitCommand Help = Parse({"--help"});
    EXPECT_EQ(Help.Action, TSplitCommand::TAction::Help);
    EXPECT_TRUE(Help.Text.contains("--no-sound-width <width>"));
    EXPECT_TRUE(Help.Text.contains("not capped"));
}

TEST(SplitOptions, NamesKeepTheirBytesAndArePrintedWithoutControls)
{
    struct TCase {
        QByteArray Name;
        QByteArray Shown;
    };
    const TCase Cases[] = {
        {"plain.wav", "plain.wav"},
        {"caf\xc3\xa9 \xf0\x9f\x8e\xb5.wav", "caf\xc3\xa9 \xf0\x9f\x8e\xb5.wav"},
        {"lat\xe9.wav", "lat\\xe9.wav"},
        // Overlong, a surrogate, beyond U+10FFFF, cut short.
        {"\xc0\xaf \xed\xa0\x80 \xf4\x90\x80\x80 \xe2\x82",
         "\\xc0\\xaf \\xed\\xa0\\x80 \\xf4\\x90\\x80\\x80 \\xe2\\x82"},
        // C0, DEL and C1 (CSI) controls.
        {"a\tb\x1b[2Jc\x7f\xc2\x9b", "a\\x09b\\x1b[2Jc\\x7f\\xc2\\x9b"},
    };
    for (const TCase &Case : Cases) {
        EXPECT_EQ(Printable(Case.Name), Case.Shown);
        EXPECT_EQ(ArgumentBytes(ArgumentText(Case.Name)), Case.Name) << Case.Shown.toStdString();
    }
}

TEST(SplitOptions, DefaultsInTheReadmeAreTheTablesOwn)
{
    QFile Readme(QStringLiteral(REDIVEV_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(Readme.open(QIODevice::ReadOnly));
    const QString Text = QString::fromUtf8(Readme.readAll());
    const QString Help = Parse({"--help"}).Text;
    // Every setting of the table, as the README's list of options and
    // --help show it: a level or a width with its unit and default, a
    // choice with its default named, a flag alone.
    for (const TSettingSpec &Setting : SettingTable) {
        SCOPED_TRACE(Setting.Option);
        const QString Option = QLatin1String(Setting.Option);
        const QString Unit = QLatin1String(Setting.Unit);
        QString Line, Entry;
        switch (Setting.Kind) {
        case TSettingKind::Level:
        case TSettingKind::Width:
            Line = QStringLiteral("\\n    --%1 %2 +default %3\\s").arg(Option, Unit.toUpper()).arg(Setting.Default);
            Entry = QStringLiteral("--%1 <%2>\\s+[^(]*\\(default %3\\)").arg(Option, Unit).arg(Setting.Default);
            break;
        case TSettingKind::Choice: {
            const std::string Default(SettingChoice(Setting, Setting.Default));
            Line = QStringLiteral("\\n    --%1 %2 +[^\\n]*\\b%3 \\(default\\)")
                       .arg(Option, Unit.toUpper(), QString::fromStdString(Default));
            Entry = QStringLiteral("--%1 <%2>\\s").arg(Option, Unit);
            break;
        }
        case TSettingKind::Flag:
            Line = QStringLiteral("\\n    --%1 +[a-z]").arg(Option);
            Entry = QStringLiteral("--%1\\s").arg(Option);
            break;
        }
        EXPECT_TRUE(QRegularExpression(Line).match(Text).hasMatch()) << Line.toStdString();
        EXPECT_TRUE(QRegularExpression(Entry).match(Help).hasMatch()) << Entry.toStdString();
    }
}
