#pragma once
// Sums of squared integer sample levels over any stretch of a recording at
// a cost that does not grow with the stretch: sums from the start to every
// Block-th position, filled as far as they are asked for, plus at most
// Block / 2 samples from the nearest of them.
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

    // The sum over positions 0 .. Pos - 1 of channel Ch (0 <= Pos <= N).
    TWideSum Before(std::int64_t Pos, int Ch)
    {
        const std::int64_t Near = std::min((Pos + Block / 2) / Block * Block, N / Block * Block);
        Fill(Near / Block);
        TWideSum Sum = Prefix[std::size_t(Near / Block * Channels + Ch)];
        for (std::int64_t K = Near; K < Pos; ++K)
            Sum += Square(Data, Channels, K, Ch);
        for (std::int64_t K = Pos; K < Near; ++K)
            Sum -= Square(Data, Channels, K, Ch);
        return Sum;
    }

private:
    // Makes the sums before every boundary up to Last * Block known.
    void Fill(std::int64_t Last)
    {
        for (std::int64_t Known = std::int64_t(Prefix.size()) / Channels - 1; Known < Last; ++Known)
            for (int Ch = 0; Ch < Channels; ++Ch) {
                TWideSum Sum = Prefix[std::size_t(Known * Channels + Ch)];
                for (std::int64_t K = Known * Block; K < (Known + 1) * Block; ++K)
                    Sum += Square(Data, Channels, K, Ch);
                Prefix.push_back(Sum);
            }
    }

    const std::uint8_t *Data;
    int Channels;
    std::int64_t N;
    std::vector<TWideSum> Prefix; // [boundary * Channels + channel]
};
