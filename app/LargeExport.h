#pragma once
// Overlapping trim areas (wide edge searches) can make an export write many
// times the recording: tens of gigabytes from a recording of hundreds of
// megabytes. Before such an export the user is asked.
#include "engine/SampleView.h"
#include "engine/TrimArea.h"

#include <cstdint>

class TForm1;

// The sample bytes the export of Areas[0..Count-1] writes.
std::int64_t ExportBytes(const TSampleView &Recording, const TTrimArea *Areas, std::int32_t Count);

// True when the export is at most twice the recording's size, or the user
// answers Yes to going ahead.
bool ConfirmLargeExport(TForm1 &Form, const TSampleView &Recording, const TTrimArea *Areas, std::int32_t Count);
