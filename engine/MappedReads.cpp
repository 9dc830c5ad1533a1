#include "engine/MappedReads.h"

#include <atomic>
#include <csetjmp>
#include <csignal>
#include <cstdint>
#include <mutex>

#include <sys/mman.h>
#include <unistd.h>

namespace {

thread_local sigjmp_buf *Landing = nullptr;

// The registered mappings, read by the handler without a lock.
constexpr int Slots = 64;
std::atomic<std::uintptr_t> Starts[Slots];
std::atomic<std::uintptr_t> Lengths[Slots];
std::atomic<bool> SlotShrank[Slots];
std::atomic<bool> Shrank{false};
std::uintptr_t PageSize = 4096;

// Puts a page of zeros where Address's page of a registered mapping lay;
// false when Address is in none.
bool ZeroRegisteredPage(std::uintptr_t Address)
{
    for (int I = 0; I < Slots; ++I) {
        const std::uintptr_t Start = Starts[I].load();
        if (Start == 0 || Address < Start || Address - Start >= Lengths[I].load())
            continue;
        void *const Page = reinterpret_cast<void *>(Address & ~(PageSize - 1));
        if (::mmap(Page, PageSize, PROT_READ | PROT_WRITE, MAP_FIXED | MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
            == MAP_FAILED)
            return false;
        SlotShrank[I] = true;
        Shrank = true;
        return true;
    }
    return false;
}

void OnBusError(int Signal, siginfo_t *Info, void *)
{
    if (Landing != nullptr)
        siglongjmp(*Landing, 1);
    if (Info != nullptr && ZeroRegisteredPage(reinterpret_cast<std::uintptr_t>(Info->si_addr)))
        return; // the read is made again, and finds the zeros
    // Not a read of a recording: the fault is a real one, and kills as it
    // would.
    std::signal(Signal, SIG_DFL);
    std::raise(Signal);
}

void InstallOnce()
{
    static std::once_flag Installed;
    std::call_once(Installed, [] {
        PageSize = std::uintptr_t(::sysconf(_SC_PAGESIZE));
        struct sigaction Action {};
        Action.sa_sigaction = OnBusError;
        sigemptyset(&Action.sa_mask);
        Action.sa_flags = SA_NODEFER | SA_SIGINFO;
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

void RegisterMapping(const void *Address, std::int64_t Length)
{
    InstallOnce();
    for (int I = 0; I < Slots; ++I) {
        std::uintptr_t Free = 0;
        if (Starts[I].compare_exchange_strong(Free, reinterpret_cast<std::uintptr_t>(Address))) {
            SlotShrank[I].store(false);
            Lengths[I].store(std::uintptr_t(Length));
            return;
        }
    }
}

void UnregisterMapping(const void *Address)
{
    for (int I = 0; I < Slots; ++I)
        if (Starts[I].load() == reinterpret_cast<std::uintptr_t>(Address)) {
            Lengths[I].store(0);
            Starts[I].store(0);
            return;
        }
}

bool MappedFileShrank()
{
    return Shrank.load();
}

bool MappingShrank(const void *Address)
{
    for (int I = 0; I < Slots; ++I)
        if (Starts[I].load() == reinterpret_cast<std::uintptr_t>(Address))
            return SlotShrank[I].load();
    return false;
}
