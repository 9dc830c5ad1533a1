#pragma once
// The label files a run reads: areas read from one instead of detected.
#include "engine/TrimArea.h"
#include "platform/FileIdentity.h"

#include <QByteArray>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

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
