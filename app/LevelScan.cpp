#include "app/LevelScan.h"

#include "app/SampleValues.h"
#include "engine/SampleLevels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace {

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
    std::int32_t Low = EmptyLevels.Low;
    std::int32_t High = EmptyLevels.High;
    for (std::int64_t I = 0; I < Count; ++I) {
        const std::int32_t Level = Drawn<TCodec>(First + I * Stride);
        Low = std::min(Low, Level);
        High = std::max(High, Level);
    }
    return {Low, High};
}

// Eight 16-bit samples side by side: the compiler keeps them in one vector
// register and takes their minima and maxima an instruction at a time.
using TWord8 = std::int16_t __attribute__((vector_size(16)));
constexpr int Words = 4;
constexpr int Lanes = 8 * Words;

// 16-bit samples of every channel in one contiguous pass, lane J of a
// group of Lanes keeping the extremes of channel J % Channels, a group a
// few registers wide, so that the loop goes as fast as memory delivers
// (a stride over one channel would go sample by sample). Channels divides
// 8; First is a frame's.
void ScanInterleaved16(const std::uint8_t *First, std::int64_t Frames, int Channels, TLevelRange *Out)
{
    TWord8 Low[Words];
    TWord8 High[Words];
    for (int W = 0; W < Words; ++W) {
        Low[W] = TWord8{} + std::numeric_limits<std::int16_t>::max();
        High[W] = TWord8{} + std::numeric_limits<std::int16_t>::min();
    }
    const std::int64_t Values = Frames * Channels;
    const std::int64_t Whole = Values / Lanes * Lanes;
    for (std::int64_t I = 0; I < Whole; I += Lanes)
        for (int W = 0; W < Words; ++W) {
            TWord8 Group;
            std::memcpy(&Group, First + 2 * (I + 8 * W), sizeof Group);
            Low[W] = Group < Low[W] ? Group : Low[W];
            High[W] = Group > High[W] ? Group : High[W];
        }
    // Channels divides 8, so lane J of every word holds the same channel:
    // the words fold into one, then each lane into its channel, which a
    // counter, not a division, names.
    for (int W = 1; W < Words; ++W) {
        Low[0] = Low[W] < Low[0] ? Low[W] : Low[0];
        High[0] = High[W] > High[0] ? High[W] : High[0];
    }
    std::fill(Out, Out + Channels, EmptyLevels);
    int Channel = 0;
    for (int J = 0; J < 8; ++J) {
        TLevelRange &Range = Out[Channel];
        Range = {std::min<std::int32_t>(Range.Low, Low[0][J]), std::max<std::int32_t>(Range.High, High[0][J])};
        Channel = Channel + 1 == Channels ? 0 : Channel + 1;
    }
    // Whole is a number of frames too, so the rest starts at channel 0.
    Channel = 0;
    for (std::int64_t I = Whole; I < Values; ++I) {
        const std::int32_t Level = TSampleCodec<TSampleEncoding::Int16>::Signed(First + 2 * I);
        TLevelRange &Range = Out[Channel];
        Range = {std::min(Range.Low, Level), std::max(Range.High, Level)};
        Channel = Channel + 1 == Channels ? 0 : Channel + 1;
    }
}

bool ScansInterleaved(TSampleEncoding Encoding, int Channels)
{
    return Encoding == TSampleEncoding::Int16 && 8 % Channels == 0;
}

} // namespace

TLevelRange ScanChannel(TSampleEncoding Encoding, const std::uint8_t *First, std::int64_t Frames, int Channels,
                        int Channel)
{
    if (ScansInterleaved(Encoding, Channels) && Channels > 1) {
        TLevelRange All[8];
        ScanInterleaved16(First, Frames, Channels, All);
        return All[Channel];
    }
    TLevelRange Range = EmptyLevels;
    const std::int64_t Bytes = BytesPerSample(Encoding);
    const std::int64_t Stride = Bytes * Channels;
    const std::uint8_t *const At = First + Channel * Bytes;
    WithCodec(Encoding, [&](auto Codec) {
        using TCodec = decltype(Codec);
        // Mono and stereo 16-bit, the common cases, with the stride known.
        if constexpr (std::is_same_v<TCodec, TSampleCodec<TSampleEncoding::Int16>>) {
            if (Stride == 2) {
                Range = Scan<TCodec>(At, Frames, 2);
                return;
            }
            if (Stride == 4) {
                Range = Scan<TCodec>(At, Frames, 4);
                return;
            }
        }
        Range = Scan<TCodec>(At, Frames, Stride);
    });
    return Range;
}

void ScanFrames(TSampleEncoding Encoding, const std::uint8_t *First, std::int64_t Frames, int Channels,
                TLevelRange *Out)
{
    if (ScansInterleaved(Encoding, Channels)) {
        ScanInterleaved16(First, Frames, Channels, Out);
        return;
    }
    for (int Channel = 0; Channel < Channels; ++Channel)
        Out[Channel] = ScanChannel(Encoding, First, Frames, Channels, Channel);
}
