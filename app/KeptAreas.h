#pragma once
// The areas last seen on each recording, kept in the user's data folder
// ($XDG_DATA_HOME/redivev/areas, looked up at every use so that a test may
// point it elsewhere) so that a recording opened again can have them back.
// A recording is known by its path, size and modification time: a file
// changed since gets nothing. One small file per recording, each written
// whole under a temporary name; the oldest go once there are too many.
#include "engine/TrimArea.h"

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

struct TRecordingKey {
    QByteArray Path; // the file's own path, links resolved
    std::int64_t Size = 0;
    std::int64_t TimeNs = 0;
    bool operator==(const TRecordingKey &) const = default;
};

// The key of the file FileName names now; nothing when it is no regular file.
std::optional<TRecordingKey> RecordingKeyOf(const QByteArray &FileName);

// Keeps Areas as those last seen on Key's recording; no areas forget it.
// EFileSystemError when the store cannot be written.
void KeepAreas(const TRecordingKey &Key, const std::vector<TTrimArea> &Areas);

// The areas kept for Key's recording, each within Frames; nothing when none
// are kept, or what is kept is not whole.
std::optional<std::vector<TTrimArea>> KeptAreas(const TRecordingKey &Key, std::int64_t Frames);
