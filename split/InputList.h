#pragma once
// The recordings a run takes: those named as arguments, then those of
// --files-from, and of them the shard's share.
#include "split/BatchOptions.h"

#include <QByteArray>
#include <QByteArrayList>

#include <cstdio>
#include <optional>
#include <vector>

// The arguments followed by the names of Batch.FilesFrom, read from the
// file or standard input: one per line or, with Batch.NulSeparated, each
// ending with a NUL byte; empty entries (a blank line, the final separator)
// are none. Nothing, with one line on Err, when it cannot be read, or
// when it is no list a run could take: a name longer than any path (4095
// bytes), more than 16777216 names, or more than 1 GiB in all (an endless
// device or pipe), each found while only the names so far are held.
std::optional<QByteArrayList> AllInputs(const QByteArrayList &Arguments, const TBatchOptions &Batch, std::FILE *Err);

// The positions in a list of Count whose remainder by ShardCount is
// ShardIndex, in order: the shards of one list share it out with no
// position in two of them and none left out.
std::vector<qsizetype> ShardPositions(qsizetype Count, int ShardIndex, int ShardCount);
