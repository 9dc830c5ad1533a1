#pragma once
// The one table of the sample encodings the program reads. For each: how a
// stored sample is read (Signed), its level (Magnitude), the loudest of a
// run (Loudest) and how a 16-bit panel level is carried into its units
// (FromPanel). Every reader of samples (detection, the level window, the
// longest piece, normalisation, the band filter, the window's view and
// playback, the Python module) reads through it, so there is one level
// rule: the README's, a 24-bit sample at its value / 256, a float at its
// value × 32768, exactly. Each encoding works in units of its own, in which
// that rule needs no rounding: an N-bit integer in steps of 2^(16-N) (its
// stored value; 8-bit samples already at 16-bit scale), a float in 16-bit
// steps as a double. Callers pick the codec once per block (WithCodec) and
// run loops the compiler specialises for it.
#include "engine/Loudest24.h"
#include "engine/SampleFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>

inline std::int32_t LoadSample24(const std::uint8_t *At)
{
    return Word24(At) >> 8;
}

inline std::int32_t LoadSample32(const std::uint8_t *At)
{
    std::int32_t Value;
    std::memcpy(&Value, At, 4);
    return Value;
}

// The largest magnitude among the values Value(0) .. Value(Count - 1), from
// their lowest and highest: a loop the compiler runs many at a time.
template <class TValue, class TRead>
std::int64_t LoudestValue(std::int64_t Count, TRead &&Value)
{
    TValue Low = 0, High = 0;
    for (std::int64_t I = 0; I < Count; ++I) {
        const TValue Read = Value(I);
        Low = std::min(Low, Read);
        High = std::max(High, Read);
    }
    return std::max(-std::int64_t(Low), std::int64_t(High));
}

// What every integer encoding shares, from its Signed and its StepShift
// (its units are 2^-StepShift 16-bit steps).
template <class TCodec, class TLevelType, int BytesEach, int Shift>
struct TIntegerCodec {
    using TLevel = TLevelType;
    static constexpr int Bytes = BytesEach;
    static constexpr int StepShift = Shift;
    static TLevel Magnitude(const std::uint8_t *At) { return std::abs(TLevel(TCodec::Signed(At))); }
    static TLevel FromPanel(std::int64_t Level) { return TLevel(Level * (std::int64_t(1) << Shift)); }
    // In 16-bit steps, exactly.
    static double Level16(const std::uint8_t *At) { return double(TCodec::Signed(At)) / double(1 << Shift); }
    // As a fraction of full scale, exactly.
    static double Fraction(const std::uint8_t *At) { return Level16(At) / 32768.0; }
    // Rounded down to whole 16-bit steps.
    static std::int32_t Steps16(const std::uint8_t *At) { return std::int32_t(TCodec::Signed(At) >> Shift); }
    // Left-justified in a 32-bit word (full scale 2^31).
    static std::int32_t Word32(const std::uint8_t *At)
    {
        return std::int32_t(std::uint32_t(std::int32_t(TCodec::Signed(At))) << (16 - Shift));
    }
};

template <TSampleEncoding E>
struct TSampleCodec;

template <>
struct TSampleCodec<TSampleEncoding::UInt8> : TIntegerCodec<TSampleCodec<TSampleEncoding::UInt8>, std::int32_t, 1, 0> {
    static std::int32_t Signed(const std::uint8_t *At) { return (std::int32_t(*At) - 128) * 256; }
    static TLevel Loudest(const std::uint8_t *At, std::int64_t Count)
    {
        // Stored bytes order as their samples do, 128 the middle.
        std::uint8_t Low = 128, High = 128;
        for (std::int64_t I = 0; I < Count; ++I) {
            Low = std::min(Low, At[I]);
            High = std::max(High, At[I]);
        }
        return std::max((128 - std::int32_t(Low)) * 256, (std::int32_t(High) - 128) * 256);
    }
};

