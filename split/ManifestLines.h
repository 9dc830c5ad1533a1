#pragma once
// The lines of a manifest for one recording, in each format a trainer
// reads. Names are bytes, kept exact as the listings keep them.
#include "split/BatchOptions.h"
#include "split/CutRecording.h"

#include <QByteArray>
#include <QByteArrayList>

#include <cstdint>
#include <string>
#include <vector>

struct TManifestRecording {
    QByteArray File;    // the source, as the manifest names it
    QByteArray Name;    // its name in the run (TOutputPlace::Name)
    QByteArray Folder;  // where its pieces are, as the manifest names it
    QByteArray Speaker; // Kaldi's and lhotse's speaker; empty: the recording
    const TCutOutcome *Outcome = nullptr;
};

// The path of piece Index of a recording whose pieces are of the kind
// Container, in Folder: its name in Names (the file names the export gave
// the pieces), else its number name.
QByteArray PiecePath(const QByteArray &Folder, std::int32_t Index, TContainer Container,
                     const std::vector<std::string> &Names = {});

// The files a manifest of Format is made of, in the folder --manifest-out
// names; empty for the formats that are one file (or standard output).
QByteArrayList ManifestFileNames(TManifestFormat Format);

// What a manifest begins with: the CSV header, in the first shard only,
// so that the manifests of the shards concatenate to that of the whole.
QByteArray ManifestHeader(TManifestFormat Format, int ShardIndex);

struct TManifestLines {
    // One text for each of ManifestFileNames, or the one text of a
    // format that is one file.
    QByteArrayList Parts;
    QByteArray Error; // why the recording has no lines in this format
};

// Times are whole microseconds, the nearest, but an end never past the
// recording's (a piece's duration rounded down), so that a reader that adds
// offset and duration never reads past the end. nemo: {"audio_filepath",
// "duration"} of each piece, or with Listed (no piece written) of the
// source with the piece's "offset", and the recording's "sample_rate" and
// "channels". kaldi: segments, wav.scp, utt2spk, spk2utt (left empty:
// written from utt2spk once sorted), utt2dur and reco2dur lines; lhotse:
// recordings and supervisions, the pieces' (with Listed the source's and
// its areas'). csv, json: the listing's fields and the recording's rate,
// channels and frames, JSON one object a line.
TManifestLines ManifestLines(TManifestFormat Format, const TManifestRecording &Recording, bool Listed);

// A name as a Kaldi id: one field of a line split at whitespace, valid
// UTF-8, and free of the '!' that joins a speaker's id to its utterances',
// so that utterances sorted by id are sorted by speaker too. Whitespace
// (Unicode's too), control bytes, '!', '%' and bytes that are no part of
// UTF-8 are written %XX, each byte.
QByteArray KaldiId(const QByteArray &Name);

// Position at Rate (not 0) in whole microseconds: the nearest (a half
// up), or with Down rounded down.
std::int64_t MicrosOf(std::int64_t Position, std::uint32_t Rate, bool Down = false);
// The end of an area of Outcome in microseconds: the nearest, but never
// past the end of the recording.
std::int64_t EndMicros(std::int64_t Position, const TCutOutcome &Outcome);
// Microseconds as seconds with six decimals.
QByteArray MicroSeconds(std::int64_t Micro);
