#include "platform/FolderWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every temporary name starts so; nothing else the folder holds does.
const std::string TemporaryPrefix = ".redivev-part-";

// How often a folder held by another writer is tried again.
constexpr std::chrono::milliseconds LockPoll(50);

} // namespace

EFileSystemError::EFileSystemError(const std::string &FilePath, int ErrorNumber)
    : Exception(FilePath + ": " + std::strerror(ErrorNumber)), Path(FilePath), Reason(std::strerror(ErrorNumber))
{
}

EFileSystemError::EFileSystemError(const std::string &FilePath, const std::string &Why)
    : Exception(FilePath + ": " + Why), Path(FilePath), Reason(Why)
{
}

namespace {

TFileStamp StampOf(const struct stat &Info)
{
    return {std::int64_t(Info.st_size), std::int64_t(Info.st_mtim.tv_sec) * 1000000000 + Info.st_mtim.tv_nsec};
}

} // namespace

std::optional<TFileStamp> FileStampOf(const std::string &Path)
{
    struct stat Info {};
    if (::lstat(Path.c_str(), &Info) != 0 || !S_ISREG(Info.st_mode))
        return std::nullopt;
    return StampOf(Info);
}

void WriteAll(int Handle, const void *Buffer, std::int64_t Count)
{
    const auto *Bytes = static_cast<const std::uint8_t *>(Buffer);
    while (Count > 0) {
        const ssize_t Put = ::write(Handle, Bytes, static_cast<std::size_t>(std::min<std::int64_t>(Count, 1 << 30)));
        if (Put < 0 && errno == EINTR)
            continue;
        if (Put <= 0)
            throw TSystemCallFailed{Put < 0 ? errno : ENOSPC};
        Bytes += Put;
        Count -= Put;
    }
}

int MakeFolders(const std::string &Folder)
{
    if (Folder.empty())
        return ENOENT;
    if (::mkdir(Folder.c_str(), 0777) == 0 || errno == EEXIST)
        return 0;
    if (errno != ENOENT)
        return errno;
    // A parent is missing: make it first, then this one again. "a//b/" has
    // the parent "a"; "/" and "." have none to make.
    std::string Parent = Folder;
    while (Parent.size() > 1 && Parent.back() == '/')
        Parent.pop_back();
    const std::size_t Slash = Parent.find_last_of('/');
    if (Slash == std::string::npos)
        return ENOENT;
    Parent.erase(Slash);
    while (Parent.size() > 1 && Parent.back() == '/')
        Parent.pop_back();
    if (Parent.empty() || Parent == "/")
        return ENOENT;
    if (const int Error = MakeFolders(Parent); Error != 0)
        return Error;
    return ::mkdir(Folder.c_str(), 0777) == 0 || errno == EEXIST ? 0 : errno;
}

TFolderWriter::TFolderWriter(const std::string &Folder) : FFolder(Folder)
{
    // An existing folder is fine; one that cannot be made shows as the
    // failure to open it. Something else at the name (a file, a link to
    // nowhere) is no folder: opening it says what it is.
    const int Made = MakeFolders(Folder);
    FHandle = ::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (FHandle < 0)
        // A folder that is missing because it could not be made says why.
        throw EFileSystemError(Folder, errno == ENOENT && Made != 0 ? Made : errno);
}

TFolderWriter::~TFolderWriter()
{
    ::close(FHandle);
}

std::string TFolderWriter::PathOf(const std::string &Name) const
{
    return FFolder + "/" + Name;
}

void TFolderWriter::Lock(const TFolderWait &Waiting)
{
    // The folder itself carries the lock, so no lock file is left in it;
    // a link to the folder leads to the same lock.
    if (!Waiting) {
        while (::flock(FHandle, LOCK_EX) != 0)
            if (errno != EINTR)
                throw EFileSystemError(FFolder, errno);
        return;
    }
    // Tried without waiting first, so that a wait is never silent.
    const auto Taken = [this] {
        while (::flock(FHandle, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK)
                return false;
            if (errno != EINTR)
                throw EFileSystemError(FFolder, errno);
        }
        return true;
    };
    const auto Start = std::chrono::steady_clock::now();
    for (bool First = true; !Taken(); First = false) {
        const auto Waited = std::chrono::steady_clock::now() - Start;
        if (!Waiting(First ? std::chrono::milliseconds(0)
                           : std::chrono::duration_cast<std::chrono::milliseconds>(Waited)))
            throw EFileSystemError(FFolder, "in use by another export");
        std::this_thread::sleep_for(LockPoll);
    }
}

