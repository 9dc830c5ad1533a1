#pragma once
// Sound that no piece holds although it is well above the noise floor: a
// cut that leaves speech out says so instead of dropping it in silence.
#include "engine/FloorTrack.h"
#include "engine/TrimArea.h"

#include <cstdint>
#include <vector>

// How far above the floor left-out sound is worth a word.
constexpr double LeftOutAboveDb = 15;

struct TLeftOutSound {
    int Stretches = 0;          // runs of such windows
    double LoudestDb = -120;    // the loudest of them, dBFS
    double FirstSeconds = 0;    // where the first begins
    double AboveFloorDb = 0;    // the most any of them lies above its floor
};

// The 10 ms windows (RecordingLevels.h, at Rate) that lie wholly outside
// Areas[0..Count-1] and are more than LeftOutAboveDb above FloorDb, or,
// where Floor moves, above the floor where they lie.
TLeftOutSound LeftOutSound(const std::vector<double> &LevelsDb, std::uint32_t Rate, double FloorDb,
                           const std::vector<TTrimArea> &Areas, std::int32_t Count, const TFloorTrack &Floor = {});
