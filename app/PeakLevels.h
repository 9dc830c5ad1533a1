#pragma once
// The lowest and highest level the view draws for each channel over blocks
// of frames, kept in ever coarser tiers (each block of a tier spans Fan
// blocks of the tier below), so that the envelope of any stretch, however
// long, is found from a bounded number of entries and at most two partial
// blocks of samples. Built once per loaded recording, by reading every
// sample once; a long one on another thread, while the view draws the
// levels read so far.
#include "app/LevelScan.h"
#include "engine/SampleFormat.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TPeakLevels {
public:
    // 512: a 5 GiB recording's finest tier takes 42 MB.
    static constexpr std::int64_t BlockFrames = 512;
    static constexpr std::int64_t Fan = 16;
    // Threads reading at most: memory, not the processors, limits beyond.
    static constexpr std::int64_t Workers = 4;

    // Recording must be in a format EncodingOf reads; its data block must
    // outlive this object and stay unchanged (rebuild after changing it).
    explicit TPeakLevels(const TSampleView &Recording);
    // The same, but nothing is read before Build.
    struct TDeferred {};
    TPeakLevels(const TSampleView &Recording, TDeferred);

    // Reads the samples, on any one thread (and helpers of its own, one
    // per further processor, up to Workers in all), while others call
    // Range: Stop is asked between blocks, Progress (0..1) told now and
    // then. True when every level has been read.
    bool Build(const std::atomic<bool> &Stop, const std::function<void(double)> &Progress);
    // Every level read: Range covers the whole recording.
    bool Complete() const { return FComplete.load(std::memory_order_acquire); }
    // Frames from the start whose levels Range gives so far.
    std::int64_t ReadFrames() const;

    // Whether this was built from Recording's data block.
    bool Describes(const TSampleView &Recording) const;

    std::int64_t Frames() const { return FFrames; }
    int Channels() const { return FChannels; }

    // The envelope of Channel over frames First .. Last - 1, each sample at
    // exactly the level the view draws it; First < Last <= Frames(). While
    // the levels are still read, only of the frames read so far: Low above
    // High when none of them is.
    TLevelRange Range(int Channel, std::int64_t First, std::int64_t Last) const;

private:
    TLevelRange Samples(int Channel, std::int64_t First, std::int64_t Last) const;
    // Tier 0's blocks Block .. Until - 1, of every channel.
    void ReadBlocks(std::int64_t Block, std::int64_t Until);
    void BuildTiers();

    TSampleView FRecording;
    TSampleEncoding FEncoding;
    int FChannels;
    std::int64_t FFrames;
    std::int64_t FFrameBytes;
    const TLevelRange *Tier(std::size_t K) const { return K == 0 ? FBase.get() : FTiers[K - 1].data(); }

    // Tier k's [Block * FChannels + Channel], a block of tier k spanning
    // BlockFrames * Fan^k frames (the last one of a tier fewer): FBase is
    // tier 0 (FBaseSize entries, left unset until read: a long recording's
    // tens of megabytes are not cleared first), read block by block, FTiers
    // the coarser ones, made after it.
    std::unique_ptr<TLevelRange[]> FBase;
    std::size_t FBaseSize = 0;
    std::vector<std::vector<TLevelRange>> FTiers;
    std::atomic<std::int64_t> FReadBlocks{0};
    std::atomic<bool> FComplete{false};
};
