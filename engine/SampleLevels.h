#pragma once
// The level of a stored sample in each encoding, in a magnitude type of its
// own, and the panel's 16-bit levels carried into that type exactly: an
// N-bit integer compares as s / 2^(N-16) would, without rounding, and a
// float as f * 32768. So detection reads every format at its own precision
// and still agrees with the 16-bit panel on every threshold.
#include "SampleBlocks.h"
#include "SampleFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

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

template <>
struct TSampleCodec<TSampleEncoding::Int24> {
    using TLevel = std::int64_t;
    static constexpr int Bytes = 3;
    static TLevel Magnitude(const std::uint8_t *At) { return std::abs(std::int64_t(LoadSample24(At))); }
    static TLevel Loudest(const std::uint8_t *At, std::int64_t Count)
    {
        std::int32_t Low = 0, High = 0;
        for (std::int64_t I = 0; I < Count; ++I) {
            const std::int32_t Value = LoadSample24(At + 3 * I);
            Low = std::min(Low, Value);
            High = std::max(High, Value);
        }
        return std::max(-std::int64_t(Low), std::int64_t(High));
    }
    static TLevel FromPanel(std::int64_t Level) { return Level * 256; }
};

template <>
struct TSampleCodec<TSampleEncoding::Int32> {
    using TLevel = std::int64_t;
    static constexpr int Bytes = 4;
    static TLevel Magnitude(const std::uint8_t *At) { return std::abs(std::int64_t(LoadSample32(At))); }
    static TLevel Loudest(const std::uint8_t *At, std::int64_t Count)
    {
        std::int32_t Low = 0, High = 0;
        for (std::int64_t I = 0; I < Count; ++I) {
            const std::int32_t Value = LoadSample32(At + 4 * I);
            Low = std::min(Low, Value);
            High = std::max(High, Value);
        }
        return std::max(-std::int64_t(Low), std::int64_t(High));
    }
    static TLevel FromPanel(std::int64_t Level) { return Level * 65536; }
};

// Floats keep their own precision: |f| * 32768 is exact in double, and a
// sample that is not a number counts as silence.
template <class TFloat>
struct TFloatCodec {
    using TLevel = double;
    static constexpr int Bytes = sizeof(TFloat);
    static TLevel Magnitude(const std::uint8_t *At)
    {
        TFloat Value;
        std::memcpy(&Value, At, sizeof Value);
        const double Level = std::fabs(double(Value)) * 32768.0;
        return Level == Level ? Level : 0.0;
    }
    static TLevel Loudest(const std::uint8_t *At, std::int64_t Count)
    {
        double Level = 0;
        for (std::int64_t I = 0; I < Count; ++I)
            Level = std::max(Level, Magnitude(At + sizeof(TFloat) * I));
        return Level;
    }
    static TLevel FromPanel(std::int64_t Level) { return double(Level); }
};

template <>
struct TSampleCodec<TSampleEncoding::Float32> : TFloatCodec<float> {};
template <>
struct TSampleCodec<TSampleEncoding::Float64> : TFloatCodec<double> {};

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
