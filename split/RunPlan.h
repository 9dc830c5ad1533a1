#pragma once
// What a run reads and what it writes besides its pieces, checked against
// each other before anything is written: the manifest and the error report
// never replace a recording, a label file or the list of recordings, nor
// each other, nor go where a piece, the label file or the record of a
// folder of pieces would replace them. A clash is one line naming both
// files, and the run writes nothing.
#include "platform/FileIdentity.h"
#include "split/OutputPlaces.h"
#include "split/SplitOptions.h"

#include <QByteArray>
#include <QByteArrayList>

#include <vector>

struct TRunPlan {
    // The files the run reads, each with how the run names it ("a
    // recording of this run a.wav"); a name that is a link gives the link
    // too. No piece may replace any of them.
    std::vector<TFileIdentity> Reads;
    // The first clash, as a line without the program's name; empty when
    // there is none.
    QByteArray Clash;
};

// Files are the recordings (arguments, then --files-from's), Places their
// folders of pieces.
TRunPlan PlanRun(const QByteArrayList &Files, const std::vector<TOutputPlace> &Places, const TSplitOptions &Options);

// The files of the manifest as they are once opened, named for messages,
// so that no piece replaces one of them either.
std::vector<TFileIdentity> ManifestFiles(const TBatchOptions &Batch);
// Another file the run writes once open, named by the option that gave it.
std::vector<TFileIdentity> IdentitiesOfRunOutput(const QByteArray &Path, const QByteArray &Option);
