// BigFloat arithmetic (see big_float.h). Every operation forms an integer result in a limb
// buffer, exactly or with a known truncation, and normalisedFromLimbs truncates it to the
// result's limbs; `error` collects one unit of each truncation that dropped nonzero bits.
// The division is Knuth's algorithm D (TAOCP vol. 2, 4.3.1) in base 2^32; the square root
// is Newton's iteration, its error bounded afterwards from the exact residual a - s².
#include "core/big_float.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace kx {

namespace {

constexpr long exponentClamp = 1L << 30;  // beyond every ball's range (core/ball.cpp)
constexpr int bufferLimbs = 2 * bigFloatMaxLimbs + 8;

int clampedExponent(long exponent) {
    return static_cast<int>(std::clamp(exponent, -exponentClamp, exponentClamp));
}

long floorDivide(long value, long divisor) {
    const long quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

// dst[0..dstCount) = src[0..count)·2^shift (shift may be negative), the bits that fall
// below dst[0] dropped; returns whether any of them was nonzero. The shifted value must fit.
bool shiftInto(const std::uint32_t* src, int count, long shift, std::uint32_t* dst, int dstCount) {
    std::fill(dst, dst + dstCount, 0u);
    if (shift <= -32L * count) {
        for (int index = 0; index < count; ++index)
            if (src[index] != 0) return true;
        return false;
    }
    const long limbShift = floorDivide(shift, 32);
    const int bitShift = static_cast<int>(shift - 32 * limbShift);
    bool dropped = false;
    for (int index = 0; index < count; ++index) {
        const std::uint64_t moved = static_cast<std::uint64_t>(src[index]) << bitShift;
        const long target = index + limbShift;
        const std::uint32_t parts[2] = {static_cast<std::uint32_t>(moved), static_cast<std::uint32_t>(moved >> 32)};
        for (int part = 0; part < 2; ++part) {
            const long position = target + part;
            if (position < 0)
                dropped = dropped || parts[part] != 0;
            else if (position < dstCount)
                dst[position] |= parts[part];
        }
    }
    return dropped;
}

int topNonzero(const std::uint32_t* raw, int count) {
    int top = count - 1;
    while (top >= 0 && raw[top] == 0) --top;
    return top;
}

int compareLimbs(const std::uint32_t* x, const std::uint32_t* y, int count) {
    for (int index = count; index-- > 0;)
        if (x[index] != y[index]) return x[index] < y[index] ? -1 : 1;
    return 0;
}

void addLimbs(std::uint32_t* x, const std::uint32_t* y, int count) {  // x += y, no carry out
    std::uint64_t carry = 0;
    for (int index = 0; index < count; ++index) {
        const std::uint64_t total = static_cast<std::uint64_t>(x[index]) + y[index] + carry;
        x[index] = static_cast<std::uint32_t>(total);
        carry = total >> 32;
    }
}

void subtractLimbs(std::uint32_t* x, const std::uint32_t* y, int count) {  // x -= y, x >= y
    std::uint64_t borrow = 0;
    for (int index = 0; index < count; ++index) {
        const std::uint64_t difference = static_cast<std::uint64_t>(x[index]) - y[index] - borrow;
        x[index] = static_cast<std::uint32_t>(difference);
        borrow = (difference >> 32) & 1;
    }
}

// |x - y| into x, returning whether y was the larger.
bool absoluteDifference(std::uint32_t* x, std::uint32_t* y, int count) {
    if (compareLimbs(x, y, count) >= 0) {
        subtractLimbs(x, y, count);
        return false;
    }
    subtractLimbs(y, x, count);
    std::copy(y, y + count, x);
    return true;
}

void multiplyLimbs(const std::uint32_t* x, int xCount, const std::uint32_t* y, int yCount, std::uint32_t* out) {
    std::fill(out, out + xCount + yCount, 0u);
    for (int i = 0; i < xCount; ++i) {
        std::uint64_t carry = 0;
        const std::uint64_t factor = x[i];
        for (int j = 0; j < yCount; ++j) {
            const std::uint64_t total = factor * y[j] + out[i + j] + carry;
            out[i + j] = static_cast<std::uint32_t>(total);
            carry = total >> 32;
        }
        out[i + yCount] = static_cast<std::uint32_t>(carry);
    }
}

// q = u / v, the remainder left in u[0..n). u has m + n + 1 limbs with u[m + n] = 0, v has
// n >= 2 limbs with the top bit of v[n - 1] set; q has m + 1 limbs.
void divideLimbs(std::uint32_t* u, const std::uint32_t* v, int n, int m, std::uint32_t* q) {
    constexpr std::uint64_t base = std::uint64_t{1} << 32;
    for (int j = m; j >= 0; --j) {
        const std::uint64_t numerator = (static_cast<std::uint64_t>(u[j + n]) << 32) | u[j + n - 1];
        std::uint64_t estimate = numerator / v[n - 1];
        std::uint64_t rest = numerator % v[n - 1];
        while (estimate >= base || estimate * v[n - 2] > ((rest << 32) | u[j + n - 2])) {
            --estimate;
            rest += v[n - 1];
            if (rest >= base) break;
        }
        std::int64_t borrow = 0;
        for (int i = 0; i < n; ++i) {
            const std::uint64_t part = estimate * v[i];
            const std::int64_t difference =
                static_cast<std::int64_t>(u[i + j]) - borrow - static_cast<std::int64_t>(part & 0xFFFFFFFFu);
            u[i + j] = static_cast<std::uint32_t>(difference);
            borrow = static_cast<std::int64_t>(part >> 32) - (difference >> 32);
        }
        const std::int64_t top = static_cast<std::int64_t>(u[j + n]) - borrow;
        u[j + n] = static_cast<std::uint32_t>(top);
        if (top < 0) {
            --estimate;
            std::uint64_t carry = 0;
            for (int i = 0; i < n; ++i) {
                const std::uint64_t total = static_cast<std::uint64_t>(u[i + j]) + v[i] + carry;
                u[i + j] = static_cast<std::uint32_t>(total);
                carry = total >> 32;
            }
            u[j + n] = static_cast<std::uint32_t>(u[j + n] + carry);
        }
        q[j] = static_cast<std::uint32_t>(estimate);
    }
}

// q = u / divisor for a one-limb divisor, returning whether the remainder is nonzero.
bool divideBySmall(const std::uint32_t* u, int count, std::uint32_t divisor, std::uint32_t* q) {
    std::uint64_t rest = 0;
    for (int index = count; index-- > 0;) {
        const std::uint64_t numerator = (rest << 32) | u[index];
        q[index] = static_cast<std::uint32_t>(numerator / divisor);
        rest = numerator % divisor;
    }
    return rest != 0;
}

// An upper bound of the integer raw[0..count)·2^unit.
Magnitude magnitudeUpOfLimbs(const std::uint32_t* raw, int count, long unit) {
    const int top = topNonzero(raw, count);
    if (top < 0) return zeroMagnitude;
    const int leading = std::countl_zero(raw[top]);
    std::uint32_t window[3] = {};
    for (int k = 0; k < 3; ++k) window[2 - k] = top - k >= 0 ? raw[top - k] : 0;
    const std::uint32_t high = leading ? (window[2] << leading) | (window[1] >> (32 - leading)) : window[2];
    const std::uint32_t low = leading ? (window[1] << leading) | (window[0] >> (32 - leading)) : window[1];
    // The 64 bits high:low (one rounding) stand for the value truncated to 64 bits: the step
    // to the next double (2^11 units) covers the truncation (below one unit) and the rounding.
    const double value = static_cast<double>(high) * 0x1p32 + static_cast<double>(low);
    const long exponent = unit + 32L * (top + 1) - leading - 64;
    return magnitudeUp(magnitude_detail::nextUp(value), clampedExponent(exponent));
}

// Bit `position` of the integer limbs[0..count) (zero beyond it).
bool bitAt(const std::uint32_t* limbs, int count, long position) {
    if (position < 0 || position >= 32L * count) return false;
    return ((limbs[position / 32] >> (position % 32)) & 1u) != 0;
}

bool anyBitBelow(const std::uint32_t* limbs, int count, long position) {
    if (position <= 0) return false;
    const long whole = std::min<long>(position / 32, count);
    for (long index = 0; index < whole; ++index)
        if (limbs[index] != 0) return true;
    if (whole < count && position % 32 != 0) {
        const std::uint32_t mask = (std::uint32_t{1} << (position % 32)) - 1;
        return (limbs[whole] & mask) != 0;
    }
    return false;
}

// Bits position .. position + 63 of limbs[0..count) as an integer.
std::uint64_t bitsFrom(const std::uint32_t* limbs, int count, long position) {
    std::uint64_t result = 0;
    for (int bit = 63; bit >= 0; --bit) result = (result << 1) | (bitAt(limbs, count, position + bit) ? 1u : 0u);
    return result;
}

}  // namespace

BigFloat zeroBigFloat() {
    BigFloat result;
    result.count = 0;
    result.exponent = 0;
    result.negative = false;
    return result;
}

BigFloat normalisedFromLimbs(const std::uint32_t* raw, int count, long unitExponent, bool negative, int limbs,
                             Magnitude& error) {
    error = zeroMagnitude;
    const int top = topNonzero(raw, count);
    BigFloat result = zeroBigFloat();
    if (top < 0) return result;
    result.negative = negative;
    const int leading = std::countl_zero(raw[top]);
    const long exponent = unitExponent + 32L * (top + 1) - leading;
    // Limb j of raw shifted left by `leading` bits.
    const auto shifted = [&](int j) -> std::uint32_t {
        const std::uint32_t high = j >= 0 ? raw[j] : 0;
        if (leading == 0) return high;
        const std::uint32_t low = j - 1 >= 0 ? raw[j - 1] : 0;
        return (high << leading) | (low >> (32 - leading));
    };
    const int kept = std::min(limbs, top + 1);
    for (int k = 0; k < kept; ++k) result.limbs[kept - 1 - k] = shifted(top - k);
    bool dropped = false;
    for (int j = top - kept; j >= 0 && !dropped; --j) dropped = shifted(j) != 0;
    int trailing = 0;
    while (trailing < kept && result.limbs[trailing] == 0) ++trailing;
    if (trailing > 0) std::copy(result.limbs + trailing, result.limbs + kept, result.limbs);
    result.count = kept - trailing;
    result.exponent = clampedExponent(exponent);
    if (dropped) error = powerOfTwoMagnitude(clampedExponent(exponent - 32L * limbs));
    return result;
}

BigFloat bigFloatFromDouble(double x) {
    if (x == 0.0) return zeroBigFloat();
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(x), &exponent);  // exact, in [0.5, 1)
    const auto integer = static_cast<std::uint64_t>(fraction * 0x1p53);  // exact: 53 bits
    const std::uint32_t raw[2] = {static_cast<std::uint32_t>(integer), static_cast<std::uint32_t>(integer >> 32)};
    Magnitude unused;
    return normalisedFromLimbs(raw, 2, exponent - 53L, x < 0.0, 2, unused);
}

