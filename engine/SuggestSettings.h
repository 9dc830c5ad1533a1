#pragma once
// Settings suggested from the recording itself, for cutting speech into
// sentences (or phrases, or words): its noise floor and speech level from
// the levels of short windows, the levels set between them, a pause width
// read from the recording's own pauses, a margin for soft starts and fading
// ends, levels read over a window so that noise does not open pieces, and
// short stretches kept rather than dropped.
#include "engine/FloorTrack.h"
#include "engine/RecordingLevels.h"
#include "engine/SampleView.h"
#include "engine/TrimArea.h"

#include <vector>

// What a piece should hold.
enum class TPieceTarget { Sentence, Phrase, Word };

struct TSuggestedSettings {
    TTrimSettings Settings; // in the panel's units at the recording's rate
    double NoiseFloorDb = 0; // dBFS, as 10 ms RMS
    double SpeechLevelDb = 0;
    // False when no window stands clearly above the floor: the recording is
    // silent or stays at one level throughout, with no quiet stretch to
    // measure a floor from, and SpeechLevelDb is the floor. The levels are
    // then set above that one level, so nothing is cut.
    bool SpeechFound = false;
    // The 10 ms levels (RecordingLevels.h) they were read from: of the
    // band when Settings.Band is one.
    std::vector<double> LevelsDb;
    // The floor under them where it rises or falls: the levels are then
    // compared along it (FloorScan.h), NoiseFloorDb being its highest.
    TFloorTrack Floor;
};

// The track detection follows with the settings Used: the suggestion's
// while its levels and band are those used, else none (levels the user set
// are kept as they are).
TFloorTrack FloorFor(const TSuggestedSettings &Suggested, const TTrimSettings &Used);

// Reads every sample once. A recording with no frames gets the suggestion
// for silence: levels just above zero.
TSuggestedSettings SuggestTrimSettings(const TSampleView &Recording, TPieceTarget Target = TPieceTarget::Sentence);
// The same from the recording's 10 ms levels (RecordingLevels.h).
TSuggestedSettings SuggestTrimSettings(const std::vector<double> &LevelsDb, std::uint32_t Rate,
                                       TPieceTarget Target = TPieceTarget::Sentence);
