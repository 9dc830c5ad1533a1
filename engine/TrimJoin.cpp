#include "engine/TrimJoin.h"

#include "engine/TrimPad.h"

#include <algorithm>

namespace {

std::int64_t Length(const TTrimArea &Area)
{
    return Area.EndPos - Area.StartPos;
}

} // namespace

void JoinShortAreas(std::vector<TTrimArea> &Areas, std::int32_t &Count, const TTrimSettings &Settings,
                    std::int64_t N)
{
    if (Count <= 0)
        return;
    std::vector<TTrimArea> Kept(Areas.begin(), Areas.begin() + Count);
    // Judged on the pieces as they will be written: with their margins.
    std::vector<TTrimArea> Padded = Kept;
    PadTrimAreas(Padded, Count, Settings.Pad, N);
    std::vector<bool> Short(Kept.size());
    for (std::size_t I = 0; I < Kept.size(); ++I)
        Short[I] = Length(Padded[I]) <= Settings.MinimumSize;

    const std::int64_t Reach = 2 * std::int64_t(Settings.NoSoundWidth);
    const auto Fits = [&Settings](const TTrimArea &Joined) {
        return Settings.MaximumSize <= 0 || Length(Joined) <= Settings.MaximumSize;
    };
    // Joined from the left: Out holds the areas so far, each short area
    // either added to the last of them or, when its right neighbour is
    // nearer, carried into that one.
    std::vector<TTrimArea> Out;
    bool CarryLeft = false; // Out.back() is a short area waiting to join its right neighbour
    for (std::size_t I = 0; I < Kept.size(); ++I) {
        TTrimArea Area = Kept[I];
        if (CarryLeft) {
            const TTrimArea Joined{Out.back().StartPos, Area.EndPos};
            CarryLeft = false;
            if (Fits(Joined)) {
                Out.back() = Joined;
                continue;
            }
        }
        if (!Short[I]) {
            Out.push_back(Area);
            continue;
        }
        const std::int64_t Before = Out.empty() ? -1 : Area.StartPos - Out.back().EndPos;
        const std::int64_t After = I + 1 < Kept.size() ? Kept[I + 1].StartPos - Area.EndPos : -1;
        const bool LeftOk = Before >= 0 && Before <= Reach && Fits({Out.back().StartPos, Area.EndPos});
        const bool RightOk = After >= 0 && After <= Reach;
        if (LeftOk && (!RightOk || Before <= After)) {
            Out.back().EndPos = Area.EndPos;
            continue;
        }
        Out.push_back(Area);
        CarryLeft = RightOk;
    }
    std::copy(Out.begin(), Out.end(), Areas.begin());
    Count = std::int32_t(Out.size());
}
