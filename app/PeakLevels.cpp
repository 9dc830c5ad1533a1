#include "app/PeakLevels.h"

#include "engine/MappedReads.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr TLevelRange Empty = EmptyLevels;

void Widen(TLevelRange &Range, const TLevelRange &Other)
{
    Range.Low = std::min(Range.Low, Other.Low);
    Range.High = std::max(Range.High, Other.High);
}

// Asks the kernel to start reading Bytes at At from the disk now, so that
// a recording not in the page cache arrives in long reads ahead of the
// scan rather than a fault at a time; of memory it already holds, nothing.
void ReadSoon(const std::uint8_t *At, std::int64_t Bytes)
{
    static const auto Page = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    const auto Start = reinterpret_cast<std::uintptr_t>(At) & ~(Page - 1);
    const auto End = reinterpret_cast<std::uintptr_t>(At) + std::uintptr_t(Bytes);
    if (Bytes > 0)
        ::madvise(reinterpret_cast<void *>(Start), End - Start, MADV_WILLNEED);
}

} // namespace

TPeakLevels::TPeakLevels(const TSampleView &Recording) : TPeakLevels(Recording, TDeferred{})
{
    const std::atomic<bool> Never{false};
    Build(Never, {});
}

TPeakLevels::TPeakLevels(const TSampleView &Recording, TDeferred)
    : FRecording(Recording), FEncoding(EncodingOf(Recording.Format)), FChannels(Recording.Format.nChannels),
      FFrames(FrameCountOf(Recording)), FFrameBytes(FrameBytesOf(Recording))
{
    if (FEncoding == TSampleEncoding::None || FFrames == 0) {
        FComplete.store(true);
        return;
    }
    // Whole now, so that the blocks read meanwhile never move.
    const std::int64_t Blocks = (FFrames + BlockFrames - 1) / BlockFrames;
    FBaseSize = std::size_t(Blocks * FChannels);
    FBase.reset(new TLevelRange[FBaseSize]);
}

bool TPeakLevels::Build(const std::atomic<bool> &Stop, const std::function<void(double)> &Progress)
{
    if (Complete())
        return true;
    const std::int64_t Blocks = std::int64_t(FBaseSize) / FChannels;
    const std::int64_t Start = FReadBlocks.load();
    // Chunks of about a megabyte of samples, taken in order by every
    // worker, each asking Stop before its next; the levels Range gives
    // grow over the chunks done from the start.
    const std::int64_t Step = std::max<std::int64_t>(1, (1 << 20) / (BlockFrames * FFrameBytes));
    const std::int64_t Chunks = (Blocks - Start + Step - 1) / Step;
    // Far enough ahead that the disk is busy while the chunks between are
    // scanned.
    constexpr std::int64_t ReadAhead = 16;
    std::vector<std::atomic<bool>> Done(std::size_t(std::max<std::int64_t>(Chunks, 0)));
    std::atomic<std::int64_t> Next{0};
    std::atomic<bool> Failed{false};
    std::mutex Lock;
    std::int64_t Prefix = 0;
    std::exception_ptr Failure;

    const auto Work = [&](bool Reports) {
        try {
            while (!Stop.load() && !Failed.load()) {
                const std::int64_t Chunk = Next.fetch_add(1);
                if (Chunk >= Chunks)
                    return;
                const std::int64_t Block = Start + Chunk * Step;
                const std::int64_t Until = std::min(Blocks, Block + Step);
                if (Chunk + ReadAhead < Chunks)
                    ReadSoon(FRecording.Data + (Block + ReadAhead * Step) * BlockFrames * FFrameBytes,
                             Step * BlockFrames * FFrameBytes);
                ReadBlocks(Block, Until);
                Done[std::size_t(Chunk)].store(true);
                std::int64_t Read;
                {
                    const std::lock_guard<std::mutex> Hold(Lock);
                    while (Prefix < Chunks && Done[std::size_t(Prefix)].load())
                        ++Prefix;
                    Read = std::min(Blocks, Start + Prefix * Step);
                    FReadBlocks.store(Read, std::memory_order_release);
                }
                if (Reports && Progress)
                    Progress(double(Read) / double(Blocks));
            }
        } catch (...) {
            const std::lock_guard<std::mutex> Hold(Lock);
            if (!Failure)
                Failure = std::current_exception();
            Failed.store(true);
        }
    };
    std::vector<std::thread> Helpers;
    const auto Processors = std::int64_t(std::thread::hardware_concurrency());
    for (std::int64_t I = 1; I < std::min({Processors, Workers, Chunks}); ++I) {
        try {
            Helpers.emplace_back(Work, false);
        } catch (const std::system_error &) {
            break; // fewer helpers, the same levels
        }
    }
    Work(true);
    for (std::thread &Helper : Helpers)
        Helper.join();
    if (Failure)
        std::rethrow_exception(Failure);
    if (FReadBlocks.load() < Blocks)
        return false; // stopped
    BuildTiers();
    return true;
}

