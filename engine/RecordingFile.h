#pragma once
// Where a recording file's samples are and what they are, read from its
// headers only (never from its samples, so refusing a file costs the same
// whatever its size): WAV (RIFF, sizes up to 4 GiB), RF64/BW64, Wave64, and
// the FLAC signature. Errors speak of the file in plain words.
#include "engine/SampleView.h"
#include "platform/Exception.h"

#include <cstdint>
#include <string>

// The file cannot be read as a recording. The message is the reason alone.
class ERecordingUnreadable : public Exception {
public:
    using Exception::Exception;
};

enum class TFileKind { Riff, Rf64, Wave64, Flac, Unknown };

// The kind a file is, from its first bytes (at least 16 for Wave64).
TFileKind FileKindOf(const std::uint8_t *First, std::size_t Count);

// The headers of a WAV, RF64 or Wave64 file open as Handle (FileSize bytes
// long), read with pread: the view's format (folded to integer PCM or
// float), FileOffset and DataSize; Data stays null, FileHandle is Handle.
// Raises ERecordingUnreadable, naming the format for one not read.
TSampleView ReadWaveLayout(int Handle, std::int64_t FileSize, TFileKind Kind);
