#pragma once
// A whole run of redivev-split over its files, Jobs at a time.
#include "split/SplitOptions.h"

#include <cstdio>

// Cuts (or lists) every file; a file that fails gets one line on Err,
// "redivev-split: FILE: message", and the others go on. The listing goes
// to Out in the order of the files. Returns the exit status (TExitStatus).
// Terminal: Err is one, for the progress bar.
int RunSplit(const TSplitOptions &Options, std::FILE *Out, std::FILE *Err, bool Terminal);
