#pragma once
// Which reader takes a recording file, and the reading of one into fresh
// parts that take the window's place only once all of it has succeeded.
// Every file a reader takes is read in place: mapped, copy-on-write, so a
// recording of hours costs page cache the kernel can drop, not memory of
// the program's own, until a command changes its samples. The wave library
// reads the files it always read (8/16-bit PCM, mono or stereo, data under
// 2 GiB) over that mapping; the engine takes every other format it reads;
// the files neither reads go to the library's own loader, which names their
// format or their fault.
#include "engine/ExportFolder.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class TFileStream;
class TMappedRecording;
class TZuWave;

enum class TLoadPath {
    InPlace,     // the library reads the samples, over the mapping
    Engine,      // the engine reads them; the library holds none
    WaveLibrary, // neither: ZU->LoadFromStream, as it always was
    NotAudio,    // no WAV, RF64, Wave64 or FLAC file at all
};

// Decided from the first bytes and the headers only, so that a file of any
// size is judged at once. Leaves Stream at its start; raises nothing (a
// file that cannot be judged goes to the library, which says what is wrong).
TLoadPath ChooseLoadPath(TFileStream &Stream);

// A recording read, not yet shown. Wave is a component of no owner; Mapped
// is null when the library's loader holds a copy (or nothing).
struct TFreshRecording {
    std::unique_ptr<TZuWave> Wave;
    std::shared_ptr<TMappedRecording> Mapped;
    std::optional<TFileIdentity> File;
};

// Maps the file (any thread): the slow part of a load, the decoding of a
// FLAC file too, which Stop (asked now and then) may end. Raises
// ERecordingUnreadable.
std::shared_ptr<TMappedRecording> MapRecording(const std::string &FileName, const std::function<bool()> &Stop = {});

// Reads FileName by Path into Fresh (the window's thread, Fresh.Wave made
// there): Mapped, when given, is Path's mapping from MapRecording. Raises
// the library's or the engine's error; Fresh is then to be dropped.
void ReadRecording(const std::string &FileName, TFileStream &Stream, TLoadPath Path,
                   std::shared_ptr<TMappedRecording> Mapped, TFreshRecording &Fresh);

// Wave without samples: what a load the library refuses leaves.
void EmptyWave(TZuWave &Wave);
