#pragma once
// split_file, list_file and split_files: recordings through the code
// redivev-split runs for each of its inputs.
#include "split/BatchOptions.h"
#include "split/CutRecording.h"
#include "split/SplitOptions.h"

#include <QByteArray>
#include <QByteArrayList>

#include <vector>

struct TFileResult {
    TCutOutcome Outcome; // its Error says why the recording was not cut
    QByteArray Folder;   // where its pieces are (empty for a listing)
};

// Cuts File into Options.OutDir (below it with --keep-tree), or only
// detects with Options.List. Never raises.
TFileResult CutFile(const QByteArray &File, const TSplitOptions &Options);

struct TBatchFile {
    QByteArray Lines; // the recording's manifest lines
    QByteArray Error; // "FILE: why" (printable) when it has none
};

// Cuts Files into Options.OutDir as redivev-split cuts its list: folders
// decided for the whole list, no piece replacing one of the recordings,
// and for each its lines of a manifest of Format (one file: nemo, csv
// without its header, or json) with absolute paths. Never raises.
std::vector<TBatchFile> CutFiles(const QByteArrayList &Files, const TSplitOptions &Options, TManifestFormat Format);
