#include "platform/Streams.h"

#include "platform/Exception.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

void TStream::ReadBuffer(void *Buffer, std::int64_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError();
}

void TStream::WriteBuffer(const void *Buffer, std::int64_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError();
}

TFileStream::TFileStream(const std::string &FileName, TMode Mode)
{
    const bool Creating = Mode == TMode::Create;
    // Creating must not truncate a file somebody else holds, so the lock is
    // taken first and the file emptied afterwards. Readers share the file
    // (the window and a splitter may read one recording at once); a writer
    // has it to itself, so nobody reads it half written. Opening does not wait:
    // a named pipe without a writer would block the caller for good, and
    // opening a device must not make it anybody's terminal.
    const int Flags = (Creating ? (O_RDWR | O_CREAT) : O_RDONLY) | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    FHandle = ::open(FileName.c_str(), Flags, 0666);
    bool Ok = FHandle >= 0;
    if (Ok) {
        struct stat Info {};
        // Only regular files are read or written: a folder, pipe, socket or
        // device has no size to load and may never deliver or take the bytes.
        Ok = ::fstat(FHandle, &Info) == 0 && S_ISREG(Info.st_mode)
            && ::flock(FHandle, (Creating ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0
            && (!Creating || ::ftruncate(FHandle, 0) == 0)
            && ::fcntl(FHandle, F_SETFL, ::fcntl(FHandle, F_GETFL) & ~O_NONBLOCK) == 0;
    }
    if (!Ok) {
        if (FHandle >= 0)
            ::close(FHandle);
        FHandle = -1;
        if (Creating)
            throw EFCreateError(FileName);
        throw EFOpenError(FileName);
    }
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

std::int64_t TFileStream::Read(void *Buffer, std::int64_t Count)
{
    std::int64_t Done = 0;
    auto *Bytes = static_cast<std::uint8_t *>(Buffer);
    while (Done < Count) {
        // Linux moves at most ~2 GiB per call; larger requests loop.
        const auto Chunk = static_cast<std::size_t>(std::min<std::int64_t>(Count - Done, 1 << 30));
        const ssize_t Got = ::read(FHandle, Bytes + Done, Chunk);
        if (Got < 0 && errno == EINTR)
            continue;
        if (Got <= 0)
            break;
        Done += Got;
    }
    return Done;
}

std::int64_t TFileStream::Write(const void *Buffer, std::int64_t Count)
{
    std::int64_t Done = 0;
    const auto *Bytes = static_cast<const std::uint8_t *>(Buffer);
    while (Done < Count) {
        const auto Chunk = static_cast<std::size_t>(std::min<std::int64_t>(Count - Done, 1 << 30));
        const ssize_t Put = ::write(FHandle, Bytes + Done, Chunk);
        if (Put < 0 && errno == EINTR)
            continue;
        if (Put <= 0)
            break;
        Done += Put;
    }
    return Done;
}

std::int64_t TFileStream::Size()
{
    struct stat Info {};
    if (::fstat(FHandle, &Info) != 0)
        return 0;
    return Info.st_size;
}

std::int64_t TFileStream::Position()
{
    const off_t Where = ::lseek(FHandle, 0, SEEK_CUR);
    return Where < 0 ? 0 : Where;
}

void TFileStream::SetPosition(std::int64_t NewPosition)
{
    ::lseek(FHandle, NewPosition, SEEK_SET);
}

std::int64_t TMemoryStream::Read(void *Buffer, std::int64_t Count)
{
    const std::int64_t Left = Size() - FPosition;
    const std::int64_t Moved = std::clamp<std::int64_t>(Count, 0, std::max<std::int64_t>(Left, 0));
    if (Moved > 0)
        std::memcpy(Buffer, FBytes.data() + FPosition, static_cast<std::size_t>(Moved));
    FPosition += Moved;
    return Moved;
}

std::int64_t TMemoryStream::Write(const void *Buffer, std::int64_t Count)
{
    if (Count <= 0)
        return 0;
    const auto End = static_cast<std::size_t>(FPosition + Count);
    if (End > FBytes.size())
        FBytes.resize(End);
    std::memcpy(FBytes.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
    FPosition += Count;
    return Count;
}

void TMemoryStream::SetPosition(std::int64_t NewPosition)
{
    FPosition = std::clamp<std::int64_t>(NewPosition, 0, Size());
}
