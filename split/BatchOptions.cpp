#include "split/BatchOptions.h"

#include "split/NameBytes.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

QString Option(const char *Name)
{
    return QString::fromLatin1(Name);
}

QString ReadShard(const QString &Text, TBatchOptions &Batch)
{
    static const QRegularExpression Form(QStringLiteral("^([0-9]{1,9})/([0-9]{1,9})$"));
    const QRegularExpressionMatch Match = Form.match(Text);
    if (Match.hasMatch()) {
        const int Index = Match.captured(1).toInt();
        const int Count = Match.captured(2).toInt();
        if (Count >= 1 && Index < Count) {
            Batch.ShardIndex = Index;
            Batch.ShardCount = Count;
            Batch.Sharded = true;
            return {};
        }
    }
    return QStringLiteral("--shard: \"%1\" is no shard; give I/N, the 0-based shard I of N (e.g. 0/4)").arg(Text);
}

QString ReadManifest(const QString &Text, TBatchOptions &Batch)
{
    const struct {
        const char *Name;
        TManifestFormat Format;
    } Formats[] = {{"nemo", TManifestFormat::Nemo},
                   {"kaldi", TManifestFormat::Kaldi},
                   {"lhotse", TManifestFormat::Lhotse},
                   {"csv", TManifestFormat::Csv},
                   {"json", TManifestFormat::Json}};
    for (const auto &Format : Formats)
        if (Text == QLatin1String(Format.Name)) {
            Batch.Manifest = Format.Format;
            return {};
        }
    return QStringLiteral("--manifest: \"%1\" is no manifest format; give nemo, kaldi, lhotse, csv or json").arg(Text);
}

QString ReadManifestNames(const QCommandLineParser &Parser, TBatchOptions &Batch)
{
    if (Parser.isSet(Option("manifest-paths"))) {
        const QString Form = Parser.value(Option("manifest-paths"));
        if (Form != QLatin1String("absolute") && Form != QLatin1String("relative"))
            return QStringLiteral("--manifest-paths: \"%1\" is no form of path; give absolute or relative").arg(Form);
        if (Batch.Manifest == TManifestFormat::None)
            return QStringLiteral("--manifest-paths: give --manifest FORMAT too");
        Batch.RelativePaths = Form == QLatin1String("relative");
        if (Batch.RelativePaths && Batch.ManifestOut.isEmpty())
            return QStringLiteral("--manifest-paths relative: give --manifest-out, whose folder the paths start from");
    }
    if (Parser.isSet(Option("speaker-from"))) {
        bool Number = false;
        Batch.SpeakerFrom = Parser.value(Option("speaker-from")).toInt(&Number);
        if (!Number || Batch.SpeakerFrom < 1 || Batch.SpeakerFrom > 64)
            return QStringLiteral("--speaker-from: \"%1\" is no count of folders; give 1 for the folder a "
                                  "recording is in, 2 for the one above it, ...")
                .arg(Parser.value(Option("speaker-from")));
        if (Batch.Manifest != TManifestFormat::Kaldi && Batch.Manifest != TManifestFormat::Lhotse)
            return QStringLiteral("--speaker-from: only kaldi and lhotse manifests name speakers; give --manifest "
                                  "kaldi or lhotse");
    }
    return {};
}

} // namespace

