#pragma once
// The label files of a run: areas read from one instead of detected, and a
// recording's pieces written as one beside them.
#include "engine/TrimArea.h"
#include "platform/FileIdentity.h"
#include "platform/FolderWriter.h"

#include <QByteArray>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// The name of the label file written among a recording's pieces.
inline const char *const LabelsBesidePieces = "labels.txt";

// NAME.txt for NAME.wav (or .flac, .rf64, .bw64, .w64), in the same folder;
// a name without such an extension gets ".txt" added.
QByteArray LabelFileBeside(const QByteArray &Recording);

struct TLabelAreas {
    std::vector<TTrimArea> Areas;
    QStringList Labels;
    std::optional<TFileIdentity> File; // the label file read
    // Empty when read; else "FILE: reason", or "FILE:LINE: reason" for a
    // line that is no area of the recording.
    QByteArray Error;
};

// The areas of LabelFile (a name's bytes) for a recording of Frames
// positions at Rate.
TLabelAreas ReadLabelAreas(const QByteArray &LabelFile, std::uint32_t Rate, std::int64_t Frames);

// Puts Text in Folder as LabelsBesidePieces, whole, unless that name is one
// of Keep (the recordings and label files of the run), which stays as it is.
// Raises EExportFailed.
void WriteLabelsBeside(const QByteArray &Folder, const QByteArray &Text, const std::vector<TFileIdentity> &Keep,
                       const TFolderWait &Waiting);
