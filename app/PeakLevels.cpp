#include "app/PeakLevels.h"

#include "app/SampleValues.h"
#include "engine/MappedReads.h"
#include "engine/SampleLevels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace {

constexpr TLevelRange Empty{std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()};

void Widen(TLevelRange &Range, const TLevelRange &Other)
{
    Range.Low = std::min(Range.Low, Other.Low);
    Range.High = std::max(Range.High, Other.High);
}

// The drawn level of one stored sample, in integers where the encoding is:
// the same values DrawnLevel(Scaled16(...)) gives, sample for sample.
template <class TCodec>
std::int32_t Drawn(const std::uint8_t *At)
{
    if constexpr (IsFloatCodec<TCodec>) {
        const double Level = TCodec::Level16(At);
        return std::isnan(Level) ? 0 : DrawnLevel(Level);
    } else {
        return TCodec::Steps16(At);
    }
}

// A loop of plain minima and maxima over a fixed stride, which the compiler
// runs several samples at a time.
template <class TCodec>
TLevelRange Scan(const std::uint8_t *First, std::int64_t Count, std::int64_t Stride)
{
    std::int32_t Low = Empty.Low;
    std::int32_t High = Empty.High;
    for (std::int64_t I = 0; I < Count; ++I) {
        const std::int32_t Level = Drawn<TCodec>(First + I * Stride);
        Low = std::min(Low, Level);
        High = std::max(High, Level);
    }
    return {Low, High};
}

// 16-bit samples of every channel in one contiguous pass, lane J of a
// group of Lanes keeping the extremes of channel J % Channels: a loop the
// compiler runs a whole group at a time, where a stride over one channel
// would go sample by sample. Channels divides Lanes; First is a frame's.
TLevelRange ScanInterleaved16(const std::uint8_t *First, std::int64_t Frames, int Channels, int Channel)
{
    constexpr int Lanes = 16;
    std::int16_t Low[Lanes];
    std::int16_t High[Lanes];
    std::fill(std::begin(Low), std::end(Low), std::numeric_limits<std::int16_t>::max());
    std::fill(std::begin(High), std::end(High), std::numeric_limits<std::int16_t>::min());
    const std::int64_t Values = Frames * Channels;
    const std::int64_t Whole = Values / Lanes * Lanes;
    for (std::int64_t I = 0; I < Whole; I += Lanes) {
        std::int16_t Group[Lanes];
        std::memcpy(Group, First + 2 * I, sizeof Group);
        for (int J = 0; J < Lanes; ++J) {
            Low[J] = std::min(Low[J], Group[J]);
            High[J] = std::max(High[J], Group[J]);
        }
    }
    TLevelRange Result = Empty;
    for (int J = Channel; J < Lanes; J += Channels)
        Result = {std::min<std::int32_t>(Result.Low, Low[J]), std::max<std::int32_t>(Result.High, High[J])};
    for (std::int64_t I = Whole + (Channel - Whole % Channels + Channels) % Channels; I < Values; I += Channels) {
        const std::int32_t Level = TSampleCodec<TSampleEncoding::Int16>::Signed(First + 2 * I);
        Result = {std::min(Result.Low, Level), std::max(Result.High, Level)};
    }
    return Result;
}

TLevelRange ScanSamples(TSampleEncoding Encoding, const std::uint8_t *First, std::int64_t Count, std::int64_t Stride)
{
    TLevelRange Range = Empty;
    WithCodec(Encoding, [&](auto Codec) {
        using TCodec = decltype(Codec);
        // Mono and stereo 16-bit, the common cases, with the stride known.
        if constexpr (std::is_same_v<TCodec, TSampleCodec<TSampleEncoding::Int16>>) {
            if (Stride == 2) {
                Range = Scan<TCodec>(First, Count, 2);
                return;
            }
            if (Stride == 4) {
                Range = Scan<TCodec>(First, Count, 4);
                return;
            }
        }
        Range = Scan<TCodec>(First, Count, Stride);
    });
    return Range;
}

} // namespace

TPeakLevels::TPeakLevels(const TSampleView &Recording) : TPeakLevels(Recording, TDeferred{})
{
    const std::atomic<bool> Never{false};
    Build(Never, {});
}

TPeakLevels::TPeakLevels(const TSampleView &Recording, TDeferred)
    : FRecording(Recording), FEncoding(EncodingOf(Recording.Format)), FChannels(Recording.Format.nChannels),
      FFrames(FrameCountOf(Recording))
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
    // About a megabyte of samples between two looks at Stop.
    const std::int64_t Step = std::max<std::int64_t>(1, (1 << 20) / (BlockFrames * FrameBytesOf(FRecording)));
    for (std::int64_t Block = FReadBlocks.load(); Block < Blocks;) {
        const std::int64_t Until = std::min(Blocks, Block + Step);
        // A file shortened meanwhile ends the reading with an error, not
        // the program with a bus error.
        ReadMapped([this, Block, Until] {
            for (std::int64_t B = Block; B < Until; ++B) {
                const std::int64_t First = B * BlockFrames;
                const std::int64_t Last = std::min(First + BlockFrames, FFrames);
                for (int Channel = 0; Channel < FChannels; ++Channel)
                    FBase[std::size_t(B * FChannels + Channel)] = Samples(Channel, First, Last);
            }
        });
        Block = Until;
        FReadBlocks.store(Block, std::memory_order_release);
        if (Progress)
            Progress(double(Block) / double(Blocks));
        if (Stop.load() && Block < Blocks)
            return false;
    }
    // Coarser tiers until one is short enough to read whole.
    std::vector<std::vector<TLevelRange>> Coarser;
    const TLevelRange *Below = FBase.get();
    std::int64_t BelowBlocks = Blocks;
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
    return true;
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
    if (FEncoding == TSampleEncoding::Int16 && 16 % FChannels == 0 && FChannels > 1)
        return ScanInterleaved16(FRecording.Data + First * 2 * FChannels, Last - First, FChannels, Channel);
    const std::int64_t Bytes = BytesPerSample(FEncoding);
    const std::int64_t Stride = Bytes * FChannels;
    return ScanSamples(FEncoding, FRecording.Data + First * Stride + Channel * Bytes, Last - First, Stride);
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
