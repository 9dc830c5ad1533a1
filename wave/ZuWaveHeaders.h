#pragma once
// The loader's reading of a RIFF/WAVE image's headers: the container
// parser's walk, with the loader's rules and messages, over any byte source
// (a stream's, or a memory image's for a file mapped in place). Only the
// fmt body's first bytes are read.
#include "platform/WaveContainer.h"
#include "wave/ZuInternalWave.h"

// Walks Image to the first "RIFF"/"WAVE" form, its "fmt " chunk and the
// "data" chunk after it. The fmt body's first bytes (up to 18) are copied
// over Format, so a short chunk keeps the rest of what Format held; Format
// changes as soon as the fmt chunk is read, also when the data chunk then
// fails. Extensible headers of plain 8/16-bit PCM are folded to PCM.
// Raises EZuWaveInvalidWaveFile with the loader's messages; a data chunk
// the wave's block cannot count in 32 signed bits is one the image cannot
// hold.
TWaveChunks WalkWaveHeaders(TByteSource &Image, TWaveFormatEx &Format);