BigFloat bigFloatFromMagnitude(Magnitude m) {
    if (isZero(m)) return zeroBigFloat();
    BigFloat result = bigFloatFromDouble(m.mantissa);
    result.exponent = clampedExponent(static_cast<long>(result.exponent) + m.exponent);
    return result;
}

BigFloat truncated(const BigFloat& a, int limbs, Magnitude& error) {
    if (a.count <= limbs) {
        error = zeroMagnitude;
        return a;
    }
    return normalisedFromLimbs(a.limbs, a.count, static_cast<long>(a.exponent) - 32L * a.count, a.negative, limbs,
                               error);
}

BigFloat sum(const BigFloat& a, const BigFloat& b, int limbs, Magnitude& error) {
    if (isZero(a)) return truncated(b, limbs, error);
    if (isZero(b)) return truncated(a, limbs, error);
    const BigFloat& larger = a.exponent >= b.exponent ? a : b;
    const BigFloat& smaller = a.exponent >= b.exponent ? b : a;
    // A window of limbs + 2 limbs below the larger operand's top (and one for the carry):
    // the bits of either operand below it are dropped, less than 2^unit each.
    const int window = limbs + 2;
    const long unit = static_cast<long>(larger.exponent) - 32L * window;
    std::uint32_t x[bigFloatMaxLimbs + 3];
    std::uint32_t y[bigFloatMaxLimbs + 3];
    bool dropped = shiftInto(larger.limbs, larger.count, larger.exponent - 32L * larger.count - unit, x, window + 1);
    dropped = shiftInto(smaller.limbs, smaller.count, smaller.exponent - 32L * smaller.count - unit, y, window + 1) ||
              dropped;
    bool negative = larger.negative;
    if (larger.negative == smaller.negative)
        addLimbs(x, y, window + 1);
    else if (absoluteDifference(x, y, window + 1))
        negative = smaller.negative;
    BigFloat result = normalisedFromLimbs(x, window + 1, unit, negative, limbs, error);
    if (dropped) error = addUp(error, powerOfTwoMagnitude(clampedExponent(unit + 1)));
    return result;
}

