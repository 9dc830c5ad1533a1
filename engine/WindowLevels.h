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
#include "engine/SquareGroups.h"
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
// order positions are asked in. A step to a position near one of the two
// windows kept costs a step per position moved; a jump costs at most the
// cost of a fixed stretch on integer recordings (SquarePrefix.h), and a new
// sum of the window on float ones. Float sums are doubles, summed afresh
// after sixteen widths of steps and whenever a removed square dwarfs what
// remains, so rounding never builds up; a float level of 2^480 or more
// (far beyond any recording's full scale, or not finite) makes its window
// as loud as can be, so that no sum overflows.
template <class TCodec>
class TWindowLevels {
    static constexpr bool Float = std::is_floating_point_v<typename TCodec::TLevel>;
    static constexpr double Unmeasured = 0x1p480;

public:
    using TSum = std::conditional_t<Float, double, TWideSum>;
    using TLevel = TMeanSquare<TSum>;

    TWindowLevels(const std::uint8_t *Data, int Channels, std::int64_t N, std::int64_t Width)
        : Data(Data), Channels(Channels), N(N), Width(std::max<std::int64_t>(Width, 1))
    {
        for (TCursor &Cursor : Cursors) {
            Cursor.Sums.resize(std::size_t(Channels));
            Cursor.NotFinite.resize(std::size_t(Channels));
        }
        if constexpr (!Float) {
            if (this->Width > TSquarePrefix<TCodec>::Block)
                Prefix = std::make_unique<TSquarePrefix<TCodec>>(Data, Channels, N);
            if constexpr (TSquareGroups<TCodec>::Fits(0))
                if (TSquareGroups<TCodec>::Fits(this->Width + TrimScanBlock))
                    Groups = std::make_unique<TSquareGroups<TCodec>>(Data, Channels, N);
        }
    }

    TLevel operator()(std::int64_t J)
    {
        const TCursor &Cursor = MoveTo(J - Width / 2);
        TLevel Level{*std::max_element(Cursor.Sums.begin(), Cursor.Sums.end()),
                     std::min(Cursor.Low + Width, N) - std::max<std::int64_t>(Cursor.Low, 0)};
        if constexpr (Float)
            if (*std::max_element(Cursor.NotFinite.begin(), Cursor.NotFinite.end()) > 0)
                Level.Sum = std::numeric_limits<TSum>::infinity();
        return Level;
    }

    // Where every level of a block is at most Quiet, Loudest may give an
    // upper bound of them instead of the loudest: the scan passes such a
    // block with one test either way, and a bound costs a sum over the
    // block's windows together, not a level at each position.
    void SetQuiet(TLevel Level)
    {
        Quiet = Level;
        HasQuiet = true;
    }

    // The loudest level of First .. First + TrimScanBlock - 1 (see SetQuiet).
    TLevel Loudest(std::int64_t First)
    {
        if constexpr (!Float) {
            const std::int64_t Low = First - Width / 2;
            if (Low >= 0 && Low + Width + TrimScanBlock - 1 <= N) {
                // Every window of the block lies inside the recording, so
                // all have Width positions and their sums compare as they
                // are. No window holds more than all of them together, nor
                // more than the groups of positions they touch: a bound
                // the scan reads without moving a window.
                if (HasQuiet && Groups) {
                    const TLevel Bound{Groups->Bound(Low, Low + Width + TrimScanBlock - 1), Width};
                    if (Bound <= Quiet)
                        return Bound;
                }
                TCursor &Cursor = MoveTo(Low);
                if (HasQuiet) {
                    TSum Together = 0;
                    for (int Ch = 0; Ch < Channels; ++Ch) {
                        TSum Sum = Cursor.Sums[std::size_t(Ch)];
                        for (std::int64_t Pos = Low + Width; Pos < Low + Width + TrimScanBlock - 1; ++Pos)
                            Sum += TSquarePrefix<TCodec>::Square(Data, Channels, Pos, Ch);
                        Together = std::max(Together, Sum);
                    }
                    const TLevel Bound{Together, Width};
                    if (Bound <= Quiet)
                        return Bound;
                }
                // Else the cursor slides over the block, reading each
                // window once.
                TSum Top = *std::max_element(Cursor.Sums.begin(), Cursor.Sums.end());
                for (std::int64_t Step = 1; Step < TrimScanBlock; ++Step) {
                    Add(Cursor, Cursor.Low, -1);
                    Add(Cursor, Cursor.Low + Width, 1);
                    ++Cursor.Low;
                    Top = std::max(Top, *std::max_element(Cursor.Sums.begin(), Cursor.Sums.end()));
                }
                Cursor.Steps += TrimScanBlock - 1;
                return TLevel{Top, Width};
            }
        }
        TLevel Top = (*this)(First);
        for (std::int64_t J = First + 1; J < First + TrimScanBlock; ++J)
            Top = std::max(Top, (*this)(J));
        return Top;
    }

    // How far from a position its level, or the loudest of a block from
    // there, may read samples: its window, the step of a kept window to
    // it, and the running sums' reach.
    std::int64_t Reach() const { return 2 * Width + 2 * TSquarePrefix<TCodec>::Block + TrimScanBlock; }