template <>
struct TSampleCodec<TSampleEncoding::Int16> : TIntegerCodec<TSampleCodec<TSampleEncoding::Int16>, std::int32_t, 2, 0> {
    static std::int32_t Signed(const std::uint8_t *At) { return LoadSample16(At, 0); }
    static TLevel Loudest(const std::uint8_t *At, std::int64_t Count)
    {
        return TLevel(LoudestValue<std::int16_t>(Count, [At](std::int64_t I) { return LoadSample16(At, 2 * I); }));
    }
};

template <>
struct TSampleCodec<TSampleEncoding::Int24> : TIntegerCodec<TSampleCodec<TSampleEncoding::Int24>, std::int64_t, 3, 8> {
    static std::int32_t Signed(const std::uint8_t *At) { return LoadSample24(At); }
    static TLevel Loudest(const std::uint8_t *At, std::int64_t Count) { return Loudest24(At, Count); }
};

template <>
struct TSampleCodec<TSampleEncoding::Int32>
    : TIntegerCodec<TSampleCodec<TSampleEncoding::Int32>, std::int64_t, 4, 16> {
    static std::int32_t Signed(const std::uint8_t *At) { return LoadSample32(At); }
    static TLevel Loudest(const std::uint8_t *At, std::int64_t Count)
    {
        return LoudestValue<std::int32_t>(Count, [At](std::int64_t I) { return LoadSample32(At + 4 * I); });
    }
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
    static TFloat Value(const std::uint8_t *At)
    {
        TFloat Stored;
        std::memcpy(&Stored, At, sizeof Stored);
        return Stored;
    }
    static TBits MagnitudeBits(const std::uint8_t *At)
    {
        TBits Bits;
        std::memcpy(&Bits, At, sizeof Bits);
        return std::min<TBits>(Bits & std::numeric_limits<TBits>::max(), Infinity);
    }
    static TLevel LevelOfBits(TBits Bits)
    {
        TFloat Stored;
        std::memcpy(&Stored, &Bits, sizeof Stored);
        return double(Stored) * 32768.0;
    }
    // Not a number stays so: what it counts as is each reader's to say.
    static double Signed(const std::uint8_t *At) { return double(Value(At)) * 32768.0; }
    static TLevel Magnitude(const std::uint8_t *At) { return LevelOfBits(MagnitudeBits(At)); }
    static TLevel Loudest(const std::uint8_t *At, std::int64_t Count)
    {
        TBits Top = 0;
        for (std::int64_t I = 0; I < Count; ++I)
            Top = std::max(Top, MagnitudeBits(At + sizeof(TBits) * I));
        return LevelOfBits(Top);
    }
    static TLevel FromPanel(std::int64_t Level) { return double(Level); }
    static double Level16(const std::uint8_t *At) { return Signed(At); }
    static double Fraction(const std::uint8_t *At) { return double(Value(At)); }
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

template <class TCodec>
constexpr bool IsFloatCodec = std::is_floating_point_v<typename TCodec::TLevel>;

// The loudest channel's level of the frame at Frame (Channels samples).
template <class TCodec>
typename TCodec::TLevel FrameMagnitude(const std::uint8_t *Frame, int Channels)
{
    typename TCodec::TLevel Level = TCodec::Magnitude(Frame);
    for (int Ch = 1; Ch < Channels; ++Ch)
        Level = std::max(Level, TCodec::Magnitude(Frame + Ch * TCodec::Bytes));
    return Level;
}

// A sample as a fraction of full scale, a float that is not finite as
// NotFinite: what a filter or a resampler, which would spread it over every
// later sample, reads in its place.
template <class TCodec>
double FiniteFraction(const std::uint8_t *At, double NotFinite)
{
    const double Value = TCodec::Fraction(At);
    if constexpr (IsFloatCodec<TCodec>)
        return std::isfinite(Value) ? Value : NotFinite;
    return Value;
}

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