BigFloat product(const BigFloat& a, const BigFloat& b, int limbs, Magnitude& error) {
    if (isZero(a) || isZero(b)) {
        error = zeroMagnitude;
        return zeroBigFloat();
    }
    std::uint32_t raw[2 * bigFloatMaxLimbs];
    multiplyLimbs(a.limbs, a.count, b.limbs, b.count, raw);
    const long unit = (static_cast<long>(a.exponent) - 32L * a.count) + (static_cast<long>(b.exponent) - 32L * b.count);
    return normalisedFromLimbs(raw, a.count + b.count, unit, a.negative != b.negative, limbs, error);
}

BigFloat quotient(const BigFloat& a, const BigFloat& b, int limbs, Magnitude& error) {
    if (isZero(a)) {
        error = zeroMagnitude;
        return zeroBigFloat();
    }
    // The numerator's top limbs: limbs + 1 + b.count of them give a quotient of limbs + 2
    // limbs, at least limbs + 1 of them significant (the mantissas' ratio is in (1/2, 2)).
    const int numeratorCount = limbs + 1 + b.count;
    std::uint32_t u[2 * bigFloatMaxLimbs + 4];
    std::fill(u, u + numeratorCount + 1, 0u);
    bool numeratorDropped = false;
    if (a.count <= numeratorCount) {
        std::copy(a.limbs, a.limbs + a.count, u + numeratorCount - a.count);
    } else {
        const int skipped = a.count - numeratorCount;
        std::copy(a.limbs + skipped, a.limbs + a.count, u);
        for (int index = 0; index < skipped && !numeratorDropped; ++index) numeratorDropped = a.limbs[index] != 0;
    }
    const long numeratorUnit = static_cast<long>(a.exponent) - 32L * numeratorCount;
    const long divisorUnit = static_cast<long>(b.exponent) - 32L * b.count;
    const long quotientUnit = numeratorUnit - divisorUnit;
    std::uint32_t q[2 * bigFloatMaxLimbs + 4] = {};
    const int quotientCount = numeratorCount - b.count + 1;
    bool remainder = false;
    if (b.count == 1) {
        remainder = divideBySmall(u, numeratorCount, b.limbs[0], q);
    } else {
        divideLimbs(u, b.limbs, b.count, numeratorCount - b.count, q);
        remainder = topNonzero(u, b.count) >= 0;
    }
    BigFloat result = normalisedFromLimbs(q, quotientCount, quotientUnit, a.negative != b.negative, limbs, error);
    if (remainder) error = addUp(error, powerOfTwoMagnitude(clampedExponent(quotientUnit)));
    // The dropped part of the numerator (below 2^numeratorUnit) over |b| >= 2^(b.exponent - 1).
    if (numeratorDropped) error = addUp(error, powerOfTwoMagnitude(clampedExponent(numeratorUnit - b.exponent + 1)));
    return result;
}

