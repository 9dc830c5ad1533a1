#pragma once
// An upper bound of the sum of squared levels over any stretch of an
// integer recording, at a cost that does not grow with the stretch: sums
// over groups of Group positions, added up in bulk (a loop the compiler
// runs many samples at a time) as far as the stretches asked reach, from
// which a stretch's bound is the sum of the groups it touches. A level
// window's scan passes a quiet block on one such bound instead of
// reading its windows. Kept only near where it is read: a stretch beyond
// what is kept starts the sums afresh there, so that what the scan jumps
// over is never read, and one before it starts them further back.
#include "engine/MeanSquare.h"

#include <algorithm>
#include <cstdint>
#include <vector>

template <class TCodec>
class TSquareGroups {
public:
    static constexpr std::int64_t Group = 16;

    // Bounds of stretches up to Reach positions stay exact in 64 bits:
    // the running sums may wrap around, but a bound, the difference of
    // two, is below 2^62.
    static constexpr bool Fits(std::int64_t Reach)
    {
        constexpr std::int64_t Top = std::int64_t(1) << (8 * TCodec::Bytes - 1 + (TCodec::Bytes == 1 ? 8 : 0));
        return TCodec::Bytes <= 3 && Reach + 2 * Group < (std::int64_t(1) << 62) / (Top * Top);
    }

    TSquareGroups(const std::uint8_t *Data, int Channels, std::int64_t N) : Data(Data), Channels(Channels), N(N)
    {
        Restart(0);
    }

    // The largest channel's sum over a stretch that holds First .. End - 1
    // (0 <= First < End <= N), End - First within the Reach Fits accepted.
    TWideSum Bound(std::int64_t First, std::int64_t End)
    {
        const std::int64_t Low = First / Group, High = (End + Group - 1) / Group;
        if (Low > Known())
            Restart(Low);
        else if (Low < Base)
            // Reading backwards: each restart reaches twice as far back,
            // so a long backward read costs a few sums of each group.
            Restart(std::max<std::int64_t>(0, Low - (Known() - Base)));
        Fill(High);
        std::uint64_t Top = 0;
        const std::size_t From = std::size_t((Low - Base) * Channels), To = std::size_t((High - Base) * Channels);
        for (int Ch = 0; Ch < Channels; ++Ch)
            Top = std::max(Top, Prefix[To + std::size_t(Ch)] - Prefix[From + std::size_t(Ch)]);
        if (Prefix.size() > std::size_t(4 * Keep * Channels) && Low - Base > 2 * Keep) {
            // What lies far behind is let go, a stretch at a time.
            Prefix.erase(Prefix.begin(), Prefix.begin() + std::ptrdiff_t(Keep * Channels));
            Base += Keep;
        }
        return TWideSum(Top);
    }

private:
    static constexpr std::int64_t Keep = 1 << 14; // groups

    std::int64_t Known() const { return Base + std::int64_t(Prefix.size()) / Channels - 1; }

    void Restart(std::int64_t Low)
    {
        Base = Low;
        Prefix.assign(std::size_t(Channels), 0);
    }

    // Makes the sums before every group boundary up to Last known.
    void Fill(std::int64_t Last)
    {
        const std::int64_t From = Known();
        if (Last <= From)
            return;
        Prefix.resize(std::size_t((Last - Base + 1) * Channels));
        switch (Channels) {
        case 1: return FillChannels<1>(From, Last);
        case 2: return FillChannels<2>(From, Last);
        default: return FillChannels<0>(From, Last);
        }
    }

    template <int FixedChannels>
    void FillChannels(std::int64_t From, std::int64_t Last)
    {
        const int Count = FixedChannels > 0 ? FixedChannels : Channels;
        for (std::int64_t G = From; G < Last; ++G) {
            const std::size_t At = std::size_t((G - Base) * Count);
            const std::int64_t First = G * Group, End = std::min(First + Group, N);
            for (int Ch = 0; Ch < Count; ++Ch) {
                std::uint64_t Sum = 0;
                for (std::int64_t Pos = First; Pos < End; ++Pos) {
                    const std::int64_t Level = TCodec::Signed(Data + (Pos * Count + Ch) * TCodec::Bytes);
                    Sum += std::uint64_t(Level * Level);
                }
                Prefix[At + std::size_t(Count + Ch)] = Prefix[At + std::size_t(Ch)] + Sum;
            }
        }
    }

    const std::uint8_t *Data;
    int Channels;
    std::int64_t N;
    std::int64_t Base = 0;                 // in groups
    std::vector<std::uint64_t> Prefix; // [(group - Base) * Channels + channel]: sum from Base's group on
};
