#pragma once
// A folder that files are put into whole. Each file is written under a
// fresh temporary name in the folder (created exclusively, so never through
// a link) and renamed over its real name only once complete: a link at that
// name is replaced, not followed; a failed write leaves the old file as it
// was; a crash leaves at most a temporary file, removed by the next writer.
// Nothing is flushed to the disk: after a power cut a renamed file may
// still be empty or missing, as any file written without sync may be.
#include "platform/Exception.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <sys/types.h>

// A file-system call failed: the path it was about and the system's words.
class EFileSystemError : public Exception {
public:
    EFileSystemError(const std::string &FilePath, int ErrorNumber);
    // A failure that no system error number names.
    EFileSystemError(const std::string &FilePath, const std::string &Why);
    std::string Path;
    std::string Reason;
};

// Raised inside a writer callback to say that a system call failed with
// ErrorNumber; the folder turns it into an EFileSystemError for the file.
struct TSystemCallFailed {
    int ErrorNumber;
};

// What a file written here looked like when it was put in place, so that
// a later writer can tell it from one somebody else wrote or changed since.
struct TFileStamp {
    std::int64_t Size = 0;
    std::int64_t TimeNs = 0; // modification time since 1970
    bool operator==(const TFileStamp &) const = default;
};

// The stamp of the regular file at Path itself (a link is no such file);
// nothing when there is none.
std::optional<TFileStamp> FileStampOf(const std::string &Path);

// write() all of Count bytes, or TSystemCallFailed.
void WriteAll(int Handle, const void *Buffer, std::int64_t Count);

// Makes Folder and every missing folder above it, as mkdir -p does. 0 when
// they were made or something already stands at each name (whether that is
// a folder only opening it tells); else the error number of the first
// folder that could not be made, e.g. EACCES where a parent may not be
// written, rather than the ENOENT that its missing child would give.
int MakeFolders(const std::string &Folder);

// Asked while another writer holds a folder: first at once (Waited 0), then
// every few tens of milliseconds with the time waited so far. True to keep
// waiting, false to give up.
using TFolderWait = std::function<bool(std::chrono::milliseconds Waited)>;

class TFolderWriter {
public:
    // Creates Folder when it is missing, with the folders above it (a link
    // to a folder is followed), and opens it. EFileSystemError when it
    // cannot be opened as a folder, with the cause of that.
    explicit TFolderWriter(const std::string &Folder);
    virtual ~TFolderWriter();
    TFolderWriter(const TFolderWriter &) = delete;
    TFolderWriter &operator=(const TFolderWriter &) = delete;

    const std::string &Folder() const { return FFolder; }
    std::string PathOf(const std::string &Name) const;

    // Waits until no other writer holds the folder, then holds it until
    // destroyed, so two writers never mix their files in one folder. With
    // Waiting, a held folder is polled and Waiting asked at once and at each
    // poll; when it gives up, EFileSystemError "in use by another export".
    // Without, it waits in silence for as long as it takes.
    void Lock(const TFolderWait &Waiting = {});
    // Removes the temporary files that a writer which died left behind,
    // except those Keep accepts. Only while locked: another live writer's
    // files are never touched.
    void RemoveLeftovers(const std::function<bool(const std::string &Name)> &Keep = {});
    // Removes every regular file or link (the link itself, never what it
    // leads to) whose name Stale accepts; folders and other kinds stay.
    // EFileSystemError for the first that cannot be removed.
    void RemoveFiles(const std::function<bool(const std::string &Name)> &Stale);
    // True when Name itself (not a link's target) is the file Device/Inode.
    bool IsFile(const std::string &Name, dev_t Device, ino_t Inode) const;
    // Writes Name whole. Write gets the open temporary file; a
    // TSystemCallFailed it raises becomes EFileSystemError for Name, any
    // other error passes through; either way the temporary file goes.
    // The stamp the file got.
    TFileStamp WriteWhole(const std::string &Name, const std::function<void(int Handle)> &Write);

protected:
    // A fresh temporary name to try, on each call; the names are random,
    // and tests give taken ones.
    virtual std::string NewTemporaryName();

private:
    std::string FFolder;
    int FHandle = -1;
};
