#pragma once
// The positions of the list a shard cuts, as --shard-by shares it out.
// Every run of the array computes the same shares from the same list, so
// none is cut twice and none left out.
#include "split/BatchOptions.h"

#include <QByteArrayList>

#include <vector>

// The positions of Files that shard Batch.ShardIndex of Batch.ShardCount
// cuts, in order. By hours, each recording weighs its length read from its
// headers (a file that cannot be read weighs nothing; a FLAC file whose
// header leaves its length open, its size as 16-bit samples at half the
// size); a block holds the recordings whose middle falls in its share of
// the whole, so blocks differ by at most about one recording.
std::vector<qsizetype> ShardShare(const QByteArrayList &Files, const TBatchOptions &Batch);

// The shard (0 to Count - 1) of each position of a list whose recordings
// weigh Weights, in contiguous blocks of about equal weight; of equal
// counts when everything weighs nothing.
std::vector<int> BlockShards(const std::vector<double> &Weights, int Count);
