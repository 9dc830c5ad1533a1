#pragma once
// Whether the library would read a file's samples, asked before loading it,
// so that a caller with readers of its own can choose between them.
#include "wave/ZuInternalWave.h"

class TStream;

// PCM of 8 or 16 bits, mono or stereo: the layouts samples are read from.
bool ZuReadableFormat(const TWaveFormatEx &Format);

// The stream's headers (the whole stream is the image, from position 0)
// load, and describe a readable format. Reads headers only; the position
// is left where the walk ended.
bool ZuReadsSamplesOf(TStream &Stream);
