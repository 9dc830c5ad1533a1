#pragma once
// What the suggested settings are read from: the level of every 10 ms of a
// recording, the noise floor under them, how much that floor ripples, and
// the pauses of the speech over it.
#include "engine/SampleView.h"

#include <cstdint>
#include <vector>

constexpr double SilenceDb = -120; // dBFS of a window of zeros
constexpr double LoudestDb = 200;  // dBFS of one that is not finite: far above any threshold
constexpr int LevelsPerSecond = 100;

// The RMS of each 10 ms window, loudest channel, in dBFS. Reads every
// sample once; a layout detection cannot read raises its error.
std::vector<double> WindowLevelsDb(const TSampleView &Recording);

struct TNoiseFloor {
    double Db = SilenceDb;   // its highest level over the recording, as 10 ms RMS
    double RippleDb = 0;     // the spread (one standard deviation) of its short-time levels
};

// The floor is read in stretches of this many levels (half a second).
constexpr std::size_t FloorBlockLevels = LevelsPerSecond / 2;

// The low end of each such stretch, and of those the lowest within 5 s
// either side: a track continuous speech does not lift.
std::vector<double> QuietTrackDb(const std::vector<double> &Levels);

// Read from the quietest stretches of the whole recording, so that speech
// with only short pauses does not lift it: the low end of each half second,
// and of those the lowest within 5 s either side, which follows a floor
// that rises or falls (QuietTrackDb). Of that track the highest point is
// the floor.
TNoiseFloor NoiseFloorOf(const std::vector<double> &Levels);

// The silences between sounds, in seconds: runs of windows at most
// SilenceLevelDb, from the first window above it to the last.
std::vector<double> PauseLengths(const std::vector<double> &Levels, double SilenceLevelDb);
