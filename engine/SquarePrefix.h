#pragma once
// Sums of squared integer sample levels over any stretch of a recording at
// a cost that does not grow with the stretch: sums from a base to every
// Block-th position after it, filled as far as they are asked for, plus at
// most Block / 2 samples from the nearest of them. A stretch far beyond
// what is filled, or before the base, starts them afresh at a new base, so
// a scan that skips most of a long recording does not read what it skips.
#include "engine/MeanSquare.h"

#include <algorithm>
#include <cstdint>
#include <vector>

template <class TCodec>
class TSquarePrefix {
public:
    static constexpr std::int64_t Block = 1024;

    TSquarePrefix(const std::uint8_t *Data, int Channels, std::int64_t N) : Data(Data), Channels(Channels), N(N)
    {
        Prefix.assign(std::size_t(Channels), 0);
    }

    static TWideSum Square(const std::uint8_t *Data, int Channels, std::int64_t Pos, int Ch)
    {
        const TWideSum Level = TCodec::Magnitude(Data + (Pos * Channels + Ch) * TCodec::Bytes);
        return Level * Level;
    }

    // Sums[Ch] becomes the sum over First .. End - 1 of channel Ch
    // (0 <= First <= End <= N). Reading afresh from a new base costs about
    // what a direct sum would: Reach is that sum's length.
    template <class TSums>
    void Between(std::int64_t First, std::int64_t End, std::int64_t Reach, TSums &Sums)
    {
        if (First < Base || End > Filled() + Reach + Block) {
            Base = First / Block * Block;
            Prefix.assign(std::size_t(Channels), 0);
        }
        for (int Ch = 0; Ch < Channels; ++Ch)
            Sums[std::size_t(Ch)] = Before(End, Ch) - Before(First, Ch);
    }

private:
    std::int64_t Filled() const { return Base + (std::int64_t(Prefix.size()) / Channels - 1) * Block; }

    // The sum over Base .. Pos - 1 of channel Ch (Base <= Pos <= N).
    TWideSum Before(std::int64_t Pos, int Ch)
    {
        const std::int64_t Boundaries = std::min((Pos - Base + Block / 2) / Block, (N - Base) / Block);
        const std::int64_t Near = Base + Boundaries * Block;
        Fill(Boundaries);
        TWideSum Sum = Prefix[std::size_t(Boundaries * Channels + Ch)];
        for (std::int64_t K = Near; K < Pos; ++K)
            Sum += Square(Data, Channels, K, Ch);
        for (std::int64_t K = Pos; K < Near; ++K)
            Sum -= Square(Data, Channels, K, Ch);
        return Sum;
    }

    // Makes the sums before every boundary up to Base + Last * Block known.
    void Fill(std::int64_t Last)
    {
        for (std::int64_t Known = std::int64_t(Prefix.size()) / Channels - 1; Known < Last; ++Known)
            for (int Ch = 0; Ch < Channels; ++Ch) {
                TWideSum Sum = Prefix[std::size_t(Known * Channels + Ch)];
                for (std::int64_t K = Base + Known * Block; K < Base + (Known + 1) * Block; ++K)
                    Sum += Square(Data, Channels, K, Ch);
                Prefix.push_back(Sum);
            }
    }

    const std::uint8_t *Data;
    int Channels;
    std::int64_t N;
    std::int64_t Base = 0;
    std::vector<TWideSum> Prefix; // [boundary * Channels + channel]: the sum over Base .. Base + boundary * Block - 1
};
