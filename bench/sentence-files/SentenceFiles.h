#pragma once
// sentence-bench's recordings on disk, so that a detector outside this
// program can be scored by the same rules: each set in a folder of its own,
// FOLDER/SET/NAME.wav (16-bit mono PCM) beside FOLDER/SET/NAME.sentences,
// whose first line is `rate R` and each further line `START END`, a
// sentence's first voiced sample and the one just after its last. A
// detector answers with SEGMENTS/SET/NAME.segments: one piece a line,
// `START END` in samples at the recording's rate; empty lines and lines
// beginning with `#` are skipped. Every fault throws std::runtime_error
// naming the file.
#include "SpeechLike.h"

#include <string>
#include <vector>

namespace sentencefiles {

struct TNamed {
    std::string Name;
    speechtest::TSpeechRecording Recording;
};

// Makes FOLDER/SET, which must not exist yet, and writes the recordings
// into it; recordings without sentences are left out.
void WriteSet(const std::string &Folder, const std::string &Set, const std::vector<TNamed> &Recordings);

// The sets FOLDER holds, by name.
std::vector<std::string> Sets(const std::string &Folder);

// Every recording's sentences and rate in FOLDER/SET, by name; no samples.
std::vector<TNamed> ReadSentences(const std::string &Folder, const std::string &Set);

std::vector<speechtest::TPiece> ReadSegments(const std::string &Folder, const std::string &Set,
                                             const std::string &Name);

} // namespace sentencefiles
