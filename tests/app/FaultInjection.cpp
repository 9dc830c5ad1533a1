#include "FaultInjection.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace faults {

namespace {

// The raw calls: glibc has no wrapper, and libcap is not worth a dependency.
bool GetCapabilities(__user_cap_data_struct (&Data)[_LINUX_CAPABILITY_U32S_3])
{
    __user_cap_header_struct Header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &Header, Data) == 0;
}

bool SetCapabilities(__user_cap_data_struct (&Data)[_LINUX_CAPABILITY_U32S_3])
{
    __user_cap_header_struct Header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capset, &Header, Data) == 0;
}

constexpr std::uint32_t PermissionOverrides =
    1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH | 1u << CAP_FOWNER;

// Once per process: the namespace belongs to the thread that made it, the
// one that runs the tests. Propagation is cut so that no mount leaks out.
int EnterPrivateMountNamespace()
{
    static const int Error = [] {
        if (::unshare(CLONE_NEWNS) != 0)
            return errno;
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return errno;
        return 0;
    }();
    return Error;
}

} // namespace

TPermissionBitsBind::TPermissionBitsBind()
{
    __user_cap_data_struct Data[_LINUX_CAPABILITY_U32S_3]{};
    if (!GetCapabilities(Data) || (Data[0].effective & PermissionOverrides) == 0)
        return;
    FSavedEffective = Data[0].effective;
    Data[0].effective &= ~PermissionOverrides;
    FChanged = SetCapabilities(Data);
}

TPermissionBitsBind::~TPermissionBitsBind()
{
    if (!FChanged)
        return;
    __user_cap_data_struct Data[_LINUX_CAPABILITY_U32S_3]{};
    if (GetCapabilities(Data)) {
        Data[0].effective = FSavedEffective;
        SetCapabilities(Data);
    }
}

TModeChange::TModeChange(const QString &Path, unsigned Mode) : FPath(Path.toStdString())
{
    struct stat Info {};
    if (::stat(FPath.c_str(), &Info) != 0)
        return;
    FOldMode = Info.st_mode & 07777;
    FActive = ::chmod(FPath.c_str(), Mode) == 0;
}

TModeChange::~TModeChange()
{
    Restore();
}

void TModeChange::Restore()
{
    if (FActive)
        ::chmod(FPath.c_str(), FOldMode);
    FActive = false;
}

TFileSizeLimit::TFileSizeLimit(std::int64_t Bytes)
{
    rlimit Limit{};
    ::getrlimit(RLIMIT_FSIZE, &Limit);
    FOldSoft = Limit.rlim_cur;
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    Limit.rlim_cur = static_cast<rlim_t>(Bytes);
    ::setrlimit(RLIMIT_FSIZE, &Limit);
}

TFileSizeLimit::~TFileSizeLimit()
{
    rlimit Limit{};
    ::getrlimit(RLIMIT_FSIZE, &Limit);
    Limit.rlim_cur = static_cast<rlim_t>(FOldSoft);
    ::setrlimit(RLIMIT_FSIZE, &Limit);
    std::signal(SIGXFSZ, FOldHandler);
}

TTinyTmpfs::TTinyTmpfs(const QString &Path, std::int64_t Bytes) : FPath(Path.toStdString()), FBytes(Bytes)
{
    if (const int Error = EnterPrivateMountNamespace()) {
        FReason = std::string("no private mount namespace: ") + std::strerror(Error);
        return;
    }
    const std::string Options = "size=" + std::to_string(Bytes) + ",mode=0755";
    if (::mount("redivev-test", FPath.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, Options.c_str()) != 0) {
        FReason = std::string("mounting a tmpfs failed: ") + std::strerror(errno);
        return;
    }
    FMounted = true;
}

TTinyTmpfs::~TTinyTmpfs()
{
    if (FMounted)
        ::umount2(FPath.c_str(), MNT_DETACH);
}

bool TTinyTmpfs::Remount(bool ReadOnly, std::int64_t Bytes)
{
    const std::string Options = "size=" + std::to_string(Bytes) + ",mode=0755";
    const unsigned long Flags = MS_REMOUNT | MS_NOSUID | MS_NODEV | (ReadOnly ? MS_RDONLY : 0);
    if (!FMounted || ::mount("redivev-test", FPath.c_str(), "tmpfs", Flags, Options.c_str()) != 0)
        return false;
    FReadOnly = ReadOnly;
    FBytes = Bytes;
    return true;
}

bool TTinyTmpfs::SetReadOnly(bool ReadOnly)
{
    return Remount(ReadOnly, FBytes);
}

bool TTinyTmpfs::Resize(std::int64_t Bytes)
{
    return Remount(FReadOnly, Bytes);
}

} // namespace faults
