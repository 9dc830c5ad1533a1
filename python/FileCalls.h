#pragma once
// split_file and list_file: one recording through the code redivev-split
// runs for each of its inputs.
#include "split/CutRecording.h"
#include "split/SplitOptions.h"

#include <QByteArray>

struct TFileResult {
    TCutOutcome Outcome; // its Error says why the recording was not cut
    QByteArray Folder;   // where its pieces are (empty for a listing)
};

// Cuts File into Options.OutDir (below it with --keep-tree), or only
// detects with Options.List. Never raises.
TFileResult CutFile(const QByteArray &File, const TSplitOptions &Options);
