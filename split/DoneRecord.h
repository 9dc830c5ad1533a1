#pragma once
// The completion record of a folder of pieces: a small file written last,
// atomically, once every piece is in place. It names the settings, the
// source's size and modification time and the pieces, so that a later run
// with --skip-done can tell a complete folder from one a killed run left,
// and still give the manifest lines of its pieces.
#include "engine/SampleView.h"
#include "engine/TrimArea.h"
#include "split/SplitOptions.h"

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

// The record's name in the folder: hidden, and no name an export removes.
inline constexpr char DoneRecordName[] = ".redivev-done";

struct TDoneRecord {
    QByteArray Settings; // SettingsText of the cut
    std::int64_t SourceSize = 0;
    std::int64_t SourceTimeNs = 0; // modification time
    std::uint32_t Rate = 0;
    TContainer Container = TContainer::Wav;
    std::vector<TTrimArea> Areas;
};

// The settings a recording at Rate is cut with, as text to compare.
QByteArray SettingsText(const TSplitOptions &Options, std::uint32_t Rate);

// Size and modification time of File now; nothing when it cannot be read.
std::optional<TDoneRecord> SourceStamp(const QByteArray &File);

// Folder's record when it says the folder holds File's pieces, cut with
// Options from the source as it is now; nothing otherwise.
std::optional<TDoneRecord> MatchingDoneRecord(const QByteArray &File, const QByteArray &Folder,
                                              const TSplitOptions &Options);

// Removes the record before a folder is cut anew, so that a run killed
// part-way leaves no record beside pieces it does not describe. An error
// message, or empty.
QByteArray RemoveDoneRecord(const QByteArray &Folder);
// Writes it whole under a temporary name and renames it into place. An
// error message, or empty.
QByteArray WriteDoneRecord(const QByteArray &Folder, const TDoneRecord &Record);
