#pragma once
// File-system faults for tests, made real rather than simulated: permission
// bits that bind also for root, a file size limit, and a tiny tmpfs. Each is
// undone when its object goes away.
#include <QString>

#include <cstdint>
#include <string>

namespace faults {

// Drops the capabilities that let root ignore permission bits, from the
// calling thread only (capabilities are per thread on Linux), and restores
// them afterwards. Without those capabilities, as for any user, a folder
// without write permission refuses new files and a file without read
// permission refuses to open.
class TPermissionBitsBind {
public:
    TPermissionBitsBind();
    ~TPermissionBitsBind();
    TPermissionBitsBind(const TPermissionBitsBind &) = delete;
    TPermissionBitsBind &operator=(const TPermissionBitsBind &) = delete;

private:
    std::uint32_t FSavedEffective = 0;
    bool FChanged = false;
};

// Sets the permission bits of Path, and puts the old ones back afterwards.
class TModeChange {
public:
    TModeChange(const QString &Path, unsigned Mode);
    ~TModeChange();
    void Restore();
    TModeChange(const TModeChange &) = delete;
    TModeChange &operator=(const TModeChange &) = delete;

private:
    std::string FPath;
    unsigned FOldMode = 0;
    bool FActive = false;
};

// No file of this process may grow past Bytes; a write that would goes as
// far as the limit and the next fails with EFBIG, because SIGXFSZ, which
// would otherwise end the process, is ignored meanwhile.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(std::int64_t Bytes);
    ~TFileSizeLimit();
    TFileSizeLimit(const TFileSizeLimit &) = delete;
    TFileSizeLimit &operator=(const TFileSizeLimit &) = delete;

private:
    std::uint64_t FOldSoft = 0;
    void (*FOldHandler)(int) = nullptr;
};

// A tmpfs of the given size mounted on Path (an existing, empty directory),
// in a mount namespace private to the calling thread so that nothing of it
// shows outside this test process. Mounted() is false where mounting is
// not permitted; Reason() then says why.
class TTinyTmpfs {
public:
    TTinyTmpfs(const QString &Path, std::int64_t Bytes);
    ~TTinyTmpfs();
    TTinyTmpfs(const TTinyTmpfs &) = delete;
    TTinyTmpfs &operator=(const TTinyTmpfs &) = delete;

    bool Mounted() const { return FMounted; }
    const std::string &Reason() const { return FReason; }
    // Remounts read-only or read-write, or with a new size; the files stay.
    bool SetReadOnly(bool ReadOnly);
    bool Resize(std::int64_t Bytes);

private:
    bool Remount(bool ReadOnly, std::int64_t Bytes);

    std::string FPath;
    std::int64_t FBytes;
    bool FReadOnly = false;
    bool FMounted = false;
    std::string FReason;
};

} // namespace faults
