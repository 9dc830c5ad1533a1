#include "platform/FileIdentity.h"

#include <sys/stat.h>

std::optional<TFileIdentity> FileIdentityOf(int FileHandle)
{
    struct stat Info {};
    if (FileHandle < 0 || ::fstat(FileHandle, &Info) != 0)
        return std::nullopt;
    return TFileIdentity{Info.st_dev, Info.st_ino};
}
