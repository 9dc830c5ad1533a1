#pragma once
// The pieces of recordings as text, for --list (CSV) and --json: one
// record per piece with its positions and their times in seconds.
#include "engine/TrimArea.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

struct TListedRecording {
    QByteArray File; // as given on the command line: bytes, not always UTF-8
    std::uint32_t Rate = 0;
    std::vector<TTrimArea> Areas;
};

// The header line "file,index,start,end,start_s,end_s" and one line per
// piece; a file name is its exact bytes, quoted when it holds a comma,
// quote or line break (a quote doubled).
QByteArray CsvListing(const std::vector<TListedRecording> &Recordings);
// One JSON array of objects with the same fields. A name's ", \ and C0
// characters are escaped; a byte that is no part of valid UTF-8 becomes
// \udcNN, which Python's surrogateescape turns back into the byte.
QByteArray JsonListing(const std::vector<TListedRecording> &Recordings);

// The parts of the listings, for the manifests that share their forms.
// Seconds: six decimals, or NoTime when Rate is 0.
QByteArray Seconds(std::int64_t Position, std::uint32_t Rate, const QByteArray &NoTime);
QByteArray CsvField(const QByteArray &Text);
QByteArray JsonString(const QByteArray &Text);
