#include "split/ShardShare.h"

#include "split/InputList.h"
#include "split/RecordingFacts.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include <sys/stat.h>

namespace {

double SecondsOf(const QByteArray &File)
{
    QByteArray Error;
    const std::optional<TRecordingFacts> Facts = ReadRecordingFacts(File, Error);
    if (!Facts || Facts->Rate == 0)
        return 0;
    if (Facts->Frames >= 0)
        return double(Facts->Frames) / Facts->Rate;
    struct stat Info {};
    const double Bytes = ::stat(File.constData(), &Info) == 0 ? double(Info.st_size) : 0;
    return Bytes * 2 / (double(Facts->Rate) * std::max(Facts->Channels, 1) * 2);
}

} // namespace

std::vector<int> BlockShards(const std::vector<double> &Weights, int Count)
{
    const double Total = std::accumulate(Weights.begin(), Weights.end(), 0.0);
    std::vector<int> Shards(Weights.size());
    double Before = 0;
    for (std::size_t I = 0; I < Weights.size(); ++I) {
        // The middle of the recording, or of its place in the list.
        const double Middle = Total > 0 ? (Before + Weights[I] / 2) / Total : (double(I) + 0.5) / double(Weights.size());
        Shards[I] = std::clamp(int(std::floor(Middle * Count)), 0, Count - 1);
        Before += Weights[I];
    }
    return Shards;
}

std::vector<qsizetype> ShardShare(const QByteArrayList &Files, const TBatchOptions &Batch)
{
    if (Batch.ShardBy == TShardBy::Modulo)
        return ShardPositions(Files.size(), Batch.ShardIndex, Batch.ShardCount);
    std::vector<double> Weights(std::size_t(Files.size()), Batch.ShardBy == TShardBy::Blocks ? 1.0 : 0.0);
    if (Batch.ShardBy == TShardBy::Hours)
        for (qsizetype I = 0; I < Files.size(); ++I)
            Weights[std::size_t(I)] = SecondsOf(Files[I]);
    const std::vector<int> Shards = BlockShards(Weights, Batch.ShardCount);
    std::vector<qsizetype> Positions;
    for (std::size_t I = 0; I < Shards.size(); ++I)
        if (Shards[I] == Batch.ShardIndex)
            Positions.push_back(qsizetype(I));
    return Positions;
}