    // A panel level as the windows' levels are compared with it.
    static TLevel FromPanel(std::int64_t Level) { return SquaredThreshold<TSum>(TCodec::FromPanel(Level)); }

private:
    // A window kept summed as it moves. There are two: the scan goes on
    // reading near where it is while its edge searches read one place far
    // behind, again and again, which one window would sum afresh each time.
    struct TCursor {
        std::vector<TSum> Sums;              // per channel, over Low .. Low + Width - 1 within the recording
        std::vector<std::int64_t> NotFinite; // per channel, float samples in the window of Unmeasured levels
        std::int64_t Low = 0;
        std::int64_t Steps = 0; // since the last fresh sum
        std::int64_t Used = 0;  // when last read
        bool Filled = false;
        bool Stale = false;
    };

    void Add(TCursor &Cursor, std::int64_t Pos, int Sign)
    {
        if (Pos < 0 || Pos >= N)
            return;
        for (int Ch = 0; Ch < Channels; ++Ch) {
            if constexpr (Float) {
                const double Level = TCodec::Magnitude(Data + (Pos * Channels + Ch) * TCodec::Bytes);
                if (!(Level < Unmeasured)) {
                    Cursor.NotFinite[std::size_t(Ch)] += Sign;
                    continue;
                }
                double &Sum = Cursor.Sums[std::size_t(Ch)];
                Sum += Sign * Level * Level;
                if (Sign < 0 && Level * Level > Sum * 1024)
                    Cursor.Stale = true;
            } else {
                Cursor.Sums[std::size_t(Ch)] += Sign * TSquarePrefix<TCodec>::Square(Data, Channels, Pos, Ch);
            }
        }
    }

    // The cursor nearer NewLow moves there, a step at a time when that is
    // cheaper than a fresh sum; when neither is near, the one read longer
    // ago is summed afresh.
    TCursor &MoveTo(std::int64_t NewLow)
    {
        const auto DistanceOf = [NewLow](const TCursor &Cursor) {
            return Cursor.Filled ? (NewLow > Cursor.Low ? NewLow - Cursor.Low : Cursor.Low - NewLow)
                                 : std::numeric_limits<std::int64_t>::max();
        };
        const std::int64_t StepMost = Prefix ? TSquarePrefix<TCodec>::Block : Width;
        const bool SecondNearer = DistanceOf(Cursors[1]) < DistanceOf(Cursors[0]);
        TCursor &Near = Cursors[SecondNearer ? 1 : 0];
        const std::int64_t Distance = DistanceOf(Near);
        ++Reads;
        if (Distance < StepMost && !Near.Stale && (!Float || Near.Steps + Distance < 16 * Width)) {
            Near.Steps += Distance;
            Near.Used = Reads;
            for (; Near.Low < NewLow; ++Near.Low) {
                Add(Near, Near.Low, -1);
                Add(Near, Near.Low + Width, 1);
            }
            for (; Near.Low > NewLow; --Near.Low) {
                Add(Near, Near.Low + Width - 1, -1);
                Add(Near, Near.Low - 1, 1);
            }
            if (!Near.Stale)
                return Near;
            Refill(Near, NewLow);
            return Near;
        }
        TCursor &Old = Distance < StepMost ? Near : Cursors[Cursors[1].Used < Cursors[0].Used ? 1 : 0];
        Old.Used = Reads;
        Refill(Old, NewLow);
        return Old;
    }

    void Refill(TCursor &Cursor, std::int64_t NewLow)
    {
        Cursor.Low = NewLow;
        Cursor.Steps = 0;
        Cursor.Filled = true;
        Cursor.Stale = false;
        const std::int64_t First = std::max<std::int64_t>(NewLow, 0), End = std::min(NewLow + Width, N);
        if constexpr (!Float) {
            if (Prefix) {
                Prefix->Between(First, End, Width, Cursor.Sums);
                return;
            }
        }
        std::fill(Cursor.Sums.begin(), Cursor.Sums.end(), 0);
        std::fill(Cursor.NotFinite.begin(), Cursor.NotFinite.end(), 0);
        for (std::int64_t Pos = First; Pos < End; ++Pos)
            Add(Cursor, Pos, 1);
        Cursor.Stale = false;
    }

    const std::uint8_t *Data;
    int Channels;
    std::int64_t N;
    std::int64_t Width;
    TCursor Cursors[2];
    std::int64_t Reads = 0;
    std::unique_ptr<TSquarePrefix<TCodec>> Prefix;
    std::unique_ptr<TSquareGroups<TCodec>> Groups;
    TLevel Quiet{};
    bool HasQuiet = false;
};

// Detection as DetectTrimAreas runs it, with each level read over
// Settings.LevelWindow positions. N is the recording's frame count (> 0).
void ScanWindowedLevels(const TSampleView &Recording, std::int64_t N, const TTrimSettings &Settings,
                        std::vector<TTrimArea> &Areas, std::int32_t &Count, const TDetectionProgress &Progress);