BigFloat quotient(const BigFloat& a, std::uint32_t divisor, int limbs, Magnitude& error) {
    if (isZero(a)) {
        error = zeroMagnitude;
        return zeroBigFloat();
    }
    const int numeratorCount = limbs + 2;
    std::uint32_t u[bigFloatMaxLimbs + 2];
    Magnitude dropped = zeroMagnitude;
    const BigFloat top = truncated(a, numeratorCount, dropped);  // dropped/divisor <= dropped
    std::fill(u, u + numeratorCount, 0u);
    std::copy(top.limbs, top.limbs + top.count, u + numeratorCount - top.count);
    const long unit = static_cast<long>(top.exponent) - 32L * numeratorCount;
    std::uint32_t q[bigFloatMaxLimbs + 2] = {};
    const bool remainder = divideBySmall(u, numeratorCount, divisor, q);
    BigFloat result = normalisedFromLimbs(q, numeratorCount, unit, a.negative, limbs, error);
    if (remainder) error = addUp(error, powerOfTwoMagnitude(clampedExponent(unit)));
    error = addUp(error, dropped);
    return result;
}

BigFloat squareRoot(const BigFloat& a, int limbs, Magnitude& error) {
    error = zeroMagnitude;
    if (isZero(a)) return zeroBigFloat();
    const BigFloat radicand = absolute(a);
    // A double first estimate, then Newton's steps s <- (s + a/s)/2 at limbs + 1 limbs, each
    // doubling the correct bits from about 50.
    ScaledDoubleDouble leading = leadingDoubleDouble(radicand);
    double fraction = leading.value.high;
    long exponent = leading.exponent;
    if (exponent % 2 != 0) {
        fraction *= 0.5;
        exponent += 1;
    }
    BigFloat root = bigFloatFromDouble(std::sqrt(fraction));
    root.exponent = clampedExponent(root.exponent + exponent / 2);
    const int work = limbs + 1;
    Magnitude unused;
    for (int correctBits = 50; correctBits < 32 * work + 64; correctBits *= 2) {
        const BigFloat ratio = quotient(radicand, root, work, unused);
        root = sum(root, ratio, work, unused);
        root.exponent -= 1;
    }
    root = truncated(root, limbs, unused);
    // |sqrt(a) - s| = |a - s²|/(sqrt(a) + s) <= |a - s²|/s, with a - s² formed exactly.
    std::uint32_t square[2 * bigFloatMaxLimbs];
    multiplyLimbs(root.limbs, root.count, root.limbs, root.count, square);
    const long squareUnit = 2 * (static_cast<long>(root.exponent) - 32L * root.count);
    const long radicandUnit = static_cast<long>(radicand.exponent) - 32L * radicand.count;
    const long unit = std::min(squareUnit, radicandUnit);
    const long topBit = std::max(2L * root.exponent, static_cast<long>(radicand.exponent)) + 1;
    const int length = static_cast<int>((topBit - unit) / 32 + 2);
    std::uint32_t x[bufferLimbs];
    std::uint32_t y[bufferLimbs];
    shiftInto(square, 2 * root.count, squareUnit - unit, x, length);
    shiftInto(radicand.limbs, radicand.count, radicandUnit - unit, y, length);
    absoluteDifference(x, y, length);
    error = divideUp(magnitudeUpOfLimbs(x, length, unit), magnitudeDown(root));
    return root;
}

