#pragma once
// A detected piece of a recording, and the settings detection runs with.
#include <cstdint>

// Positions count frames in 64 bits: a recording of 13.5 hours at 44.1 kHz
// already has more than 2^31 of them.
struct TTrimArea {
    std::int64_t StartPos; // first sample position of the piece
    std::int64_t EndPos;   // position just after it (exclusive)
};

// The detection settings, in the tool window's units: levels at 16-bit
// scale (0..32768), widths and sizes in sample positions (frames).
struct TTrimSettings {
    std::int32_t NoSoundLevel = 1000;  // a level at most this is silent
    std::int32_t NoSoundWidth = 100;   // silent run that closes an area
    std::int32_t MinimumSize = 100;    // a kept area is longer than this
    std::int32_t CutStartLevel = 100;  // a level at least this opens an area
    std::int32_t BackwardSearch = 0;   // width of the start's zero search
    std::int32_t ForwardSearch = 0;    // width of the end's zero search
    // Both 0 by default, which gives the panel's results exactly.
    std::int32_t Pad = 0;         // margin added before and after each kept area
    std::int32_t LevelWindow = 0; // a level is the RMS of this many positions around it
    // 0 by default: no piece is too long.
    std::int32_t MaximumSize = 0; // a longer kept area is cut at its quietest moments
    // Off by default: an area no longer than MinimumSize is dropped. On, no
    // area that reached CutStartLevel is lost: one that is short with its
    // margins joins its nearer neighbour, or stays a piece of its own
    // (TrimJoin.h). A whole number, so the settings have no padding bytes.
    std::int32_t JoinShort = 0;
    // 0 (BandFull) by default: levels of the samples as they are. Else the
    // levels of the recording filtered to a band (LevelBand.h), which moves
    // only the cuts.
    std::int32_t Band = 0;
};
