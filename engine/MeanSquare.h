#pragma once
// A window's level as the mean of its squared sample levels, Sum / Count,
// compared without taking the root: on integer recordings the sums are
// exact integers, so a window compares with a threshold exactly as the
// RMS of its exact levels does, however wide it is.
#include <cstdint>
#include <type_traits>

__extension__ typedef __int128 TWideSum;

// TSum is TWideSum for integer samples (squares of the codec's magnitudes)
// or double for floats (+infinity when the window holds a sample that is
// not finite, which counts as loud as can be).
template <class TSum>
struct TMeanSquare {
    TSum Sum = 0;
    std::int64_t Count = 1; // > 0

    [[gnu::always_inline]] friend bool operator<(const TMeanSquare &A, const TMeanSquare &B) { return Less(A, B); }
    [[gnu::always_inline]] friend bool operator>(const TMeanSquare &A, const TMeanSquare &B) { return Less(B, A); }
    [[gnu::always_inline]] friend bool operator<=(const TMeanSquare &A, const TMeanSquare &B) { return !Less(B, A); }
    [[gnu::always_inline]] friend bool operator>=(const TMeanSquare &A, const TMeanSquare &B) { return !Less(A, B); }

private:
    [[gnu::always_inline]] static bool Less(const TMeanSquare &A, const TMeanSquare &B)
    {
        if (A.Count == B.Count)
            return A.Sum < B.Sum;
        if constexpr (std::is_floating_point_v<TSum>) {
            return A.Sum * static_cast<TSum>(B.Count) < B.Sum * static_cast<TSum>(A.Count);
        } else {
            // Sums stay below 2^95 (squares of 32-bit samples, 2^62, over
            // fewer than 2^31 positions; squared thresholds below 2^94), so
            // crossed products of such counts fit in 127 bits.
            constexpr std::int64_t Small = std::int64_t(1) << 31;
            if (A.Count < Small && B.Count < Small)
                return A.Sum * B.Count < B.Sum * A.Count;
            return WideLess(A, B);
        }
    }

    // Kept apart so that the common comparison above is inlined where a
    // scan compares each level it reads.
    [[gnu::noinline]] static bool WideLess(const TMeanSquare &A, const TMeanSquare &B)
    {
        // Wider windows: whole quotients first, then the remainders,
        // whose crossed products are below 2^126.
        TSum QuotientA = A.Sum / A.Count, RestA = A.Sum % A.Count;
        TSum QuotientB = B.Sum / B.Count, RestB = B.Sum % B.Count;
        if (RestA < 0) {
            RestA += A.Count;
            --QuotientA;
        }
        if (RestB < 0) {
            RestB += B.Count;
            --QuotientB;
        }
        if (QuotientA != QuotientB)
            return QuotientA < QuotientB;
        return RestA * B.Count < RestB * A.Count;
    }
};

// A panel threshold carried into the codec's scale (FromPanel(Level)) as a
// mean square of one position. A negative threshold is below every level.
template <class TSum, class TPanelLevel>
TMeanSquare<TSum> SquaredThreshold(TPanelLevel Level)
{
    if (Level < 0)
        return {TSum(-1), 1};
    return {TSum(Level) * TSum(Level), 1};
}
