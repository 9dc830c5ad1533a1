#pragma once
// One recording through the engine: read, optionally normalised, detected
// and written (or only detected, for a listing).
#include "SplitOptions.h"
#include "TrimArea.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

struct TCutOutcome {
    QString Error; // empty when the recording was cut
    std::uint32_t Rate = 0;
    std::vector<TTrimArea> Areas;
};

// Writes the pieces into Folder unless Options.List. Share gets the part
// of the pieces written so far, 0 to 1. Never raises: a failure is the
// outcome's error message.
TCutOutcome CutRecording(const QString &File, const QString &Folder, const TSplitOptions &Options,
                         const std::function<void(double Share)> &Share);
