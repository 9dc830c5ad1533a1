#pragma once
// Which reader takes a recording file, and the engine's reading of one into
// memory for the window. The wave library keeps the files it reads itself
// (8/16-bit PCM, mono or stereo, data under 2 GiB) and those nothing reads,
// whose format it names; the engine takes every other format it reads.
#include "engine/ExportFolder.h"
#include "engine/SampleView.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TFileStream;
class TZuWave;

// A recording the engine read into memory; the file is closed again.
struct THeldRecording {
    THeldRecording() = default;
    // View.Data names Samples' block, which a copy would not share.
    THeldRecording(const THeldRecording &) = delete;
    THeldRecording &operator=(const THeldRecording &) = delete;

    std::vector<std::uint8_t> Samples;
    TSampleView View;
    // The file it was read from, taken while it was open.
    std::optional<TFileIdentity> File;
};

enum class TLoadPath {
    WaveLibrary, // ZU->LoadFromStream, as it always was
    Engine,      // ReadIntoMemory
    NotAudio,    // no WAV, RF64, Wave64 or FLAC file at all
};

// Decided from the first bytes and the headers only, so that a file of any
// size is judged at once. Leaves Stream at its start; raises nothing (a
// file that cannot be judged goes to the library, which says what is wrong).
TLoadPath ChooseLoadPath(TFileStream &Stream);

// Raises ERecordingUnreadable in the engine's words, EOutOfMemory when the
// samples do not fit.
std::unique_ptr<THeldRecording> ReadIntoMemory(const std::string &FileName);

// Wave without samples: what a load the library refuses leaves.
void EmptyWave(TZuWave &Wave);
