#include "engine/LeftOutSound.h"

#include "engine/RecordingLevels.h"

#include <algorithm>

TLeftOutSound LeftOutSound(const std::vector<double> &LevelsDb, std::uint32_t Rate, double FloorDb,
                           const std::vector<TTrimArea> &Areas, std::int32_t Count, const TFloorTrack &Floor)
{
    TLeftOutSound Found;
    const std::int64_t Width = std::max<std::int64_t>(std::max<std::uint32_t>(Rate, 1) / LevelsPerSecond, 1);
    std::int32_t Next = 0; // the first area that does not end before the window
    bool InRun = false;
    for (std::size_t K = 0; K < LevelsDb.size(); ++K) {
        const std::int64_t First = std::int64_t(K) * Width, End = First + Width;
        while (Next < Count && Areas[std::size_t(Next)].EndPos <= First)
            ++Next;
        const bool Inside = Next < Count && Areas[std::size_t(Next)].StartPos < End;
        const double Under = Floor.Moves() ? Floor.FloorAtLevel(K) : FloorDb;
        const bool Loud = !Inside && LevelsDb[K] > Under + LeftOutAboveDb;
        if (Loud) {
            Found.AboveFloorDb = std::max(Found.AboveFloorDb, LevelsDb[K] - Under);
            if (!InRun && Found.Stretches++ == 0)
                Found.FirstSeconds = double(First) / std::max<std::uint32_t>(Rate, 1);
            Found.LoudestDb = std::max(Found.LoudestDb, LevelsDb[K]);
        }
        InRun = Loud;
    }
    return Found;
}
