#pragma once
// Where the manifest goes: a file, standard output, or for Kaldi a folder
// that gets "segments" and "wav.scp". Each recording's lines are written
// with whole write calls as soon as it and those before it are done, so
// that a run killed at any moment leaves whole lines.
#include "split/BatchOptions.h"
#include "split/ManifestLines.h"
#include "platform/FileIdentity.h"

#include <QByteArray>

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

private:
    QByteArray Create(const QByteArray &Path, const std::vector<TFileIdentity> &Inputs, int &Handle);
    QByteArray Append(int Handle, const QByteArray &Path, const QByteArray &Text);
    int FMain = -1;
    int FWavScp = -1;
    bool FOwnMain = false;
    QByteArray FMainPath;
    QByteArray FWavScpPath;
};
