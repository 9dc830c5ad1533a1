#include "engine/FloorTrack.h"

#include <algorithm>
#include <cmath>

namespace {

// A floor that stays within this of its highest is taken as still: the
// low end of a steady noise wanders by a dB or two from stretch to stretch.
constexpr double StillDb = 3;
// No stretch is raised by more than this: a floor lower still is digital
// silence or near it, where the faintest click would open a piece.
constexpr double DeepestDb = 40;

// Each value the highest of those within Reach either side.
std::vector<double> HighestNear(const std::vector<double> &Values, std::size_t Reach)
{
    std::vector<double> Highest(Values.size());
    for (std::size_t B = 0; B < Values.size(); ++B)
        Highest[B] = *std::max_element(Values.begin() + std::ptrdiff_t(B > Reach ? B - Reach : 0),
                                       Values.begin() + std::ptrdiff_t(std::min(B + Reach + 1, Values.size())));
    return Highest;
}

} // namespace

double TFloorTrack::FloorAtLevel(std::size_t Index) const
{
    if (BelowDb.empty())
        return FloorDb;
    return FloorDb + BelowDb[std::min(Index / FloorBlockLevels, BelowDb.size() - 1)];
}

TFloorTrack FloorTrackOf(const std::vector<double> &LevelsDb, const TNoiseFloor &Noise, std::uint32_t Rate)
{
    TFloorTrack Track;
    Track.FloorDb = Noise.Db;
    if (LevelsDb.empty())
        return Track;
    // The lowest within 5 s either side lags a rising floor by 5 s and
    // leads a falling one; the highest of those within the same reach puts
    // a slope or a step back where it was, while a sentence, narrower than
    // the reach, stays out. The highest of each stretch's neighbours then
    // keeps the levels where the floor steps up from being raised for a
    // stretch too long. The same correction as the floor's lifts the low
    // end to the noise's middle.
    const std::vector<double> Opened = HighestNear(HighestNear(QuietTrackDb(LevelsDb), 10), 1);
    std::vector<double> Below(Opened.size());
    double Lowest = 0;
    for (std::size_t B = 0; B < Opened.size(); ++B) {
        Below[B] = std::clamp(Opened[B] + 1.3 * Noise.RippleDb - Noise.Db, -DeepestDb, 0.0);
        Lowest = std::min(Lowest, Below[B]);
    }
    if (Lowest > -StillDb)
        return Track;
    const std::int64_t Width =
        std::max<std::int64_t>(std::max<std::uint32_t>(Rate, 1) / LevelsPerSecond, 1);
    Track.StretchFrames = Width * std::int64_t(FloorBlockLevels);
    Track.BelowDb = std::move(Below);
    return Track;
}

std::vector<double> LevelsOverFloor(const std::vector<double> &LevelsDb, const TFloorTrack &Track)
{
    std::vector<double> Raised(LevelsDb);
    if (Track.Moves())
        for (std::size_t K = 0; K < Raised.size(); ++K)
            Raised[K] += Track.FloorDb - Track.FloorAtLevel(K);
    return Raised;
}

TFloorMovement FloorMovementOf(const TFloorTrack &Track)
{
    TFloorMovement Movement;
    Movement.StartDb = Movement.EndDb = Movement.LowestDb = Movement.HighestDb = Track.FloorDb;
    if (!Track.Moves())
        return Movement;
    Movement.StartDb = Track.FloorDb + Track.BelowDb.front();
    Movement.EndDb = Track.FloorDb + Track.BelowDb.back();
    const auto [Low, High] = std::minmax_element(Track.BelowDb.begin(), Track.BelowDb.end());
    Movement.LowestDb = Track.FloorDb + *Low;
    Movement.HighestDb = Track.FloorDb + *High;
    return Movement;
}
