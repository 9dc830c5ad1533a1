#pragma once
// The shard count of the manifests in a folder. The N runs of --shard I/N
// write their manifests side by side, to be concatenated; a manifest of
// another count among them repeats recordings or leaves some out, as when
// one task of an array job is run again alone and takes the array's size,
// now 1, for the count. So a sharded run marks the manifest's folder with
// its count (and how the list was shared out), and a run of another count
// or kind is refused while the folder holds anything beside that mark.
#include "platform/FolderWriter.h"

#include <QByteArray>

#include <memory>

// Hidden, and no name an export removes.
inline constexpr char ShardMarkName[] = ".redivev-shards";

class TShardMark {
public:
    // Claims the folder of ManifestPath (a file, or Kaldi's folder) for
    // the manifests of Count shards, shared out By ("hours", "blocks"; empty
    // by position modulo the count). Sharded says --shard was given: only
    // then is the folder made and marked; a run without it is checked as
    // a count of 1. A mark whose folder holds nothing else binds no one
    // and is replaced (or removed). An error message naming the folder,
    // or empty. The folder stays locked until Release or destruction, so
    // that no run of another count claims it before the manifest exists.
    QByteArray Claim(const QByteArray &ManifestPath, int Count, const QByteArray &By, bool Sharded,
                     const TFolderWait &Waiting);
    void Release() { FFolder.reset(); }

private:
    std::unique_ptr<TFolderWriter> FFolder;
};
