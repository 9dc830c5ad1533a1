#pragma once
// The lowest and highest level the view draws for each channel over blocks
// of frames, kept in ever coarser tiers (each block of a tier spans Fan
// blocks of the tier below), so that the envelope of any stretch, however
// long, is found from a bounded number of entries and at most two partial
// blocks of samples. Built once per loaded recording, by reading every
// sample once.
#include "engine/SampleFormat.h"

#include <cstdint>
#include <vector>

// Levels as DrawnLevel gives them (app/SampleValues.h): -32768 .. 32768.
struct TLevelRange {
    std::int32_t Low;
    std::int32_t High;
};

class TPeakLevels {
public:
    static constexpr std::int64_t BlockFrames = 256;
    static constexpr std::int64_t Fan = 16;

    // Recording must be in a format EncodingOf reads; its data block must
    // outlive this object and stay unchanged (rebuild after changing it).
    explicit TPeakLevels(const TSampleView &Recording);

    // Whether this was built from Recording's data block.
    bool Describes(const TSampleView &Recording) const;

    std::int64_t Frames() const { return FFrames; }
    int Channels() const { return FChannels; }

    // The envelope of Channel over frames First .. Last - 1, each sample at
    // exactly the level the view draws it; First < Last <= Frames().
    TLevelRange Range(int Channel, std::int64_t First, std::int64_t Last) const;

private:
    TLevelRange Samples(int Channel, std::int64_t First, std::int64_t Last) const;

    TSampleView FRecording;
    TSampleEncoding FEncoding;
    int FChannels;
    std::int64_t FFrames;
    // FTiers[k][Block * FChannels + Channel], a block of tier k spanning
    // BlockFrames * Fan^k frames (the last one of a tier fewer).
    std::vector<std::vector<TLevelRange>> FTiers;
};