void TPeakLevels::ReadBlocks(std::int64_t Block, std::int64_t Until)
{
    // A file shortened meanwhile ends the reading with an error, not the
    // program with a bus error.
    ReadMapped([this, Block, Until] {
        for (std::int64_t B = Block; B < Until; ++B) {
            const std::int64_t First = B * BlockFrames;
            const std::int64_t Last = std::min(First + BlockFrames, FFrames);
            ScanFrames(FEncoding, FRecording.Data + First * FFrameBytes, Last - First, FChannels,
                       &FBase[std::size_t(B * FChannels)]);
        }
    });
}

void TPeakLevels::BuildTiers()
{
    // Coarser tiers until one is short enough to read whole.
    std::vector<std::vector<TLevelRange>> Coarser;
    const TLevelRange *Below = FBase.get();
    std::int64_t BelowBlocks = std::int64_t(FBaseSize) / FChannels;
    while (BelowBlocks > Fan) {
        const std::int64_t Count = (BelowBlocks + Fan - 1) / Fan;
        std::vector<TLevelRange> Above(std::size_t(Count * FChannels), Empty);
        for (std::int64_t Block = 0; Block < BelowBlocks; ++Block)
            for (int Channel = 0; Channel < FChannels; ++Channel)
                Widen(Above[std::size_t(Block / Fan * FChannels + Channel)],
                      Below[std::size_t(Block * FChannels + Channel)]);
        Coarser.push_back(std::move(Above));
        Below = Coarser.back().data();
        BelowBlocks = Count;
    }
    FTiers = std::move(Coarser);
    FComplete.store(true, std::memory_order_release);
}

std::int64_t TPeakLevels::ReadFrames() const
{
    if (Complete())
        return FFrames;
    return std::min(FFrames, FReadBlocks.load(std::memory_order_acquire) * BlockFrames);
}

bool TPeakLevels::Describes(const TSampleView &Recording) const
{
    return Recording.Data == FRecording.Data && Recording.DataSize == FRecording.DataSize
        && std::memcmp(&Recording.Format, &FRecording.Format, sizeof Recording.Format) == 0;
}

TLevelRange TPeakLevels::Samples(int Channel, std::int64_t First, std::int64_t Last) const
{
    return ScanChannel(FEncoding, FRecording.Data + First * FFrameBytes, Last - First, FChannels, Channel);
}

TLevelRange TPeakLevels::Range(int Channel, std::int64_t First, std::int64_t Last) const
{
    const bool Whole = Complete();
    if (!Whole) {
        // Only what has been read; the rest is drawn when it is.
        Last = std::min(Last, ReadFrames());
        if (First >= Last)
            return Empty;
    }
    // The partial blocks at either end from the samples, the whole blocks
    // between from the coarsest tier that has them whole.
    const std::int64_t Inner = (First + BlockFrames - 1) / BlockFrames;
    const std::int64_t Outer = Last / BlockFrames;
    if (FBaseSize == 0 || Inner >= Outer)
        return Samples(Channel, First, Last);
    TLevelRange Result = Empty;
    if (First < Inner * BlockFrames)
        Widen(Result, Samples(Channel, First, Inner * BlockFrames));
    if (Outer * BlockFrames < Last)
        Widen(Result, Samples(Channel, Outer * BlockFrames, Last));

    const auto Read = [&](const TLevelRange *Tier, std::int64_t From, std::int64_t To) {
        for (std::int64_t Block = From; Block < To; ++Block)
            Widen(Result, Tier[std::size_t(Block * FChannels + Channel)]);
    };
    std::int64_t From = Inner;
    std::int64_t To = Outer;
    const std::size_t Tiers = Whole ? FTiers.size() + 1 : 1;
    for (std::size_t K = 0;; ++K) {
        const std::int64_t Up = (From + Fan - 1) / Fan;
        const std::int64_t Down = To / Fan;
        if (K + 1 == Tiers || Up >= Down) {
            Read(Tier(K), From, To);
            return Result;
        }
        Read(Tier(K), From, Up * Fan);
        Read(Tier(K), Down * Fan, To);
        From = Up;
        To = Down;
    }
}
