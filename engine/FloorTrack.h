#pragma once
// A noise floor that rises or falls over a recording, followed rather than
// read at its highest: the levels detection compares with its settings are
// raised, stretch by stretch, by as much as the floor there lies below the
// floor the settings were chosen over. A quiet talker early in a room whose
// noise grows later keeps the levels that suit it.
#include "engine/RecordingLevels.h"
#include "engine/TrimArea.h"

#include <cstdint>
#include <vector>

struct TFloorTrack {
    // The floor the settings were chosen over, dBFS (TNoiseFloor::Db).
    double FloorDb = SilenceDb;
    // Frames in each stretch and, per stretch, how far its floor lies below
    // FloorDb (0 or less); none when the floor holds still.
    std::int64_t StretchFrames = 0;
    std::vector<double> BelowDb;

    bool Moves() const { return !BelowDb.empty(); }
    // The floor under the 10 ms level Index (RecordingLevels.h), dBFS.
    double FloorAtLevel(std::size_t Index) const;
};

// Of the recording's 10 ms levels at Rate, over the floor Noise read from
// them: the track of the floor through the quiet stretches, or none when it
// stays within a few dB of one level.
TFloorTrack FloorTrackOf(const std::vector<double> &LevelsDb, const TNoiseFloor &Noise, std::uint32_t Rate);

// The levels as detection along the track reads them: each raised by how
// far its floor lies below the track's highest.
std::vector<double> LevelsOverFloor(const std::vector<double> &LevelsDb, const TFloorTrack &Track);

// How the floor moved, for a summary: from where it started to where it
// ended, and its lowest and highest on the way.
struct TFloorMovement {
    double StartDb = SilenceDb;
    double EndDb = SilenceDb;
    double LowestDb = SilenceDb;
    double HighestDb = SilenceDb;
};
TFloorMovement FloorMovementOf(const TFloorTrack &Track);
