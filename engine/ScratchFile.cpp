#include "engine/ScratchFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

int OpenIn(const std::string &Folder)
{
    int Handle = ::open(Folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (Handle >= 0)
        return Handle;
    // Some file systems have no nameless files: a unique name, gone at once.
    std::string Name = Folder + "/.redivev-scratch-XXXXXX";
    Handle = ::mkostemp(Name.data(), O_CLOEXEC);
    if (Handle >= 0)
        ::unlink(Name.c_str());
    return Handle;
}

} // namespace

int OpenScratchFile(std::string &Why)
{
    const char *Given = std::getenv("TMPDIR");
    if (Given && *Given) {
        const int Handle = OpenIn(Given);
        if (Handle >= 0)
            return Handle;
    }
    const int Handle = OpenIn("/tmp");
    if (Handle < 0)
        Why = std::string("no temporary file can be made in ") + (Given && *Given ? Given : "/tmp") +
              (Given && *Given ? " or /tmp" : "") + ": " + std::strerror(errno);
    return Handle;
}
