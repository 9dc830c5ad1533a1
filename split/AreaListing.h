#pragma once
// The pieces of recordings as text, for --list (CSV) and --json: one
// record per piece with its positions and their times in seconds.
#include "TrimArea.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

struct TListedRecording {
    QString File; // as given on the command line
    std::uint32_t Rate = 0;
    std::vector<TTrimArea> Areas;
};

// The header line "file,index,start,end,start_s,end_s" and one line per
// piece; a file name with a comma, quote or line break is quoted.
QByteArray CsvListing(const std::vector<TListedRecording> &Recordings);
// One JSON array of objects with the same fields.
QByteArray JsonListing(const std::vector<TListedRecording> &Recordings);