int compareMagnitudes(const BigFloat& a, const BigFloat& b) {
    if (isZero(a) || isZero(b)) return isZero(a) ? (isZero(b) ? 0 : -1) : 1;
    if (a.exponent != b.exponent) return a.exponent < b.exponent ? -1 : 1;
    const int longest = std::max(a.count, b.count);
    for (int k = 0; k < longest; ++k) {
        const std::uint32_t x = k < a.count ? a.limbs[a.count - 1 - k] : 0;
        const std::uint32_t y = k < b.count ? b.limbs[b.count - 1 - k] : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

Magnitude magnitudeUp(const BigFloat& a) {
    return magnitudeUpOfLimbs(a.limbs, a.count, static_cast<long>(a.exponent) - 32L * a.count);
}

Magnitude magnitudeDown(const BigFloat& a) {
    if (isZero(a)) return zeroMagnitude;
    const std::uint32_t high = a.limbs[a.count - 1];
    const std::uint32_t low = a.count >= 2 ? a.limbs[a.count - 2] : 0;
    // high:low is |a| truncated to 64 bits; one rounding and a step down keep below it.
    const double value = static_cast<double>(high) * 0x1p32 + static_cast<double>(low);
    return magnitudeUp(magnitude_detail::nextDown(value), clampedExponent(a.exponent - 64L));
}

ScaledDoubleDouble leadingDoubleDouble(const BigFloat& a) {
    if (isZero(a)) return {{0.0, 0.0}, 0};
    std::uint32_t top[4] = {};
    for (int k = 0; k < 4 && k < a.count; ++k) top[3 - k] = a.limbs[a.count - 1 - k];
    const DoubleDouble high = twoSum(static_cast<double>(top[3]) * 0x1p32, static_cast<double>(top[2]));
    const double low = high.low + (static_cast<double>(top[1]) * 0x1p-32 + static_cast<double>(top[0]) * 0x1p-64);
    const DoubleDouble value = fastTwoSum(high.high * 0x1p-64, low * 0x1p-64);
    const double sign = a.negative ? -1.0 : 1.0;
    return {{sign * value.high, sign * value.low}, a.exponent};
}

GridPoint nearestGridPoint(const BigFloat& a) {
    if (isZero(a)) return {0, -1074, false};
    const long exponent = a.exponent;  // |a| in [2^(exponent-1), 2^exponent)
    if (exponent - 1 > 1023) return {0, 0, true};
    const long unit = exponent - 1 >= -1022 ? exponent - 53 : -1074;  // the doubles' spacing there
    const long aUnit = exponent - 32L * a.count;
    const long shift = unit - aUnit;  // bits of a's integer below the grid
    std::uint64_t integer = 0;
    if (shift <= 0) {
        integer = bitsFrom(a.limbs, a.count, 0) << -shift;  // a fits in 53 bits
    } else {
        integer = bitsFrom(a.limbs, a.count, shift);
        const bool half = bitAt(a.limbs, a.count, shift - 1);
        const bool sticky = anyBitBelow(a.limbs, a.count, shift - 1);
        if (half && (sticky || (integer & 1u) != 0)) ++integer;
    }
    long gridExponent = unit;
    if (integer == (std::uint64_t{1} << 53)) {
        integer >>= 1;
        gridExponent += 1;
    }
    if (gridExponent + 53 > 1024) return {0, 0, true};
    return {integer, static_cast<int>(gridExponent), false};
}

double nearestDouble(const BigFloat& a) {
    const double sign = a.negative ? -1.0 : 1.0;
    const GridPoint point = nearestGridPoint(a);
    if (point.overflow) return sign * std::numeric_limits<double>::infinity();
    return sign * scaledByPowerOfTwo(static_cast<double>(point.integer), point.exponent);  // exact
}

}  // namespace kx
