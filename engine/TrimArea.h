#pragma once
// A detected piece of a recording, and the settings detection runs with.
#include "engine/SettingTable.h"

#include <cstdint>

// Positions count frames in 64 bits: a recording of 13.5 hours at 44.1 kHz
// already has more than 2^31 of them.
struct TTrimArea {
    std::int64_t StartPos; // first sample position of the piece
    std::int64_t EndPos;   // position just after it (exclusive)
};

// The detection settings, in the tool window's units: levels at 16-bit
// scale (0..32768), widths and sizes in sample positions (frames); each
// starts at its default in the table of settings (SettingTable.h).
struct TTrimSettings {
    // a level at most this is silent
    std::int32_t NoSoundLevel = SettingDefault(TSettingId::NoSoundLevel);
    // silent run that closes an area
    std::int32_t NoSoundWidth = SettingDefault(TSettingId::NoSoundWidth);
    // a kept area is longer than this
    std::int32_t MinimumSize = SettingDefault(TSettingId::MinimumSize);
    // a level at least this opens an area
    std::int32_t CutStartLevel = SettingDefault(TSettingId::CutStartLevel);
    // width of the start's zero search
    std::int32_t BackwardSearch = SettingDefault(TSettingId::BackwardSearch);
    // width of the end's zero search
    std::int32_t ForwardSearch = SettingDefault(TSettingId::ForwardSearch);
    // margin added before and after each kept area (by default none, as the
    // panel's results)
    std::int32_t Pad = SettingDefault(TSettingId::Pad);
    // a level is the RMS of this many positions around it
    std::int32_t LevelWindow = SettingDefault(TSettingId::LevelWindow);
    // a longer kept area is cut at its quietest moments (0: no piece is too long)
    std::int32_t MaximumSize = SettingDefault(TSettingId::MaximumSize);
    // Off by default: an area no longer than MinimumSize is dropped. On, no
    // area that reached CutStartLevel is lost: one that is short with its
    // margins joins its nearer neighbour, or stays a piece of its own
    // (TrimJoin.h). A whole number, so the settings have no padding bytes.
    std::int32_t JoinShort = SettingDefault(TSettingId::JoinShort);
    // 0 (BandFull) by default: levels of the samples as they are. Else the
    // levels of the recording filtered to a band (LevelBand.h), which moves
    // only the cuts.
    std::int32_t Band = SettingDefault(TSettingId::Band);
};

// Where a setting of the table is held; nullptr for those detection itself
// does not read (auto, target).
constexpr std::int32_t TTrimSettings::*TrimField(TSettingId Id)
{
    switch (Id) {
    case TSettingId::CutStartLevel: return &TTrimSettings::CutStartLevel;
    case TSettingId::NoSoundLevel: return &TTrimSettings::NoSoundLevel;
    case TSettingId::NoSoundWidth: return &TTrimSettings::NoSoundWidth;
    case TSettingId::MinimumSize: return &TTrimSettings::MinimumSize;
    case TSettingId::BackwardSearch: return &TTrimSettings::BackwardSearch;
    case TSettingId::ForwardSearch: return &TTrimSettings::ForwardSearch;
    case TSettingId::Pad: return &TTrimSettings::Pad;
    case TSettingId::LevelWindow: return &TTrimSettings::LevelWindow;
    case TSettingId::MaximumSize: return &TTrimSettings::MaximumSize;
    case TSettingId::JoinShort: return &TTrimSettings::JoinShort;
    case TSettingId::Band: return &TTrimSettings::Band;
    case TSettingId::Auto:
    case TSettingId::Target:
    case TSettingId::Count: break;
    }
    return nullptr;
}
