#include "engine/MappedReads.h"

#include <csetjmp>
#include <csignal>
#include <mutex>

namespace {

thread_local sigjmp_buf *Landing = nullptr;

void OnBusError(int Signal)
{
    if (Landing != nullptr)
        siglongjmp(*Landing, 1);
    // Not a guarded read: the fault is a real one, and kills as it would.
    std::signal(Signal, SIG_DFL);
    std::raise(Signal);
}

void InstallOnce()
{
    static std::once_flag Installed;
    std::call_once(Installed, [] {
        struct sigaction Action {};
        Action.sa_handler = OnBusError;
        sigemptyset(&Action.sa_mask);
        Action.sa_flags = SA_NODEFER;
        sigaction(SIGBUS, &Action, nullptr);
    });
}

} // namespace

void ReadMappedCall(void (*Call)(void *), void *Work)
{
    InstallOnce();
    sigjmp_buf Here;
    sigjmp_buf *const Outer = Landing;
    if (sigsetjmp(Here, 1) != 0) {
        Landing = Outer;
        throw ERecordingUnreadable("the recording became shorter while it was being read (changed by another program?)");
    }
    Landing = &Here;
    try {
        Call(Work);
    } catch (...) {
        Landing = Outer;
        throw;
    }
    Landing = Outer;
}
