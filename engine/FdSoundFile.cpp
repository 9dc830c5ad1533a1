#include "engine/FdSoundFile.h"

#include <algorithm>
#include <cerrno>
#include <limits>

#include <sys/stat.h>
#include <unistd.h>

namespace {

TFdIo &IoOf(void *Data)
{
    return *static_cast<TFdIo *>(Data);
}

void Failed(TFdIo &Io, int Error)
{
    if (Io.Errno == 0)
        Io.Errno = Error;
}

sf_count_t Length(void *Data)
{
    TFdIo &Io = IoOf(Data);
    if (Io.Writing)
        return Io.End;
    struct stat Status {};
    if (::fstat(Io.Handle, &Status) != 0) {
        Failed(Io, errno);
        return -1;
    }
    return Status.st_size;
}

sf_count_t Seek(sf_count_t Offset, int Whence, void *Data)
{
    TFdIo &Io = IoOf(Data);
    sf_count_t Base = 0;
    if (Whence == SEEK_CUR)
        Base = Io.Offset;
    else if (Whence == SEEK_END)
        Base = Length(Data);
    if (Base < 0 || Offset < -Base || Offset > std::numeric_limits<sf_count_t>::max() - Base)
        return -1;
    return Io.Offset = Base + Offset;
}

sf_count_t Read(void *Buffer, sf_count_t Count, void *Data)
{
    TFdIo &Io = IoOf(Data);
    sf_count_t Done = 0;
    while (Done < Count) {
        const ssize_t Moved =
            ::pread(Io.Handle, static_cast<char *>(Buffer) + Done, std::size_t(Count - Done), Io.Offset + Done);
        if (Moved < 0 && errno == EINTR)
            continue;
        if (Moved < 0)
            Failed(Io, errno);
        if (Moved <= 0)
            break;
        Done += Moved;
    }
    Io.Offset += Done;
    return Done;
}

sf_count_t Write(const void *Buffer, sf_count_t Count, void *Data)
{
    TFdIo &Io = IoOf(Data);
    sf_count_t Done = 0;
    while (Done < Count) {
        const ssize_t Moved = ::pwrite(Io.Handle, static_cast<const char *>(Buffer) + Done,
                                       std::size_t(Count - Done), Io.Offset + Done);
        if (Moved < 0 && errno == EINTR)
            continue;
        if (Moved <= 0) {
            // A write that moves nothing and reports nothing would otherwise be retried forever.
            Failed(Io, Moved < 0 ? errno : EIO);
            break;
        }
        Done += Moved;
    }
    Io.Offset += Done;
    Io.End = std::max(Io.End, Io.Offset);
    return Done;
}

sf_count_t Tell(void *Data)
{
    return IoOf(Data).Offset;
}

} // namespace

TFdSoundFile::TFdSoundFile(int Handle, int Mode, SF_INFO &Info)
{
    FIo.Handle = Handle;
    FIo.Writing = Mode != SFM_READ;
    // libsndfile copies the table; only the user data must outlive the call.
    SF_VIRTUAL_IO Io{Length, Seek, Read, Write, Tell};
    FFile = sf_open_virtual(&Io, Mode, &Info, &FIo);
}

TFdSoundFile::~TFdSoundFile()
{
    Close();
}

int TFdSoundFile::Close()
{
    if (!FFile)
        return 0;
    const int Result = sf_close(FFile);
    FFile = nullptr;
    return Result;
}
