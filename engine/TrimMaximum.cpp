#include "engine/TrimMaximum.h"

#include "engine/SampleFormat.h"
#include "engine/WindowLevels.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <stdexcept>

namespace {

// The quietest position of a range that moves only forward, read once: the
// candidates, every Hop-th position from First, wait in a queue of rising
// levels, so the front is the quietest in range (the latest among equals,
// which makes the longest piece). Candidates and not every position, so
// that a long fade-in keeps the queue short; a range with no candidate in
// it is read position by position.
template <class TLevels>
class TQuietest {
    using TLevel = typename TLevels::TLevel;

public:
    TQuietest(TLevels &Levels, std::int64_t First, std::int64_t Hop) : Levels(Levels), Next(First), Hop(Hop) {}

    std::int64_t In(std::int64_t Low, std::int64_t High)
    {
        for (; Next <= High; Next += Hop) {
            const TLevel Level = Levels(Next);
            while (!Queue.empty() && Queue.back().Level >= Level)
                Queue.pop_back();
            Queue.push_back({Next, Level});
        }
        while (!Queue.empty() && Queue.front().Pos < Low)
            Queue.pop_front();
        if (!Queue.empty() && Queue.front().Pos <= High)
            return Queue.front().Pos;
        std::int64_t Best = Low;
        TLevel BestLevel = Levels(Low);
        for (std::int64_t Pos = Low + 1; Pos <= High; ++Pos)
            if (const TLevel Level = Levels(Pos); Level <= BestLevel) {
                BestLevel = Level;
                Best = Pos;
            }
        return Best;
    }

private:
    struct TCandidate {
        std::int64_t Pos;
        TLevel Level;
    };
    TLevels &Levels;
    std::int64_t Next;
    std::int64_t Hop;
    std::deque<TCandidate> Queue;
};

// Levels of samples made as they are asked for: each read asks first.
template <class TLevels>
struct TAskingLevels {
    using TLevel = typename TLevels::TLevel;
    TLevel operator()(std::int64_t J)
    {
        Source.Need(J - Levels.Reach(), J + Levels.Reach());
        return Levels(J);
    }
    TLevels &Levels;
    const TSampleSource &Source;
};

// Narrows Low..High to the part within From..To, when they meet.
void Within(std::int64_t &Low, std::int64_t &High, std::int64_t From, std::int64_t To)
{
    if (std::max(Low, From) <= std::min(High, To)) {
        Low = std::max(Low, From);
        High = std::min(High, To);
    }
}

// Area cut into pieces of at most Maximum, appended to Pieces. Sound is the
// part of Area detection found, within its margins.
template <class TLevels>
void CutArea(TLevels &Levels, std::int64_t Width, TTrimArea Area, TTrimArea Sound, std::int64_t Maximum,
             std::int64_t Minimum, std::vector<TTrimArea> &Pieces)
{
    const std::int64_t Hop = std::max<std::int64_t>(1, Width / 8);
    TQuietest<TLevels> Quietest(Levels, Area.StartPos, Hop);
    const std::int64_t Shortest = std::max<std::int64_t>(Minimum, 0) + 1; // a kept piece is longer than Minimum
    const std::int64_t End = Area.EndPos;
    std::int64_t From = Area.StartPos;
    while (End - From > Maximum) {
        // Any rest longer than Minimum can be cut into pieces longer than it
        // when the maximum is twice that; a closer maximum leaves only the
        // fewest pieces, and the first must leave a rest the others can
        // still hold.
        std::int64_t Low = From + Shortest;
        std::int64_t High = std::min(From + Maximum, End - Shortest);
        if (Maximum / 2 < Shortest) {
            const std::int64_t Others = (End - From + Maximum - 1) / Maximum - 1;
            const std::int64_t Reserved = Others > (End - From) / Shortest ? End - From : Others * Shortest;
            Low = std::max(From + Shortest, End - Others * Maximum);
            High = std::min(From + Maximum, End - Reserved);
            if (Low > High) {
                // Too short for that many pieces above the minimum: the
                // maximum still holds.
                Low = std::max(From + std::min(Shortest, Maximum), End - Others * Maximum);
                High = From + Maximum;
            }
        }
        // A window reaching past the sound takes in the silence of the
        // margins or around it, and would draw every cut to the first and
        // last moments of the sound, or leave a piece of margin alone: a
        // cut stays where its window lies within the sound when any can, or
        // else inside the sound.
        Within(Low, High, Sound.StartPos + 1, Sound.EndPos - 1);
        Within(Low, High, Sound.StartPos + Width / 2, Sound.EndPos - (Width - Width / 2));
        const std::int64_t Cut = Quietest.In(Low, High);
        Pieces.push_back({From, Cut});
        From = Cut;
    }
    Pieces.push_back({From, End});
}

} // namespace

void LimitTrimAreas(const TSampleView &Recording, std::int64_t N, std::int64_t MaximumSize, std::int64_t MinimumSize,
                    std::vector<TTrimArea> &Areas, std::int32_t &Count, const std::vector<TTrimArea> &Sound)
{
    if (MaximumSize <= 0 || Count <= 0)
        return;
    // The fewest pieces there can be, counted before any is made: a list
    // the window cannot count is refused at once, not after the memory for
    // it is gone.
    std::int64_t Fewest = 0;
    for (std::int32_t I = 0; I < Count; ++I) {
        const TTrimArea &Area = Areas[std::size_t(I)];
        const std::int64_t Length = std::max<std::int64_t>(Area.EndPos - Area.StartPos, 1);
        Fewest += (Length + MaximumSize - 1) / MaximumSize;
    }
    if (Fewest == Count)
        return; // none is too long
    if (Fewest > std::numeric_limits<std::int32_t>::max())
        throw std::length_error("too many pieces for the maximum size");
    const std::int64_t Width =
        std::max<std::int64_t>(1, std::int64_t(Recording.Format.nSamplesPerSec) * QuietWindowMilliseconds / 1000);
    std::vector<TTrimArea> Pieces;
    const bool Read = WithCodec(EncodingOf(Recording.Format), [&](auto Codec) {
        using TCodec = decltype(Codec);
        TWindowLevels<TCodec> Levels(Recording.Data, Recording.Format.nChannels, N, Width);
        const auto CutAll = [&](auto &Reading) {
            for (std::int32_t I = 0; I < Count; ++I) {
                const TTrimArea Area = Areas[std::size_t(I)];
                const TTrimArea Found = Sound.size() > std::size_t(I) ? Sound[std::size_t(I)] : Area;
                if (Area.EndPos - Area.StartPos > MaximumSize)
                    CutArea(Reading, Width, Area, Found, MaximumSize, MinimumSize, Pieces);
                else
                    Pieces.push_back(Area);
            }
        };
        if (Recording.Source) {
            TAskingLevels<TWindowLevels<TCodec>> Asking{Levels, *Recording.Source};
            CutAll(Asking);
        } else {
            CutAll(Levels);
        }
    });
    if (!Read)
        return; // no levels to cut at: the areas stay as they are
    if (Pieces.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("too many pieces for the maximum size");
    const std::int32_t Kept = std::int32_t(Pieces.size());
    Pieces.insert(Pieces.end(), Areas.begin() + Count, Areas.end());
    Areas.swap(Pieces);
    Count = Kept;
}