void TFolderWriter::RemoveLeftovers(const std::function<bool(const std::string &Name)> &Keep)
{
    const int ListHandle = ::openat(FHandle, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *List = ListHandle >= 0 ? ::fdopendir(ListHandle) : nullptr;
    if (List == nullptr) {
        if (ListHandle >= 0)
            ::close(ListHandle);
        return;
    }
    while (const dirent *Entry = ::readdir(List))
        if (std::strncmp(Entry->d_name, TemporaryPrefix.c_str(), TemporaryPrefix.size()) == 0
            && !(Keep && Keep(Entry->d_name)))
            ::unlinkat(FHandle, Entry->d_name, 0);
    ::closedir(List);
}

void TFolderWriter::RemoveFiles(const std::function<bool(const std::string &Name)> &Stale)
{
    const int ListHandle = ::openat(FHandle, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *List = ListHandle >= 0 ? ::fdopendir(ListHandle) : nullptr;
    if (List == nullptr) {
        const int Error = errno;
        if (ListHandle >= 0)
            ::close(ListHandle);
        throw EFileSystemError(FFolder, Error);
    }
    std::vector<std::string> Names;
    while (const dirent *Entry = ::readdir(List))
        if (Stale(Entry->d_name))
            Names.emplace_back(Entry->d_name);
    ::closedir(List);
    for (const std::string &Name : Names) {
        struct stat Info {};
        if (::fstatat(FHandle, Name.c_str(), &Info, AT_SYMLINK_NOFOLLOW) != 0
            || !(S_ISREG(Info.st_mode) || S_ISLNK(Info.st_mode)))
            continue;
        if (::unlinkat(FHandle, Name.c_str(), 0) != 0 && errno != ENOENT)
            throw EFileSystemError(PathOf(Name), errno);
    }
}

bool TFolderWriter::IsFile(const std::string &Name, dev_t Device, ino_t Inode) const
{
    struct stat Info {};
    return ::fstatat(FHandle, Name.c_str(), &Info, AT_SYMLINK_NOFOLLOW) == 0 && Info.st_dev == Device
        && Info.st_ino == Inode;
}

std::string TFolderWriter::NewTemporaryName()
{
    static thread_local std::mt19937_64 Random{std::random_device{}()};
    return TemporaryPrefix + std::to_string(Random()) + ".tmp";
}

TFileStamp TFolderWriter::WriteWhole(const std::string &Name, const std::function<void(int Handle)> &Write)
{
    std::string Temporary;
    TFileStamp Stamp;
    int File = -1;
    for (int Attempt = 0; File < 0; ++Attempt) {
        Temporary = NewTemporaryName();
        // O_EXCL: a name that exists, a link included, is never opened.
        File = ::openat(FHandle, Temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (File < 0 && (errno != EEXIST || Attempt > 100))
            throw EFileSystemError(PathOf(Name), errno);
    }
    try {
        try {
            Write(File);
        } catch (const TSystemCallFailed &Failure) {
            throw EFileSystemError(PathOf(Name), Failure.ErrorNumber);
        }
        struct stat Info {};
        if (::fstat(File, &Info) != 0)
            throw EFileSystemError(PathOf(Name), errno);
        Stamp = StampOf(Info);
        if (::close(File) != 0) {
            File = -1;
            throw EFileSystemError(PathOf(Name), errno);
        }
        File = -1;
        if (::renameat(FHandle, Temporary.c_str(), FHandle, Name.c_str()) != 0)
            throw EFileSystemError(PathOf(Name), errno);
        // A network file system may set the time when the data reaches it,
        // at the close: the file as it now stands, when it is still ours.
        struct stat Placed {};
        if (::fstatat(FHandle, Name.c_str(), &Placed, AT_SYMLINK_NOFOLLOW) == 0 && Placed.st_dev == Info.st_dev
            && Placed.st_ino == Info.st_ino)
            Stamp = StampOf(Placed);
    } catch (...) {
        if (File >= 0)
            ::close(File);
        ::unlinkat(FHandle, Temporary.c_str(), 0);
        throw;
    }
    return Stamp;
}
