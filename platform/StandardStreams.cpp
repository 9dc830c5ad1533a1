#include "platform/StandardStreams.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

void OccupyClosedStandardStreams()
{
    for (int Stream = 0; Stream <= 2; ++Stream) {
        if (::fcntl(Stream, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free number is this one, as the lower ones are open.
        const int Taken = ::open("/dev/null", O_RDONLY);
        if (Taken >= 0 && Taken != Stream)
            ::close(Taken);
    }
}
