#include "engine/FlacStream.h"

#include "engine/FlacReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Frames the in-order reader makes between two lets-go: its memory.
constexpr std::int64_t InOrderFrames = std::int64_t(1) << 18;
// What is kept made behind the latest ask, in bytes: the scan's edge
// searches look back, and each look beyond this costs a seek.
constexpr std::int64_t KeptBytes = std::int64_t(32) << 20;
// Stretches are made at least this many frames at a time, so that reads
// stepping back a frame at a time do not each start a seek.
constexpr std::int64_t GrainFrames = std::int64_t(1) << 16;

// More frames than a byte of FLAC can hold (a frame of 65535 samples of
// silence takes a dozen bytes): a header claiming more is not worth the
// address space.
constexpr std::int64_t MostFramesPerByte = 8192;

std::string SecondsAt(std::int64_t Frames, std::uint32_t Rate)
{
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.1f", double(Frames) / Rate);
    return Text;
}

} // namespace

std::unique_ptr<TFlacStream> TFlacStream::Open(int Handle)
{
    auto Reader = std::make_unique<TFlacReader>(Handle);
    const TFlacInfo &Info = Reader->Header().Info;
    struct stat Status {};
    if (Info.Frames <= 0 || ::fstat(Handle, &Status) != 0 || Info.Frames > Status.st_size * MostFramesPerByte)
        return nullptr;
    std::unique_ptr<TFlacStream> Stream(new TFlacStream(Handle, Info));
    // A system that will not lend the address space (an address-space
    // limit, no overcommit) gets the stream decoded whole.
    if (!Stream->FData)
        return nullptr;
    Stream->FInOrder = std::move(Reader);
    return Stream;
}

TFlacStream::TFlacStream(int Handle, const TFlacInfo &Info) : FHandle(Handle), FInfo(Info)
{
    FFrameBytes = std::int64_t(FInfo.Channels) * (FInfo.Bits / 8);
    FLength = FInfo.Frames * FFrameBytes;
    // Address space only: pages exist where a stretch is made, and go
    // when it is let go.
    void *Address = ::mmap(nullptr, std::size_t(FLength), PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (Address != MAP_FAILED)
        FData = static_cast<std::uint8_t *>(Address);
}

TFlacStream::~TFlacStream()
{
    if (FData)
        ::munmap(FData, std::size_t(FLength));
}

void TFlacStream::Verify() const
{
    if (!FFailure.empty())
        throw EFlacError(FFailure);
    Advance(FInfo.Frames, FReadyEnd);
}

void TFlacStream::Make(std::int64_t First, std::int64_t End) const
{
    if (!FFailure.empty())
        throw EFlacError(FFailure);
    const std::int64_t N = FInfo.Frames;
    First = std::clamp<std::int64_t>(First, 0, N);
    End = std::clamp<std::int64_t>(End, First, N);
    if (End <= First || (First >= FReadyFirst && End <= FReadyEnd))
        return;
    const std::int64_t Low = FReadyFirst, High = FReadyEnd;
    const bool Touching = High > Low && First <= High && End >= Low;
    std::int64_t NewLow = First, NewHigh = End;
    if (Touching) {
        NewLow = First < Low ? std::max<std::int64_t>(0, std::min(First, Low - GrainFrames)) : Low;
        NewHigh = End > High ? std::min(N, std::max(End, High + GrainFrames)) : High;
    } else {
        // Far from what is made: the export's next piece, or an edge search
        // far behind, which goes on from there.
        NewHigh = std::min(N, std::max(End, First + GrainFrames));
    }
    const std::int64_t Kept = std::max<std::int64_t>(KeptBytes / FFrameBytes, GrainFrames);
    if (NewHigh - NewLow > Kept)
        NewLow = std::max(NewLow, std::min(First, NewHigh - Kept));
    FReadyFirst = FReadyEnd = 0;
    const std::int64_t DecodedBefore = FDecoded;
    if (!Touching) {
        Drop(Low, High);
        Fill(NewLow, NewHigh);
    } else {
        Drop(Low, NewLow);
        if (NewLow < Low)
            Fill(NewLow, Low);
        if (NewHigh > High)
            Fill(std::max(High, NewLow), NewHigh);
    }
    // The in-order reader makes whole stretches: what it made past the
    // ask is kept too, rather than let go unread and made again.
    if (FDecoded > DecodedBefore)
        NewHigh = std::max(NewHigh, std::min(FDecoded, N));
    FReadyFirst = NewLow;
    FReadyEnd = NewHigh;
}

void TFlacStream::Fill(std::int64_t First, std::int64_t End) const
{
    if (FEnded || End <= FDecoded) {
        FromSeek(First, End);
        return;
    }
    if (First < FDecoded)
        FromSeek(First, FDecoded);
    Advance(End, std::max(First, FDecoded));
}

void TFlacStream::Advance(std::int64_t To, std::int64_t Keep) const
{
    const std::int64_t N = FInfo.Frames;
    while (!FEnded && FDecoded < To) {
        const std::int64_t From = FDecoded;
        // The last stretch runs to the stream's real end, wherever that is.
        const std::int64_t Limit = From + InOrderFrames < N ? InOrderFrames : -1;
        const TFlacRun Run = FInOrder->Decode(FData, FLength, From, Limit, &FHash, FDone);
        try {
            if (Run.SeekFailed || Run.Damaged)
                FlacDecodesOnlyTo(From + Run.Got, FInfo.Rate);
            FDecoded = From + Run.Got;
            if (Limit < 0 || Run.Got < Limit) {
                if (FDecoded > N)
                    throw EFlacLongerThanStated();
                CheckFlacEnd(FInOrder->Header(), FDecoded, FHash);
                FEnded = true;
            }
        } catch (const EFlacLongerThanStated &) {
            throw;
        } catch (const EFlacError &Error) {
            FFailure = Error.what();
            Drop(0, N);
            throw;
        }
        // What the asker does not want now goes at once.
        Drop(From, std::min(FDecoded, Keep));
    }
}

void TFlacStream::FromSeek(std::int64_t First, std::int64_t End) const
{
    // A reader decodes from the start without seeking only when new.
    if (!FSeeking || First == 0)
        FSeeking = std::make_unique<TFlacReader>(FHandle);
    std::atomic<std::int64_t> Done{0};
    const TFlacRun Run = FSeeking->Decode(FData, FLength, First, End - First, nullptr, Done);
    if (Run.SeekFailed || Run.Damaged || Run.Got < End - First) {
        FSeeking.reset();
        throw EFlacError("the FLAC recording no longer decodes at " + SecondsAt(First + Run.Got, FInfo.Rate) +
                         " seconds: was it changed while it was cut?");
    }
}

void TFlacStream::Drop(std::int64_t First, std::int64_t End) const
{
    const std::int64_t Page = ::sysconf(_SC_PAGESIZE);
    const std::int64_t From = (First * FFrameBytes + Page - 1) / Page * Page;
    const std::int64_t To = End * FFrameBytes / Page * Page;
    if (To > From)
        ::madvise(FData + From, std::size_t(To - From), MADV_DONTNEED);
}
