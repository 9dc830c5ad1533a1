#pragma once
// Where the manifest goes: a file, standard output, or for Kaldi and
// lhotse a folder that gets their files. Each recording's lines are
// written with whole write calls as soon as it and those before it are
// done, so that a run killed at any moment leaves whole lines; Kaldi's,
// which its tools want sorted, are held and written sorted at the end.
#include "split/BatchOptions.h"
#include "split/ManifestLines.h"
#include "platform/FileIdentity.h"

#include <QByteArray>
#include <QByteArrayList>

#include <cstdio>
#include <vector>

class TManifestOutput {
public:
    TManifestOutput() = default;
    ~TManifestOutput();
    TManifestOutput(const TManifestOutput &) = delete;
    TManifestOutput &operator=(const TManifestOutput &) = delete;

    // Creates or empties the manifest's files (Out when no path is given);
    // an error message naming the path, or empty. A file that is one of
    // Inputs, the run's recordings, is left as it is and is the error.
    QByteArray Open(const TBatchOptions &Batch, std::FILE *Out, const std::vector<TFileIdentity> &Inputs);
    // An error message naming the file, or empty.
    QByteArray Write(const TManifestLines &Lines);
    // Writes what was held for sorting; an error message, or empty.
    QByteArray Finish();

private:
    QByteArray Create(const QByteArray &Path, const std::vector<TFileIdentity> &Inputs, int &Handle);
    QByteArray Append(std::size_t File, const QByteArray &Text);
    std::vector<int> FHandles;
    QByteArrayList FPaths;
    bool FOwned = false;  // the handles are ours to close
    bool FSorted = false; // lines held and written sorted by Finish
    std::vector<QByteArrayList> FHeld;
};
