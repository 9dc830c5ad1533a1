#pragma once
// Levels measured over a short window instead of a single sample: the RMS
// of the Width positions around a position, of the exact levels a single
// sample has (SampleLevels.h), the loudest channel's. White noise whose RMS
// is far below a threshold still has single samples above it; its window
// RMS stays near its floor.
#include "engine/DetectionProgress.h"
#include "engine/MeanSquare.h"
#include "engine/SampleLevels.h"
#include "engine/SampleView.h"
#include "engine/SquarePrefix.h"
#include "engine/TrimArea.h"
#include "engine/TrimScan.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <type_traits>
#include <vector>

// The window of position J is J - Width/2 .. J - Width/2 + Width - 1, cut
// at the ends of the recording; its level is the mean square of its levels
// (MeanSquare.h). Integer sums are exact, so a level does not depend on the
// order positions are asked in. A step to a near position costs a step per
// position moved; a jump costs at most the cost of a fixed stretch on
// integer recordings (SquarePrefix.h), and a new sum of the window on float
// ones. Float sums are doubles, summed afresh after Width steps and
// whenever a removed square dwarfs what remains, so rounding never builds
// up; a float level of 2^480 or more (far beyond any recording's full
// scale, or not finite) makes its window as loud as can be, so that no sum
// overflows.
template <class TCodec>
class TWindowLevels {
    static constexpr bool Float = std::is_floating_point_v<typename TCodec::TLevel>;
    static constexpr double Unmeasured = 0x1p480;

public:
    using TSum = std::conditional_t<Float, double, TWideSum>;
    using TLevel = TMeanSquare<TSum>;

    TWindowLevels(const std::uint8_t *Data, int Channels, std::int64_t N, std::int64_t Width)
        : Data(Data), Channels(Channels), N(N), Width(std::max<std::int64_t>(Width, 1)),
          Sums(std::size_t(Channels)), NotFinite(std::size_t(Channels))
    {
        if constexpr (!Float)
            if (this->Width > TSquarePrefix<TCodec>::Block)
                Prefix = std::make_unique<TSquarePrefix<TCodec>>(Data, Channels, N);
    }

    TLevel operator()(std::int64_t J)
    {
        MoveTo(J - Width / 2);
        TLevel Level{*std::max_element(Sums.begin(), Sums.end()),
                     std::min(Low + Width, N) - std::max<std::int64_t>(Low, 0)};
        if constexpr (Float)
            if (*std::max_element(NotFinite.begin(), NotFinite.end()) > 0)
                Level.Sum = std::numeric_limits<TSum>::infinity();
        return Level;
    }

    // The loudest level of First .. First + TrimScanBlock - 1.
    TLevel Loudest(std::int64_t First)
    {
        TLevel Top = (*this)(First);
        for (std::int64_t J = First + 1; J < First + TrimScanBlock; ++J)
            Top = std::max(Top, (*this)(J));
        return Top;
    }

    // A panel level as the windows' levels are compared with it.
    static TLevel FromPanel(std::int64_t Level) { return SquaredThreshold<TSum>(TCodec::FromPanel(Level)); }

private:
    void Add(std::int64_t Pos, int Sign)
    {
        if (Pos < 0 || Pos >= N)
            return;
        for (int Ch = 0; Ch < Channels; ++Ch) {
            if constexpr (Float) {
                const double Level = TCodec::Magnitude(Data + (Pos * Channels + Ch) * TCodec::Bytes);
                if (!(Level < Unmeasured)) {
                    NotFinite[std::size_t(Ch)] += Sign;
                    continue;
                }
                double &Sum = Sums[std::size_t(Ch)];
                Sum += Sign * Level * Level;
                if (Sign < 0 && Level * Level > Sum * 1024)
                    Stale = true;
            } else {
                Sums[std::size_t(Ch)] += Sign * TSquarePrefix<TCodec>::Square(Data, Channels, Pos, Ch);
            }
        }
    }

    void MoveTo(std::int64_t NewLow)
    {
        const std::int64_t Distance = NewLow > Low ? NewLow - Low : Low - NewLow;
        const std::int64_t StepMost = Prefix ? TSquarePrefix<TCodec>::Block : Width;
        if (Filled && !Stale && Distance < StepMost && (!Float || Steps + Distance < Width)) {
            Steps += Distance;
            for (; Low < NewLow; ++Low) {
                Add(Low, -1);
                Add(Low + Width, 1);
            }
            for (; Low > NewLow; --Low) {
                Add(Low + Width - 1, -1);
                Add(Low - 1, 1);
            }
            if (!Stale)
                return;
        }
        Refill(NewLow);
    }

    void Refill(std::int64_t NewLow)
    {
        Low = NewLow;
        Steps = 0;
        Filled = true;
        const std::int64_t First = std::max<std::int64_t>(Low, 0), End = std::min(Low + Width, N);
        if constexpr (!Float) {
            if (Prefix) {
                for (int Ch = 0; Ch < Channels; ++Ch)
                    Sums[std::size_t(Ch)] = Prefix->Before(End, Ch) - Prefix->Before(First, Ch);
                return;
            }
        }
        std::fill(Sums.begin(), Sums.end(), 0);
        std::fill(NotFinite.begin(), NotFinite.end(), 0);
        for (std::int64_t Pos = First; Pos < End; ++Pos)
            Add(Pos, 1);
        Stale = false;
    }

    const std::uint8_t *Data;
    int Channels;
    std::int64_t N;
    std::int64_t Width;
    std::vector<TSum> Sums;              // per channel, over Low .. Low + Width - 1 within the recording
    std::vector<std::int64_t> NotFinite; // per channel, float samples in the window of Unmeasured levels
    std::unique_ptr<TSquarePrefix<TCodec>> Prefix;
    std::int64_t Low = 0;
    std::int64_t Steps = 0; // since the last fresh sum
    bool Filled = false;
    bool Stale = false;
};

// Detection as DetectTrimAreas runs it, with each level read over
// Settings.LevelWindow positions. N is the recording's frame count (> 0).
void ScanWindowedLevels(const TSampleView &Recording, std::int64_t N, const TTrimSettings &Settings,
                        std::vector<TTrimArea> &Areas, std::int32_t &Count, const TDetectionProgress &Progress);
