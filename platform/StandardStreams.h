#pragma once
// A program started with stdin, stdout or stderr closed would hand out that
// number to the next file it opens, and a message meant for the terminal
// would land in that file: in a piece being written, say. Each closed one
// is taken by /dev/null opened for reading only, so that a write to it
// still fails, as a write to a closed stream does (EBADF), and is never
// reported as done. Call first thing in main().
void OccupyClosedStandardStreams();
