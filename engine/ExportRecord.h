#pragma once
// The record an export leaves in its folder, written last, whole, under a
// temporary name: the files it wrote with the size and modification time
// each had, and what they were cut from. A later export removes only files
// named here that still look as recorded, so a file the user put in the
// folder, or changed since, is never lost; a run with --skip-done trusts
// a folder only while every file named here is as recorded.
#include "engine/SampleView.h"
#include "engine/TrimArea.h"
#include "platform/FolderWriter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The record's name in the folder: hidden, and never a piece's name.
inline constexpr char ExportRecordName[] = ".redivev-done";
// The label file an export may write beside its pieces.
inline constexpr char LabelsBesidePieces[] = "labels.txt";

struct TRecordedFile {
    std::string Name; // in the folder
    TFileStamp Stamp;
};

struct TExportRecord {
    // What the pieces were cut with, as the caller describes it; empty for
    // an export whose settings no later run compares (the window's).
    std::string Settings;
    TFileStamp Source; // the recording's file when the cut began
    std::uint32_t Rate = 0;
    TContainer Container = TContainer::Wav;
    std::vector<TTrimArea> Areas;
    // The pieces in order (one per area), then any other file the export
    // wrote (the label file).
    std::vector<TRecordedFile> Files;
};

// Folder's record; nothing when there is none, or it is no record of
// this kind (an older one, which named no files, counts as none).
std::optional<TExportRecord> ReadExportRecord(const std::string &Folder);

// True when every file Record names is in Folder as recorded.
bool RecordedFilesIntact(const std::string &Folder, const TExportRecord &Record);

// The record as the bytes of its file.
std::string ExportRecordText(const TExportRecord &Record);
