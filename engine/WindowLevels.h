#pragma once
// Levels measured over a short window instead of a single sample: the RMS
// of the Width positions around a position, on the 16-bit scale, the
// loudest channel's. White noise whose RMS is far below a threshold still
// has single samples above it; its window RMS stays near its floor.
#include "engine/DetectionProgress.h"
#include "engine/SampleLevels.h"
#include "engine/SampleView.h"
#include "engine/TrimArea.h"
#include "engine/TrimScan.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// A sample's magnitude carried to the 16-bit scale, in whole steps; beyond
// full scale (floats, and a float that is not a number) counts as full
// scale.
template <class TCodec>
std::int64_t Magnitude16(const std::uint8_t *At)
{
    const double Magnitude = double(TCodec::Magnitude(At)) / double(TCodec::FromPanel(1));
    return std::int64_t(std::min(Magnitude, 32768.0));
}

// The window of position J is J - Width/2 .. J - Width/2 + Width - 1, cut
// at the ends of the recording. Sums of squares are kept exactly in
// integers, so a level does not depend on the order positions are asked
// in; the next or previous position costs one step, any other a new sum.
template <class TCodec>
class TWindowLevels {
public:
    TWindowLevels(const std::uint8_t *Data, int Channels, std::int64_t N, std::int64_t Width)
        : Data(Data), Channels(Channels), N(N), Width(std::max<std::int64_t>(Width, 1)), Sums(std::size_t(Channels))
    {
    }

    double operator()(std::int64_t J)
    {
        MoveTo(J - Width / 2);
        const std::int64_t Count = std::min(Low + Width, N) - std::max<std::int64_t>(Low, 0);
        const std::int64_t Loudest = *std::max_element(Sums.begin(), Sums.end());
        return std::sqrt(double(Loudest) / double(Count));
    }

    // The loudest level of First .. First + TrimScanBlock - 1.
    double Loudest(std::int64_t First)
    {
        double Top = 0;
        for (std::int64_t J = First; J < First + TrimScanBlock; ++J)
            Top = std::max(Top, (*this)(J));
        return Top;
    }

private:
    std::int64_t Square(std::int64_t Pos, int Ch) const
    {
        const std::int64_t Level = Magnitude16<TCodec>(Data + (Pos * Channels + Ch) * TCodec::Bytes);
        return Level * Level;
    }

    void Add(std::int64_t Pos, std::int64_t Sign)
    {
        if (Pos < 0 || Pos >= N)
            return;
        for (int Ch = 0; Ch < Channels; ++Ch)
            Sums[std::size_t(Ch)] += Sign * Square(Pos, Ch);
    }

    void MoveTo(std::int64_t NewLow)
    {
        if (Filled && NewLow > Low && NewLow - Low < Width) {
            for (; Low < NewLow; ++Low) {
                Add(Low, -1);
                Add(Low + Width, 1);
            }
            return;
        }
        if (Filled && NewLow < Low && Low - NewLow < Width) {
            for (; Low > NewLow; --Low) {
                Add(Low + Width - 1, -1);
                Add(Low - 1, 1);
            }
            return;
        }
        if (Filled && NewLow == Low)
            return;
        std::fill(Sums.begin(), Sums.end(), 0);
        Low = NewLow;
        for (std::int64_t Pos = std::max<std::int64_t>(Low, 0); Pos < std::min(Low + Width, N); ++Pos)
            Add(Pos, 1);
        Filled = true;
    }

    const std::uint8_t *Data;
    int Channels;
    std::int64_t N;
    std::int64_t Width;
    std::vector<std::int64_t> Sums; // per channel, over Low .. Low + Width - 1 within the recording
    std::int64_t Low = 0;
    bool Filled = false;
};

// Detection as DetectTrimAreas runs it, with each level read over
// Settings.LevelWindow positions. N is the recording's frame count (> 0).
void ScanWindowedLevels(const TSampleView &Recording, std::int64_t N, const TTrimSettings &Settings,
                        std::vector<TTrimArea> &Areas, std::int32_t &Count, const TDetectionProgress &Progress);
