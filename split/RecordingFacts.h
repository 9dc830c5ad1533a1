#pragma once
// What a manifest says of a recording besides its pieces: the kind of
// file, rate, channels, sample size and length. A trainer takes one rate
// for a mixed corpus without them, and Kaldi reads only some files.
#include "engine/RecordingFile.h"
#include "engine/SampleView.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

struct TRecordingFacts {
    TFileKind Kind = TFileKind::Unknown;
    std::uint32_t Rate = 0;
    int Channels = 0;
    int Bits = 0; // of one sample's container
    bool Float = false;
    std::int64_t Frames = -1; // -1 when the headers leave it open
};

// From a view the engine read from a file of Kind.
TRecordingFacts FactsOfView(const TSampleView &View, TFileKind Kind);

// From File's headers alone (a FLAC file is not decoded); nothing, with
// the reason in Error, when they cannot be read.
std::optional<TRecordingFacts> ReadRecordingFacts(const QByteArray &File, QByteArray &Error);

// Read as it is by a reader of 16-bit PCM RIFF WAV files only.
bool IsPlainWav16(const TRecordingFacts &Facts);
