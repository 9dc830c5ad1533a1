#pragma once
// The options that make redivev-split one step of a larger job: where the
// list of recordings comes from, which share of it this run takes, where
// the pieces of each go, what a re-run may skip, and the manifest of the
// pieces for a trainer.
#include <QByteArray>
#include <QString>

class QCommandLineParser;

enum class TManifestFormat { None, Nemo, Kaldi, Lhotse, Csv, Json };

// How --shard shares the list out: position modulo the count; in blocks
// of the list, of equal counts or of equal hours of audio, whose
// manifests concatenate in the list's order.
enum class TShardBy { Modulo, Blocks, Hours };

struct TBatchOptions {
    QByteArray FilesFrom; // "-" is standard input; empty: none
    bool NulSeparated = false;
    QByteArray KeepTree; // the root of the inputs' tree; empty: flat
    int ShardIndex = 0;
    int ShardCount = 1;
    bool Sharded = false; // --shard was given, 0/1 too
    TShardBy ShardBy = TShardBy::Modulo;
    bool SkipDone = false;
    TManifestFormat Manifest = TManifestFormat::None;
    QByteArray ManifestOut; // empty: standard output
    // The manifest names files by paths relative to its own folder, not
    // absolute ones.
    bool RelativePaths = false;
    // The speaker of a recording in Kaldi's and lhotse's manifests: the
    // name of the folder this many levels above it; 0: the recording.
    int SpeakerFrom = 0;
};

void DefineBatchOptions(QCommandLineParser &Parser);

// Reads the batch options from a parser that has parsed; an error message
// naming the option when one is malformed or they do not go together. List
// and Json are the command's --list and --json.
QString ReadBatchOptions(const QCommandLineParser &Parser, bool List, bool Json, TBatchOptions &Batch);
