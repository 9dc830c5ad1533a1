#pragma once
// What --skip-done asks of the record an export leaves in its folder
// (engine/ExportRecord.h): that it names the settings a run would cut
// with now, the source as it is now, and pieces that are all there as
// they were written; and the manifest lines of those pieces.
#include "engine/ExportRecord.h"
#include "split/SplitOptions.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

// The settings a recording at Rate is cut with, as text to compare.
QByteArray SettingsText(const TSplitOptions &Options, std::uint32_t Rate);

// Size and modification time of File now (what a name that is a link
// leads to); nothing when it cannot be read.
std::optional<TFileStamp> SourceStamp(const QByteArray &File);

// Folder's record when it says the folder holds File's pieces, cut with
// Options from the source as it is now, each as it was written; nothing
// otherwise.
std::optional<TExportRecord> MatchingDoneRecord(const QByteArray &File, const QByteArray &Folder,
                                                const TSplitOptions &Options);
