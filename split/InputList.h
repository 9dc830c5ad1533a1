#pragma once
// The recordings a run takes: those named as arguments, then those of
// --files-from, and of them the shard's share.
#include "split/BatchOptions.h"

#include <QByteArray>
#include <QByteArrayList>

#include <cstdio>
#include <optional>
#include <vector>

// The names in a list's text, one per line or, NulSeparated, ending with a
// NUL byte; empty entries (a blank line, the final separator) are none.
QByteArrayList NamesInList(const QByteArray &Text, bool NulSeparated);

// The arguments followed by the names of Batch.FilesFrom, read from the
// file or standard input. Nothing, with one line on Err, when it cannot
// be read.
std::optional<QByteArrayList> AllInputs(const QByteArrayList &Arguments, const TBatchOptions &Batch, std::FILE *Err);

// The positions in a list of Count whose remainder by ShardCount is
// ShardIndex, in order: the shards of one list share it out with no
// position in two of them and none left out.
std::vector<qsizetype> ShardPositions(qsizetype Count, int ShardIndex, int ShardCount);
