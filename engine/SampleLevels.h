#pragma once
// The level of a stored sample in each encoding, in a magnitude type of its
// own, and the panel's 16-bit levels carried into that type exactly: an
// N-bit integer compares as s / 2^(N-16) would, without rounding, and a
// float as f * 32768. So detection reads every format at its own precision
// and still agrees with the 16-bit panel on every threshold.
#include "engine/Loudest24.h"
#include "engine/SampleBlocks.h"
#include "engine/SampleFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

template <TSampleEncoding E>
struct TSampleCodec;

template <>
struct TSampleCodec<TSampleEncoding::UInt8> {
    using TLevel = std::int32_t;
    static constexpr int Bytes = 1;
    static TLevel Magnitude(const std::uint8_t *At) { return std::abs((std::int32_t(*At) - 128) * 256); }
    static TLevel Loudest(const std::uint8_t *At, std::int64_t Count) { return Loudest8(At, Count); }
    static TLevel FromPanel(std::int64_t Level) { return TLevel(Level); }
};

template <>
struct TSampleCodec<TSampleEncoding::Int16> {
    using TLevel = std::int32_t;
    static constexpr int Bytes = 2;
    static TLevel Magnitude(const std::uint8_t *At) { return std::abs(std::int32_t(LoadSample16(At, 0))); }
    static TLevel Loudest(const std::uint8_t *At, std::int64_t Count) { return Loudest16(At, Count); }
    static TLevel FromPanel(std::int64_t Level) { return TLevel(Level); }
};

inline std::int32_t LoadSample24(const std::uint8_t *At)
{
    // The top byte goes into the top of a 32-bit word, so the shift back
    // down carries its sign.
    const std::uint32_t Word = std::uint32_t(At[0]) << 8 | std::uint32_t(At[1]) << 16 | std::uint32_t(At[2]) << 24;
    return std::int32_t(Word) >> 8;
}

inline std::int32_t LoadSample32(const std::uint8_t *At)
{
    std::int32_t Value;
    std::memcpy(&Value, At, 4);
    return Value;
}

// The largest magnitude among the 32-bit values Word(0) .. Word(Count - 1),
// from their lowest and highest, a loop the compiler runs many at a time.
template <class TWord>
std::int64_t LoudestWord(std::int64_t Count, TWord &&Word)
{
    std::int32_t Low = 0, High = 0;
    for (std::int64_t I = 0; I < Count; ++I) {
        const std::int32_t Value = Word(I);
        Low = std::min(Low, Value);
        High = std::max(High, Value);
    }
    return std::max(-std::int64_t(Low), std::int64_t(High));
}

template <>
struct TSampleCodec<TSampleEncoding::Int24> {
    using TLevel = std::int64_t;
    static constexpr int Bytes = 3;
    static TLevel Magnitude(const std::uint8_t *At) { return std::abs(std::int64_t(LoadSample24(At))); }
    static TLevel Loudest(const std::uint8_t *At, std::int64_t Count) { return Loudest24(At, Count); }
    static TLevel FromPanel(std::int64_t Level) { return Level * 256; }
};

template <>
struct TSampleCodec<TSampleEncoding::Int32> {
    using TLevel = std::int64_t;
    static constexpr int Bytes = 4;
    static TLevel Magnitude(const std::uint8_t *At) { return std::abs(std::int64_t(LoadSample32(At))); }
    static TLevel Loudest(const std::uint8_t *At, std::int64_t Count)
    {
        return LoudestWord(Count, [At](std::int64_t I) { return LoadSample32(At + 4 * I); });
    }
    static TLevel FromPanel(std::int64_t Level) { return Level * 65536; }
};

// Floats keep their own precision: |f| * 32768 is exact in double, and a
// sample that is not a number counts as loud as can be, so that it stays
// inside a piece rather than being cut away. The loudest of a run is found
// on the bit patterns: with the sign cleared they order as the magnitudes
// do, and integer minima and maxima are what the vector units do fastest
// (signed ones: the cleared sign leaves every pattern positive).
template <class TFloat, class TBits>
struct TFloatCodec {
    using TLevel = double;
    static constexpr int Bytes = sizeof(TFloat);
    static constexpr TBits Infinity = sizeof(TBits) == 4 ? TBits(0x7F800000) : TBits(0x7FF0000000000000ll);
    static TBits MagnitudeBits(const std::uint8_t *At)
    {
        TBits Bits;
        std::memcpy(&Bits, At, sizeof Bits);
        return std::min<TBits>(Bits & std::numeric_limits<TBits>::max(), Infinity);
    }
    static TLevel LevelOfBits(TBits Bits)
    {
        TFloat Value;
        std::memcpy(&Value, &Bits, sizeof Value);
        return double(Value) * 32768.0;
    }
    static TLevel Magnitude(const std::uint8_t *At) { return LevelOfBits(MagnitudeBits(At)); }
    static TLevel Loudest(const std::uint8_t *At, std::int64_t Count)
    {
        TBits Top = 0;
        for (std::int64_t I = 0; I < Count; ++I)
            Top = std::max(Top, MagnitudeBits(At + sizeof(TBits) * I));
        return LevelOfBits(Top);
    }
    static TLevel FromPanel(std::int64_t Level) { return double(Level); }
    // The loudest finite sample: what a peak to scale by is measured from.
    static TLevel LoudestFinite(const std::uint8_t *At, std::int64_t Count)
    {
        TBits Top = 0;
        for (std::int64_t I = 0; I < Count; ++I)
            if (const TBits Bits = MagnitudeBits(At + sizeof(TBits) * I); Bits < Infinity)
                Top = std::max(Top, Bits);
        return LevelOfBits(Top);
    }
};

template <>
struct TSampleCodec<TSampleEncoding::Float32> : TFloatCodec<float, std::int32_t> {};
template <>
struct TSampleCodec<TSampleEncoding::Float64> : TFloatCodec<double, std::int64_t> {};

// Calls Work with the codec of Encoding (a TSampleCodec<E> value); false
// for an encoding that is not read.
template <class TWork>
bool WithCodec(TSampleEncoding Encoding, TWork &&Work)
{
    switch (Encoding) {
    case TSampleEncoding::UInt8: Work(TSampleCodec<TSampleEncoding::UInt8>{}); return true;
    case TSampleEncoding::Int16: Work(TSampleCodec<TSampleEncoding::Int16>{}); return true;
    case TSampleEncoding::Int24: Work(TSampleCodec<TSampleEncoding::Int24>{}); return true;
    case TSampleEncoding::Int32: Work(TSampleCodec<TSampleEncoding::Int32>{}); return true;
    case TSampleEncoding::Float32: Work(TSampleCodec<TSampleEncoding::Float32>{}); return true;
    case TSampleEncoding::Float64: Work(TSampleCodec<TSampleEncoding::Float64>{}); return true;
    case TSampleEncoding::None: break;
    }
    return false;
}
