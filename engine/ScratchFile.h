#pragma once
// An unlinked temporary file for data too large to keep in memory: its pages
// are page cache the kernel can write out and drop, and it vanishes with its
// last descriptor, however the program ends.
#include <string>

// Opens a new, nameless file for reading and writing in $TMPDIR, or in /tmp
// when that is unset or refuses one. Returns the descriptor (close-on-exec),
// or -1 with Why saying what went wrong.
int OpenScratchFile(std::string &Why);
