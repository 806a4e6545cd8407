#pragma once

// Double arithmetic worked out exactly: every value is held as a sign, a whole
// mantissa and a power of two, each operation is carried out without error in
// whole numbers and only its result is rounded to 53 significant bits, to
// nearest, halves to even, as IEEE 754 prescribes. The colour tests compute
// their golden values with it, independently of the processor's floating point
// and of the code under test: where a hue or a saturation lands exactly on a
// rounding half, the side it falls on is decided by these roundings alone.

#include <cassert>
#include <cstdint>

namespace verdalis::exact {

using Whole = unsigned __int128;

struct Double {
    bool negative = false;
    Whole mantissa = 0; // 0, or 2^52 <= mantissa < 2^53
    int exponent = 0;   // value = mantissa * 2^exponent
};

inline int bitLength(Whole value)
{
    const auto high = static_cast<std::uint64_t>(value >> 64);
    const auto low = static_cast<std::uint64_t>(value);
    if (high != 0)
        return 128 - __builtin_clzll(high);
    return low != 0 ? 64 - __builtin_clzll(low) : 0;
}

// numerator / denominator * 2^exponent, rounded to the nearest double.
inline Double rounded(bool negative, Whole numerator, Whole denominator, int exponent)
{
    if (numerator == 0)
        return {};
    int shift = 52 + bitLength(denominator) - bitLength(numerator);
    Whole quotient = 0;
    Whole remainder = 0;
    Whole divisor = 0;
    for (;; ++shift) {
        Whole dividend = numerator;
        divisor = denominator;
        if (shift >= 0)
            dividend <<= shift;
        else
            divisor <<= -shift;
        assert(bitLength(dividend) < 127 && bitLength(divisor) < 126);
        quotient = dividend / divisor;
        remainder = dividend % divisor;
        if (quotient >= (Whole(1) << 52))
            break;
    }
    const Whole twice = remainder * 2;
    if (twice > divisor || (twice == divisor && (quotient & 1) != 0))
        ++quotient;
    if (quotient == (Whole(1) << 53)) {
        quotient >>= 1;
        --shift;
    }
    return {negative, quotient, exponent - shift};
}

inline Double fromRatio(std::int64_t numerator, std::int64_t denominator)
{
    const bool negative = (numerator < 0) != (denominator < 0);
    const auto magnitude = [](std::int64_t v) { return Whole(v < 0 ? -v : v); };
    return rounded(negative, magnitude(numerator), magnitude(denominator), 0);
}

inline Double fromWhole(std::int64_t value)
{
    return fromRatio(value, 1);
}

inline Double negated(Double value)
{
    if (value.mantissa != 0)
        value.negative = !value.negative;
    return value;
}

inline Double sum(const Double &a, const Double &b)
{
    if (a.mantissa == 0)
        return b;
    if (b.mantissa == 0)
        return a;
    const int exponent = a.exponent < b.exponent ? a.exponent : b.exponent;
    assert(a.exponent - exponent < 70 && b.exponent - exponent < 70);
    const Whole x = a.mantissa << (a.exponent - exponent);
    const Whole y = b.mantissa << (b.exponent - exponent);
    if (a.negative == b.negative)
        return rounded(a.negative, x + y, 1, exponent);
    if (x == y)
        return {};
    return x > y ? rounded(a.negative, x - y, 1, exponent)
                 : rounded(b.negative, y - x, 1, exponent);
}

inline Double difference(const Double &a, const Double &b)
{
    return sum(a, negated(b));
}

inline Double product(const Double &a, std::int64_t factor)
{
    const bool negative = a.negative != (factor < 0);
    return rounded(negative, a.mantissa * Whole(factor < 0 ? -factor : factor), 1, a.exponent);
}

inline Double quotient(const Double &a, const Double &b)
{
    assert(b.mantissa != 0);
    return rounded(a.negative != b.negative, a.mantissa, b.mantissa, a.exponent - b.exponent);
}

inline Double quotient(const Double &a, std::int64_t divisor)
{
    return quotient(a, fromWhole(divisor));
}

// -1, 0 or 1 as a is below, equal to or above b.
inline int compare(const Double &a, const Double &b)
{
    const Double d = difference(a, b);
    return d.mantissa == 0 ? 0 : (d.negative ? -1 : 1);
}

// The nearest whole number, halves to even.
inline std::int64_t nearestWhole(const Double &value)
{
    if (value.mantissa == 0)
        return 0;
    Whole whole = 0;
    if (value.exponent >= 0) {
        whole = value.mantissa << value.exponent;
    } else if (-value.exponent < 120) {
        const int shift = -value.exponent;
        whole = value.mantissa >> shift;
        const Whole fraction = value.mantissa & ((Whole(1) << shift) - 1);
        const Whole half = Whole(1) << (shift - 1);
        if (fraction > half || (fraction == half && (whole & 1) != 0))
            ++whole;
    }
    const auto magnitude = static_cast<std::int64_t>(whole);
    return value.negative ? -magnitude : magnitude;
}

} // namespace verdalis::exact
