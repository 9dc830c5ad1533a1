#pragma once
// Which file an open descriptor or a name is, whatever names lead to it:
// its device and inode. Used to keep writes off the files being read.
#include <optional>
#include <string>

#include <sys/types.h>

struct TFileIdentity {
    dev_t Device = 0;
    ino_t Inode = 0;
    // The name the file was met under, for messages; may be empty.
    std::string Name = {};
};

// The identity of an open file; nothing when it cannot be read.
std::optional<TFileIdentity> FileIdentityOf(int FileHandle);
