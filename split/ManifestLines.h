#pragma once
// The lines of a manifest for one recording, in each format a trainer
// reads. Names are bytes, kept exact as the listings keep them.
#include "split/BatchOptions.h"
#include "split/CutRecording.h"

#include <QByteArray>

#include <cstdint>
#include <string>
#include <vector>

struct TManifestRecording {
    QByteArray File;   // the source, as given
    QByteArray Name;   // its name in the run (TOutputPlace::Name)
    QByteArray Folder; // where its pieces are
    const TCutOutcome *Outcome = nullptr;
};

// The path of piece Index of a recording whose pieces are of the kind
// Container, in Folder: its name in Names (the file names the export gave
// the pieces), else its number name.
QByteArray PiecePath(const QByteArray &Folder, std::int32_t Index, TContainer Container,
                     const std::vector<std::string> &Names = {});

// What a manifest begins with: the CSV header, in the first shard only,
// so that the manifests of the shards concatenate to that of the whole.
QByteArray ManifestHeader(TManifestFormat Format, int ShardIndex);

struct TManifestLines {
    QByteArray Main;   // one line per piece
    QByteArray WavScp; // Kaldi's line for the recording; empty otherwise
    QByteArray Error;  // why the recording has no lines in this format
};

// nemo: {"audio_filepath", "duration"} of each piece, or with Listed (no
// piece written) of the source with the piece's "offset". kaldi: segments
// lines "<name>-<index> <name> <start> <end>" in seconds and the wav.scp
// line "<name> <file>", with whitespace, control bytes and % in the name
// written %XX. csv, json: the listing's fields, JSON one object a line.
TManifestLines ManifestLines(TManifestFormat Format, const TManifestRecording &Recording, bool Listed);
