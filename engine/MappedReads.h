#pragma once
// Reads of a mapped file that another program shortens meanwhile: the
// kernel answers a read past the new end with SIGBUS, which would kill the
// whole run. Inside ReadMapped such a read ends the work and raises
// ERecordingUnreadable instead. The work must own nothing that needs a
// destructor to run (it is left by a jump, not an exception): plain loops
// over the mapping and writes into storage owned outside it.
#include "engine/RecordingFile.h"

#include <utility>

void ReadMappedCall(void (*Call)(void *), void *Work);

// A mapping of a recording's file, made known to the same handler: a read
// of it outside ReadMapped (the window painting a recording another
// program has shortened) finds zeros past the file's new end instead of
// killing the program, and MappedFileShrank says so from then on. Up to 64
// mappings at once; more are simply not covered.
void RegisterMapping(const void *Address, std::int64_t Length);
void UnregisterMapping(const void *Address);
bool MappedFileShrank();
// Whether a read of the mapping registered at Address found zeros there.
bool MappingShrank(const void *Address);

template <class TWork>
void ReadMapped(TWork &&Work)
{
    ReadMappedCall([](void *Context) { (*static_cast<std::remove_reference_t<TWork> *>(Context))(); },
                   const_cast<void *>(static_cast<const void *>(&Work)));
}
