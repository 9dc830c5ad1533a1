#include "engine/DescriptorStream.h"

#include "engine/RecordingFile.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <unistd.h>

std::int64_t TDescriptorStream::Read(void *Buffer, std::int64_t Count)
{
    auto *Into = static_cast<std::uint8_t *>(Buffer);
    std::int64_t Moved = 0;
    while (Moved < Count) {
        const ssize_t Got = ::pread(FHandle, Into + Moved, static_cast<std::size_t>(Count - Moved), FPosition);
        if (Got < 0 && errno == EINTR)
            continue;
        if (Got < 0)
            throw ERecordingUnreadable(std::string("cannot read: ") + std::strerror(errno));
        if (Got == 0)
            break; // the exact reads above this turn a short count into their error
        Moved += Got;
        FPosition += Got;
    }
    return Moved;
}
