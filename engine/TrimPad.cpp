#include "engine/TrimPad.h"

#include <algorithm>

void PadTrimAreas(std::vector<TTrimArea> &Areas, std::int32_t Count, std::int64_t Pad, std::int64_t N)
{
    if (Pad <= 0 || Count <= 0)
        return;
    // Each gap is shared from the areas as found, before either side moved.
    TTrimArea Previous = Areas[0];
    Areas[0].StartPos = std::max<std::int64_t>(0, Previous.StartPos - Pad);
    for (std::int32_t I = 1; I < Count; ++I) {
        const TTrimArea Found = Areas[std::size_t(I)];
        const std::int64_t Gap = Found.StartPos - Previous.EndPos;
        if (Gap > 0) {
            const std::int64_t Reach = std::min(Pad, Gap / 2);
            Areas[std::size_t(I) - 1].EndPos = std::min(Previous.EndPos + Reach, N);
            Areas[std::size_t(I)].StartPos = Gap - Reach >= Pad ? Found.StartPos - Pad : Previous.EndPos + Reach;
        }
        Previous = Found;
    }
    Areas[std::size_t(Count) - 1].EndPos = std::min(Previous.EndPos + Pad, N);
}
