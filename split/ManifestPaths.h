#pragma once
// How a manifest names files and speakers. A trainer reads the manifest
// from wherever it runs, so the paths are absolute, or relative to the
// manifest's own folder when asked; never relative to where the run was.
#include "split/BatchOptions.h"

#include <QByteArray>
#include <QByteArrayList>

// Path made absolute by name from the working folder; "." and ".."
// stay as they are, since a link may stand before a "..".
QByteArray AbsolutePath(const QByteArray &Path);

class TManifestPaths {
public:
    explicit TManifestPaths(const TBatchOptions &Batch);
    // Path as the manifest names it.
    QByteArray Of(const QByteArray &Path) const;

private:
    QByteArrayList FBase; // the parts of the manifest's folder; empty: absolute paths
};

// The name of the folder Levels above File (1: the folder it is in), from
// its absolute path with ".." taken away by name; empty when there is none.
QByteArray SpeakerFolder(const QByteArray &File, int Levels);