void DefineBatchOptions(QCommandLineParser &Parser)
{
    Parser.addOption({Option("files-from"),
                      Option("Also cut the recordings named in FILE, one per line (- reads standard input)."),
                      Option("file")});
    Parser.addOption({Option("0"), Option("--files-from's names end with a NUL byte, not a line break.")});
    Parser.addOption({Option("keep-tree"),
                      Option("Put each recording's pieces in OUT/<its path below ROOT, without the extension>/; "
                             "a recording outside ROOT fails."),
                      Option("root")});
    Parser.addOption({Option("shard"),
                      Option("Cut only the recordings whose position in the list, counted from 0, is I modulo N; "
                             "--manifest-out's folder is marked with N, and one marked with another N refused."),
                      Option("I/N")});
    Parser.addOption({Option("shard-by"),
                      Option("How --shard shares the list out: modulo (position I modulo N, the default), "
                             "blocks (N blocks of the list, of equal counts) or hours (N blocks of equal hours, "
                             "from the recordings' headers); the manifests of blocks concatenate in list order."),
                      Option("kind")});
    Parser.addOption({Option("skip-done"),
                      Option("Skip a recording whose folder an earlier run completed with the same settings, "
                             "while every file its record names is there as written.")});
    Parser.addOption({Option("manifest"),
                      Option("Write a manifest of the pieces: nemo (JSON lines), kaldi (a data folder), "
                             "lhotse (recordings and supervisions as JSON lines), csv or json (JSON lines)."),
                      Option("format")});
    Parser.addOption({Option("manifest-out"),
                      Option("Where the manifest goes (default standard output; for kaldi and lhotse a folder)."),
                      Option("path")});
    Parser.addOption({Option("manifest-paths"),
                      Option("Name files in the manifest by absolute paths (absolute, the default) or by paths "
                             "relative to --manifest-out's folder (relative)."),
                      Option("form")});
    Parser.addOption({Option("speaker-from"),
                      Option("In kaldi and lhotse manifests, the speaker of a recording is the name of the "
                             "folder N levels above it (1: the folder it is in); default: the recording."),
                      Option("N")});
}

QString ReadBatchOptions(const QCommandLineParser &Parser, bool List, bool Json, TBatchOptions &Batch)
{
    if (Parser.isSet(Option("files-from"))) {
        Batch.FilesFrom = ArgumentBytes(Parser.value(Option("files-from")));
        if (Batch.FilesFrom.isEmpty())
            return QStringLiteral("--files-from: give a file of names, or - for standard input");
    }
    Batch.NulSeparated = Parser.isSet(Option("0"));
    if (Batch.NulSeparated && Batch.FilesFrom.isEmpty())
        return QStringLiteral("-0: give --files-from too; -0 says how its names are separated");
    if (Parser.isSet(Option("keep-tree"))) {
        Batch.KeepTree = ArgumentBytes(Parser.value(Option("keep-tree")));
        if (Batch.KeepTree.isEmpty())
            return QStringLiteral("--keep-tree: give the folder the recordings' paths are taken below");
    }
    if (Parser.isSet(Option("shard"))) {
        const QString Error = ReadShard(Parser.value(Option("shard")), Batch);
        if (!Error.isEmpty())
            return Error;
    }
    if (Parser.isSet(Option("shard-by"))) {
        const QString By = Parser.value(Option("shard-by"));
        if (By == QLatin1String("blocks"))
            Batch.ShardBy = TShardBy::Blocks;
        else if (By == QLatin1String("hours"))
            Batch.ShardBy = TShardBy::Hours;
        else if (By != QLatin1String("modulo"))
            return QStringLiteral("--shard-by: \"%1\" is no way to share the list; give modulo, blocks or hours")
                .arg(By);
        if (!Batch.Sharded)
            return QStringLiteral("--shard-by: give --shard I/N too");
    }
    Batch.SkipDone = Parser.isSet(Option("skip-done"));
    if (Batch.SkipDone && List)
        return QStringLiteral("--skip-done: a listing writes no folder to skip; leave out --list or --json");
    if (Parser.isSet(Option("manifest"))) {
        const QString Error = ReadManifest(Parser.value(Option("manifest")), Batch);
        if (!Error.isEmpty())
            return Error;
        if (Json)
            return QStringLiteral("--json and --manifest both say what to print; give one of them");
    }
    if (Parser.isSet(Option("manifest-out"))) {
        if (Batch.Manifest == TManifestFormat::None)
            return QStringLiteral("--manifest-out: give --manifest FORMAT too");
        Batch.ManifestOut = ArgumentBytes(Parser.value(Option("manifest-out")));
        if (Batch.ManifestOut.isEmpty())
            return QStringLiteral("--manifest-out: give a path");
    }
    if (Batch.Manifest == TManifestFormat::Kaldi && Batch.ManifestOut.isEmpty())
        return QStringLiteral("--manifest kaldi: give --manifest-out DIR, the folder that gets segments and wav.scp");
    if (Batch.Manifest == TManifestFormat::Lhotse && Batch.ManifestOut.isEmpty())
        return QStringLiteral("--manifest lhotse: give --manifest-out DIR, the folder that gets recordings.jsonl "
                              "and supervisions.jsonl");
    return ReadManifestNames(Parser, Batch);
}
