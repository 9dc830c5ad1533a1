#pragma once
// Where each recording of a run puts its pieces, and the name that stands
// for it in a manifest.
#include "split/SplitOptions.h"

#include <QByteArray>
#include <QByteArrayList>

#include <vector>

struct TOutputPlace {
    QByteArray Folder; // the pieces' folder
    // The recording's path below --keep-tree's root, else its file name,
    // without the extension of a recording: unique within a run.
    QByteArray Name;
    QByteArray Error; // why the recording gets no folder; empty when it does
};

// Without --keep-tree: the output folder itself for one recording, else a
// folder per recording named after its file. With it: OUT/<the path below
// the root>. Places are decided for the whole list, so that every shard of
// it agrees; of two recordings whose pieces would meet in one folder, the
// later gets an error instead (in a listing, which writes no folder, only
// for a Kaldi manifest, whose recordings need names of their own).
std::vector<TOutputPlace> OutputPlaces(const QByteArrayList &Files, const TSplitOptions &Options);
