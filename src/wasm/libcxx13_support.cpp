// to_chars and from_chars for double on libc++ 13. The shortest text comes from a table of
// 126-bit powers of ten with no reading back; literals are read through the same table
// when the product decides the rounding, and otherwise exactly in 128-bit or big integers;
// the rare rest goes to the C library's printf and strtod (musl's: exact decimal
// conversion, correctly rounded reading, no locale, but slow in software binary128).
// The differential test (tools/libcxx13_support_check) builds this unit natively with
// KXCALC_SUPPORT_NAMESPACE naming a namespace of its own, to compare it with libstdc++.
#include "wasm/libcxx13_support.h"

#if (defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000) || defined(KXCALC_SUPPORT_NAMESPACE)

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "wasm/powers_of_ten_128.h"

#ifdef KXCALC_SUPPORT_NAMESPACE
namespace KXCALC_SUPPORT_NAMESPACE {
using std::chars_format;
using std::errc;
using std::from_chars_result;
using std::to_chars_result;
#else
namespace std {
#endif
namespace {

using Unsigned128 = unsigned __int128;

// The text of printf's conversion letter for a format, or 0 for one not provided.
char conversionLetter(chars_format format) {
    switch (format) {
        case chars_format::scientific: return 'e';
        case chars_format::fixed: return 'f';
        case chars_format::general: return 'g';
        case chars_format::hex: return 'a';
    }
    return 0;
}

to_chars_result copyOut(char* first, char* last, const char* text, int length) {
    if (length < 0 || length > last - first) return {last, errc::value_too_large};
    std::memcpy(first, text, static_cast<std::size_t>(length));
    return {first + length, errc{}};
}

// printf of one double; a fixed-format text of a huge value needs about 310 digits.
int printOne(char (&text)[400], char letter, int precision, double value) {
    const char format[] = {'%', '.', '*', letter, '\0'};
    return std::snprintf(text, sizeof text, format, precision, value);
}

Unsigned128 powerOfTen(int exponent) {  // exponent 0 to 38
    Unsigned128 power = 1;
    for (int k = 0; k < exponent; ++k) power *= 10;
    return power;
}

// numerator / divisor for a divisor below 2^49, in steps of 15 bits that 64-bit division
// takes: the library routine for 128-bit division goes bit by bit on WebAssembly.
Unsigned128 divideSmall(Unsigned128 numerator, std::uint64_t divisor, std::uint64_t& remainder) {
    Unsigned128 quotient = 0;
    std::uint64_t rest = 0;
    for (int low = 120; low >= 0; low -= 15) {  // bits 120 to 127, then 15 at a time
        const int width = low == 120 ? 8 : 15;
        const auto chunk = static_cast<std::uint64_t>(numerator >> low) & ((std::uint64_t{1} << width) - 1);
        rest = (rest << width) | chunk;
        quotient = (quotient << width) | (rest / divisor);
        rest %= divisor;
    }
    remainder = rest;
    return quotient;
}

std::uint64_t powerOfFive(int exponent) {  // exponent 0 to 27: below 2^63 (below 2^49 to 21)
    std::uint64_t power = 1;
    for (int k = 0; k < exponent; ++k) power *= 5;
    return power;
}

int bitLength(Unsigned128 value) {
    int length = 0;
    for (; value != 0; value >>= 1) ++length;
    return length;
}

// floor(exponent * log2 10), floor(exponent * log10 2) and floor(log10(3/4 * 2^exponent)),
// exact over the exponents of doubles.
int floorLog2PowerOfTen(int exponent) { return (exponent * 217706) >> 16; }
int floorLog10PowerOfTwo(int exponent) { return static_cast<int>((exponent * std::int64_t{661971961083}) >> 41); }
int floorLog10ThreeQuartersPowerOfTwo(int exponent) {
    return static_cast<int>((exponent * std::int64_t{661971961083} - std::int64_t{274743187321}) >> 41);
}

// g for 10^exponent: (g - 1) * 2^r <= 10^exponent < g * 2^r, r = floorLog2PowerOfTen - 125.
Unsigned128 powerOfTen126(int exponent) {
    const auto& entry = kx::wasm::powersOfTen128[exponent - kx::wasm::powersOfTenFirst];
    return (static_cast<Unsigned128>(entry[0]) << 64) | entry[1];
}

// g * scaled / 2^127 rounded to odd: its integer part, with the lowest bit set when a
// fraction was cut off (as far as the 63-bit halves of g show it).
std::uint64_t roundToOdd(Unsigned128 g, std::uint64_t scaled) {
    constexpr std::uint64_t mask63 = (std::uint64_t{1} << 63) - 1;
    const auto high = static_cast<std::uint64_t>(g >> 63);
    const auto low = static_cast<std::uint64_t>(g) & mask63;
    const auto lowProduct = static_cast<std::uint64_t>((static_cast<Unsigned128>(low) * scaled) >> 64);
    const Unsigned128 highProduct = static_cast<Unsigned128>(high) * scaled;
    const std::uint64_t middle = (static_cast<std::uint64_t>(highProduct) >> 1) + lowProduct;
    const std::uint64_t integer = static_cast<std::uint64_t>(highProduct >> 64) + (middle >> 63);
    return integer | (((middle & mask63) + mask63) >> 63);
}

struct ShortestDecimal {
    std::uint64_t digits;  // no trailing zeros
    int exponent;          // of the last digit
};

// The shortest decimal in the rounding interval of significand * 2^binaryExponent, the
// nearer of two when there are two: the interval's ends and the value are scaled by
// 10^-k, k = floor(log10 of the interval's width), to four times their size in units of
// 10^k, rounded to odd, which is exact enough to compare them with the candidates
// 10 * floor(s / 10), the one above it, and s = floor(value / 10^k), s + 1. Ties of the
// value between s and s + 1 go to the even one.
ShortestDecimal shortestInInterval(int binaryExponent, std::uint64_t significand) {
    constexpr std::uint64_t smallestNormal = std::uint64_t{1} << 52;
    const std::uint64_t open = significand & 1;  // an odd significand's interval excludes its ends
    const std::uint64_t scaled = significand << 2;
    const std::uint64_t scaledAbove = scaled + 2;
    std::uint64_t scaledBelow = scaled - 2;
    int k = floorLog10PowerOfTwo(binaryExponent);
    if (significand == smallestNormal && binaryExponent != -1074) {  // the gap below is half as wide
        scaledBelow = scaled - 1;
        k = floorLog10ThreeQuartersPowerOfTwo(binaryExponent);
    }
    const int shift = binaryExponent + floorLog2PowerOfTen(-k) + 2;
    const Unsigned128 g = powerOfTen126(-k);
    const std::uint64_t value = roundToOdd(g, scaled << shift);
    const std::uint64_t below = roundToOdd(g, scaledBelow << shift);
    const std::uint64_t above = roundToOdd(g, scaledAbove << shift);
    const std::uint64_t s = value >> 2;
    const std::uint64_t tensBelow = s / 10 * 10;
    const std::uint64_t tensAbove = tensBelow + 10;
    const bool tensBelowIn = below + open <= tensBelow << 2;
    const bool tensAboveIn = (tensAbove << 2) + open <= above;
    ShortestDecimal result{0, k};
    if (tensBelowIn != tensAboveIn) {
        result.digits = tensBelowIn ? tensBelow : tensAbove;
    } else {
        const bool sIn = below + open <= s << 2;
        const bool nextIn = ((s + 1) << 2) + open <= above;
        if (sIn != nextIn) {
            result.digits = sIn ? s : s + 1;
        } else {
            const auto fromMiddle = static_cast<std::int64_t>(value - ((2 * s + 1) << 1));
            result.digits = fromMiddle < 0 || (fromMiddle == 0 && (s & 1) == 0) ? s : s + 1;
        }
    }
    while (result.digits % 10 == 0) {
        result.digits /= 10;
        ++result.exponent;
    }
    return result;
}

// The shortest decimal that reads back as a positive finite double.
ShortestDecimal shortestDecimal(double magnitude) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const auto biasedExponent = static_cast<int>(bits >> 52);
    if (biasedExponent == 0) return shortestInInterval(-1074, fraction);
    const std::uint64_t significand = fraction | (std::uint64_t{1} << 52);
    const int places = 1075 - biasedExponent;  // binary places of the significand
    if (places > 0 && places < 53) {           // an integer below 2^53 is its own shortest form
        const std::uint64_t whole = significand >> places;
        if (whole << places == significand) {
            ShortestDecimal result{whole, 0};
            while (result.digits % 10 == 0) {
                result.digits /= 10;
                ++result.exponent;
            }
            return result;
        }
    }
    return shortestInInterval(-places, significand);
}

// The double nearest to digits * 10^exponent from the product of the digits with the
// table's power of ten, when that product decides the rounding: it exceeds the exact one by
// less than one unit of its high 128 bits, so the bits under the 53 kept must stay clear of
// zero, of the half and of the next unit by more than that. False otherwise, and for a
// result that overflows or underflows to zero.
bool nearestDoubleFromTable(std::uint64_t digits, int exponent, double& value) {
    if (digits == 0 || exponent < kx::wasm::powersOfTenFirst || exponent > kx::wasm::powersOfTenLast) return false;
    const int leadingZeros = std::countl_zero(digits);
    const std::uint64_t normalized = digits << leadingZeros;
    const Unsigned128 g = powerOfTen126(exponent);
    const Unsigned128 lowProduct = static_cast<Unsigned128>(normalized) * static_cast<std::uint64_t>(g);
    const Unsigned128 high = static_cast<Unsigned128>(normalized) * static_cast<std::uint64_t>(g >> 64) + (lowProduct >> 64);
    int below = (static_cast<std::uint64_t>(high >> 64) >> 61 != 0 ? 126 : 125) - 53;  // high is in [2^124, 2^126)
    int binaryExponent = below + 64 + floorLog2PowerOfTen(exponent) - 125 - leadingZeros;
    const bool subnormal = binaryExponent < -1074;  // fewer bits kept, the last one worth 2^-1074
    if (subnormal) {
        below += -1074 - binaryExponent;
        binaryExponent = -1074;
        if (below > 120) return false;  // below half the smallest subnormal
    }
    const Unsigned128 unit = static_cast<Unsigned128>(1) << below;
    const Unsigned128 rest = high & (unit - 1);
    const Unsigned128 half = unit >> 1;
    if (rest < 2 || rest + 3 > unit || (rest + 2 >= half && rest <= half + 2)) return false;
    std::uint64_t significand = static_cast<std::uint64_t>(high >> below) + (rest > half ? 1 : 0);
    if (subnormal) {  // the bits of a subnormal are its significand; rounded up to 2^52, the smallest normal
        if (significand == 0) return false;
        value = std::bit_cast<double>(significand);
        return true;
    }
    if (significand == std::uint64_t{1} << 53) {
        significand >>= 1;
        ++binaryExponent;
    }
    if (binaryExponent > 971) return false;
    value = std::bit_cast<double>((static_cast<std::uint64_t>(binaryExponent + 1075) << 52) |
                                  (significand & ((std::uint64_t{1} << 52) - 1)));
    return true;
}

constexpr std::uint64_t powersOfTen64[] = {1u, 10u, 100u, 1000u, 10000u, 100000u, 1000000u, 10000000u, 100000000u,
                                          1000000000u, 10000000000u, 100000000000u, 1000000000000u, 10000000000000u,
                                          100000000000000u, 1000000000000000u, 10000000000000000u,
                                          100000000000000000u, 1000000000000000000u};

// A positive finite double as significand * 2^binaryExponent, the significand an integer
// (with its hidden bit when the double is normal).
struct BinaryParts {
    std::uint64_t significand;
    int binaryExponent;
};
BinaryParts binaryParts(double magnitude) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const auto biasedExponent = static_cast<int>(bits >> 52);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (biasedExponent == 0) return {fraction, -1074};
    return {fraction | (std::uint64_t{1} << 52), biasedExponent - 1075};
}

// Stores count rounded digits and the decimal exponent of the first; digits that rounded up
// to 10^count become 10^(count - 1) one decimal place higher.
void storeRounded(std::uint64_t rounded, int decimalExponent, int count, std::uint64_t& digits, int& exponent) {
    const bool carried = rounded == powersOfTen64[count];
    digits = carried ? powersOfTen64[count - 1] : rounded;
    exponent = carried ? decimalExponent + 1 : decimalExponent;
}

// A positive finite double rounded to count significant digits (1 to 17), half to even:
// digits has count digits and exponent is the decimal exponent of the first. The double
// times 10^scale, with scale such that it has count digits before the point, comes from the
// table's power of ten, whose product exceeds the exact one by less than a unit of its high
// 128 bits: false when the bits after the point lie that close to zero, a half or one
// (exact ties among them), and the caller converts exactly.
bool roundedDigitsFromTable(double magnitude, int count, std::uint64_t& digits, int& exponent) {
    const auto [significand, binaryExponent] = binaryParts(magnitude);
    const int leadingZeros = std::countl_zero(significand);
    const std::uint64_t normalized = significand << leadingZeros;
    // magnitude lies in [2^top, 2^(top + 1)): its decimal exponent is this or one more.
    int decimalExponent = floorLog10PowerOfTwo(binaryExponent + 63 - leadingZeros);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int scale = count - 1 - decimalExponent;
        if (scale < kx::wasm::powersOfTenFirst || scale > kx::wasm::powersOfTenLast) return false;
        const Unsigned128 g = powerOfTen126(scale);
        const Unsigned128 lowProduct = static_cast<Unsigned128>(normalized) * static_cast<std::uint64_t>(g);
        const Unsigned128 high = static_cast<Unsigned128>(normalized) * static_cast<std::uint64_t>(g >> 64) + (lowProduct >> 64);
        const int fractionBits = 125 - 64 - binaryExponent + leadingZeros - floorLog2PowerOfTen(scale);
        if (fractionBits < 8 || fractionBits > 127) return false;
        const auto whole = static_cast<std::uint64_t>(high >> fractionBits);
        if (whole >= powersOfTen64[count]) {
            ++decimalExponent;
            continue;
        }
        const Unsigned128 unit = static_cast<Unsigned128>(1) << fractionBits;
        const Unsigned128 rest = high & (unit - 1);
        const Unsigned128 half = unit >> 1;
        if (rest < 2 || rest + 3 > unit || (rest + 2 >= half && rest <= half + 2)) return false;
        storeRounded(whole + (rest > half ? 1 : 0), decimalExponent, count, digits, exponent);
        return true;
    }
    return false;
}

// As roundedDigitsFromTable, exactly, for the doubles significand * 2^binaryExponent whose
// scale is 0 to 27: the scaled value significand * 5^scale * 2^(binaryExponent + scale) has
// a numerator below 2^116. It decides the exact cases the table leaves: ties, and values
// with nothing after the point.
bool roundedDigitsExactly(double magnitude, int count, std::uint64_t& digits, int& exponent) {
    const auto [significand, binaryExponent] = binaryParts(magnitude);
    int decimalExponent = floorLog10PowerOfTwo(binaryExponent + 63 - std::countl_zero(significand));
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int scale = count - 1 - decimalExponent;
        if (scale < 0 || scale > 27) return false;
        const Unsigned128 scaled = static_cast<Unsigned128>(significand) * powerOfFive(scale);
        const int shift = -(binaryExponent + scale);  // binary places of the scaled value
        if (shift < -12 || shift > 127) return false;
        Unsigned128 whole = shift <= 0 ? scaled << -shift : scaled >> shift;
        if (whole >= powersOfTen64[count]) {
            ++decimalExponent;
            continue;
        }
        if (shift > 0) {
            const Unsigned128 rest = scaled & ((static_cast<Unsigned128>(1) << shift) - 1);
            const Unsigned128 half = static_cast<Unsigned128>(1) << (shift - 1);
            if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
        }
        storeRounded(static_cast<std::uint64_t>(whole), decimalExponent, count, digits, exponent);
        return true;
    }
    return false;
}

// The double nearest to digits * 10^exponent, computed exactly in 128-bit integers when
// that is possible (a positive exponent with a product below 2^128, or a divisor 10^-exponent
// of at most 10^21); false otherwise. musl's strtod, the general route, works in software
// binary128 arithmetic on WebAssembly and is slow.
bool nearestDouble(std::uint64_t digits, int exponent, double& value) {
    if (digits == 0) {
        value = 0.0;
        return true;
    }
    if (exponent >= 0) {
        if (exponent > 38) return false;
        Unsigned128 product = digits;
        for (int k = 0; k < exponent; ++k) {
            if (product > ~Unsigned128{0} / 10) return false;
            product *= 10;
        }
        value = static_cast<double>(product);  // rounded to nearest, ties to even
        return true;
    }
    if (exponent < -21) return false;
    const int places = -exponent;
    const int shift = 128 - bitLength(digits);  // the numerator fills 128 bits
    const Unsigned128 numerator = static_cast<Unsigned128>(digits) << shift;
    // Divided by 10^places as by 5^places and then 2^places; at least 2^57 (10^21 is below
    // 2^70): 53 bits and 4 to round by.
    std::uint64_t remainder = 0;
    const Unsigned128 byFive = divideSmall(numerator, powerOfFive(places), remainder);
    Unsigned128 quotient = byFive >> places;
    if (remainder != 0 || (byFive & ((static_cast<Unsigned128>(1) << places) - 1)) != 0) {
        quotient |= 1;  // sticky: the quotient is not exact
    }
    // The quotient has at least 64 bits, so its rounding to a double is the value's rounding;
    // the result is at least 1e-19, a normal number, so the power of two scales it exactly.
    value = static_cast<double>(quotient) * std::bit_cast<double>(static_cast<std::uint64_t>(1023 - shift) << 52);
    return true;
}

// A nonnegative integer in 32-bit limbs, least significant first: room for 10^400 * 2^128.
struct BigNumber {
    std::uint32_t limb[48];
    int size = 0;

    explicit BigNumber(std::uint64_t value) {
        while (value != 0) {
            limb[size++] = static_cast<std::uint32_t>(value);
            value >>= 32;
        }
    }

    bool multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (int k = 0; k < size; ++k) {
            carry += static_cast<std::uint64_t>(limb[k]) * factor;
            limb[k] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry == 0) return true;
        if (size == 48) return false;
        limb[size++] = static_cast<std::uint32_t>(carry);
        return true;
    }

    bool multiplyByPowerOf(std::uint32_t base, std::uint32_t largestPower, int powerCount, int exponent) {
        for (; exponent >= powerCount; exponent -= powerCount) {
            if (!multiply(largestPower)) return false;
        }
        std::uint32_t rest = 1;
        for (int k = 0; k < exponent; ++k) rest *= base;
        return multiply(rest);
    }

    int bitLength() const {
        if (size == 0) return 0;
        int top = 32;
        while ((limb[size - 1] >> (top - 1)) == 0) --top;
        return 32 * (size - 1) + top;
    }

    bool bit(int position) const { return position < 32 * size && ((limb[position / 32] >> (position % 32)) & 1) != 0; }

    // The bits from position upward (at most 64 of them), and whether a bit below is set.
    std::uint64_t bitsFrom(int position, bool& lowerSet) const {
        std::uint64_t bits = 0;
        for (int k = 63; k >= 0; --k) bits = (bits << 1) | (bit(position + k) ? 1 : 0);
        lowerSet = false;
        for (int k = 0; k < position / 32 && !lowerSet; ++k) lowerSet = limb[k] != 0;
        if (position % 32 != 0 && position / 32 < size) lowerSet = lowerSet || (limb[position / 32] & ((1u << (position % 32)) - 1)) != 0;
        return bits;
    }

    bool shiftLeft(int bits) {
        const int limbs = bits / 32;
        const int rest = bits % 32;
        if (size + limbs + 1 > 48) return false;
        limb[size] = 0;
        for (int k = size; k >= 0; --k) {
            const std::uint64_t wide = (static_cast<std::uint64_t>(limb[k]) << rest) |
                                       (k > 0 && rest != 0 ? limb[k - 1] >> (32 - rest) : 0);
            limb[k + limbs] = static_cast<std::uint32_t>(wide);
        }
        for (int k = 0; k < limbs; ++k) limb[k] = 0;
        size += limbs + 1;
        while (size > 0 && limb[size - 1] == 0) --size;
        return true;
    }

    // this -= other * factor; false (and this unchanged in meaning) when it would go negative.
    bool subtractProduct(const BigNumber& other, std::uint64_t factor) {
        BigNumber product = other;
        BigNumber high = other;
        if (!product.multiply(static_cast<std::uint32_t>(factor)) || !high.multiply(static_cast<std::uint32_t>(factor >> 32)) ||
            !high.shiftLeft(32)) {
            return false;
        }
        if (compare(product.plus(high)) < 0) return false;
        subtract(product.plus(high));
        return true;
    }

    BigNumber plus(const BigNumber& other) const {
        BigNumber sum(0);
        std::uint64_t carry = 0;
        const int length = std::max(size, other.size);
        for (int k = 0; k < length; ++k) {
            carry += static_cast<std::uint64_t>(k < size ? limb[k] : 0) + (k < other.size ? other.limb[k] : 0);
            sum.limb[k] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        sum.size = length;
        if (carry != 0 && length < 48) sum.limb[sum.size++] = static_cast<std::uint32_t>(carry);
        return sum;
    }

    int compare(const BigNumber& other) const {
        if (size != other.size) return size < other.size ? -1 : 1;
        for (int k = size - 1; k >= 0; --k) {
            if (limb[k] != other.limb[k]) return limb[k] < other.limb[k] ? -1 : 1;
        }
        return 0;
    }

    void subtract(const BigNumber& other) {  // other <= this
        std::int64_t borrow = 0;
        for (int k = 0; k < size; ++k) {
            std::int64_t difference = static_cast<std::int64_t>(limb[k]) - (k < other.size ? other.limb[k] : 0) - borrow;
            borrow = difference < 0 ? 1 : 0;
            limb[k] = static_cast<std::uint32_t>(difference + (borrow << 32));
        }
        while (size > 0 && limb[size - 1] == 0) --size;
    }
};

// x * 2^exponent for a result that is a normal double, in steps that stay exact.
double scaleByPowerOfTwo(double x, int exponent) {
    while (exponent > 600) {
        x *= 0x1p600;
        exponent -= 600;
    }
    while (exponent < -600) {
        x *= 0x1p-600;
        exponent += 600;
    }
    return x * std::bit_cast<double>(static_cast<std::uint64_t>(1023 + exponent) << 52);
}

// The double nearest to digits * 10^exponent for the exponents beyond 128-bit arithmetic, in
// big integers: the product for a positive exponent, a 64-bit quotient by 5^-exponent for a
// negative one. False when the result is not a normal double (strtod then decides).
bool nearestDoubleBig(std::uint64_t digits, int exponent, double& value) {
    if (exponent > 0) {
        if (exponent > 310) return false;
        BigNumber product(digits);
        if (!product.multiplyByPowerOf(10, 1'000'000'000, 9, exponent)) return false;
        const int length = product.bitLength();
        bool lowerSet = false;
        std::uint64_t top = product.bitsFrom(length - 64, lowerSet);
        if (lowerSet) top |= 1;  // sticky: 11 bits below the 53 kept decide the rounding
        value = scaleByPowerOfTwo(static_cast<double>(top), length - 64);
        return std::isfinite(value);
    }
    const int places = -exponent;
    if (places > 345) return false;
    BigNumber divisor(1);
    if (!divisor.multiplyByPowerOf(5, 1'220'703'125, 13, places)) return false;  // 5^13
    BigNumber remainder(digits);
    // digits * 2^shift / 5^places lies in (2^62, 2^64).
    const int shift = divisor.bitLength() - remainder.bitLength() + 63;
    if (shift < 0 || !remainder.shiftLeft(shift)) return false;
    // The quotient from estimates: the remainder over 2^low, divided by the divisor's top
    // bits (the divisor over 2^low, below 2^48) plus one, is an underestimate; a few rounds
    // bring the remainder below the divisor.
    const int low = std::max(0, divisor.bitLength() - 48);
    bool ignored = false;
    const std::uint64_t divisorTop = divisor.bitsFrom(low, ignored) + 1;
    std::uint64_t quotient = 0;
    for (int round = 0; round < 8 && remainder.compare(divisor) >= 0; ++round) {
        const Unsigned128 scaled = (static_cast<Unsigned128>(remainder.bitsFrom(low + 64, ignored)) << 64) |
                                   remainder.bitsFrom(low, ignored);
        std::uint64_t unused = 0;
        const Unsigned128 estimate = divideSmall(scaled, divisorTop, unused);
        if (estimate >> 64 != 0) return false;  // not reached: the quotient is below 2^64
        const auto step = std::max<std::uint64_t>(1, static_cast<std::uint64_t>(estimate));
        if (!remainder.subtractProduct(divisor, step)) return false;
        quotient += step;
    }
    if (remainder.compare(divisor) >= 0 || quotient < (std::uint64_t{1} << 62)) return false;
    if (remainder.size != 0) quotient |= 1;  // sticky
    const int scale = -(shift + places);
    if (62 + scale < -1022) return false;  // possibly subnormal: rounded elsewhere
    value = scaleByPowerOfTwo(static_cast<double>(quotient), scale);
    return true;
}

// The leading decimal digits of a positive double's exact value, for the values whose
// exact form fits 128-bit arithmetic: integers below 2^75 (all their digits), and values
// below 1 with at most 120 binary places (their first 18 significant digits, and whether
// anything but zeros follows). False for the others.
struct ExactDigits {
    char digits[40];
    int length;
    bool moreFollow;  // a nonzero digit follows the ones held
    int exponent;     // the decimal exponent of the first digit
};

bool exactDigits(double magnitude, ExactDigits& exact) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const auto biasedExponent = static_cast<int>(bits >> 52);
    if (biasedExponent == 0 || biasedExponent == 0x7ff) return false;  // subnormal, infinite, NaN
    const std::uint64_t significand = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int binaryExponent = biasedExponent - 1075;  // magnitude = significand * 2^binaryExponent
    exact.moreFollow = false;
    exact.length = 0;
    if (binaryExponent >= 0) {
        if (binaryExponent > 74) return false;
        Unsigned128 whole = static_cast<Unsigned128>(significand) << binaryExponent;
        constexpr std::uint64_t tenToThe19 = 10'000'000'000'000'000'000u;
        std::uint64_t remainder = 0;  // whole / 10^19 is whole / 5^19 / 2^19, below 2^64: whole < 2^127
        const auto high = static_cast<std::uint64_t>(divideSmall(whole, powerOfFive(19), remainder) >> 19);
        auto low = static_cast<std::uint64_t>(whole - static_cast<Unsigned128>(high) * tenToThe19);
        char reversed[40] = {};
        int count = 0;
        for (int k = 0; k < 19 && (high != 0 || low != 0); ++k, low /= 10) reversed[count++] = static_cast<char>('0' + low % 10);
        if (high != 0) {
            while (count < 19) reversed[count++] = '0';
            for (std::uint64_t part = high; part != 0; part /= 10) reversed[count++] = static_cast<char>('0' + part % 10);
        }
        for (int k = 0; k < count; ++k) exact.digits[k] = reversed[count - 1 - k];
        exact.length = count;
        exact.exponent = count - 1;
        return true;
    }
    const int shift = -binaryExponent;
    if (magnitude >= 1.0 || shift > 120) return false;
    const Unsigned128 mask = (static_cast<Unsigned128>(1) << shift) - 1;
    Unsigned128 rest = significand;  // the value is rest / 2^shift
    int exponent = -1;
    while (exact.length < 18 && rest != 0) {
        rest *= 10;
        const auto digit = static_cast<char>(rest >> shift);
        rest &= mask;
        if (exact.length == 0 && digit == 0) {
            --exponent;
            continue;
        }
        exact.digits[exact.length++] = static_cast<char>('0' + digit);
    }
    exact.moreFollow = rest != 0;
    exact.exponent = exponent;
    return true;
}

// The exact digits cut to count significant digits: digits has count digits, exponent is
// the decimal exponent of the first; true when something nonzero was cut off.
bool truncateDigits(const ExactDigits& exact, int count, std::uint64_t& digits, int& exponent) {
    digits = 0;
    for (int k = 0; k < count; ++k) digits = digits * 10 + static_cast<std::uint64_t>(k < exact.length ? exact.digits[k] - '0' : 0);
    exponent = exact.exponent;
    bool cut = exact.moreFollow;
    for (int k = count; k < exact.length && !cut; ++k) cut = exact.digits[k] != '0';
    return cut;
}

// The count-digit decimal just above the truncated one.
void nextDigits(int count, std::uint64_t& digits, int& exponent) {
    if (++digits == static_cast<std::uint64_t>(powerOfTen(count))) {
        digits = static_cast<std::uint64_t>(powerOfTen(count - 1));
        ++exponent;
    }
}

// The exact digits rounded to count significant digits, half to even.
void roundDigits(const ExactDigits& exact, int count, std::uint64_t& digits, int& exponent) {
    if (!truncateDigits(exact, count, digits, exponent) || count >= exact.length) return;
    const char next = exact.digits[count];
    bool beyond = exact.moreFollow;
    for (int k = count + 1; k < exact.length && !beyond; ++k) beyond = exact.digits[k] != '0';
    if (next > '5' || (next == '5' && (beyond || (digits & 1) != 0))) nextDigits(count, digits, exponent);
}

// "e+XX" (at least two digits) at text[at], NUL-terminated; the end.
int writeExponent(char (&text)[400], int at, int exponent) {
    text[at++] = 'e';
    text[at++] = exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude >= 100) text[at++] = static_cast<char>('0' + magnitude / 100);
    text[at++] = static_cast<char>('0' + magnitude / 10 % 10);
    text[at++] = static_cast<char>('0' + magnitude % 10);
    text[at] = '\0';  // for strtod
    return at;
}

// "d.ddde+XX", as printf's %.*e writes count digits.
int writeScientific(char (&text)[400], bool negative, std::uint64_t digits, int count, int exponent) {
    char reversed[20];
    for (int k = 0; k < count; ++k, digits /= 10) reversed[k] = static_cast<char>('0' + digits % 10);
    int at = 0;
    if (negative) text[at++] = '-';
    text[at++] = reversed[count - 1];
    if (count > 1) text[at++] = '.';
    for (int k = count - 2; k >= 0; --k) text[at++] = reversed[k];
    return writeExponent(text, at, exponent);
}

double readBack(const char* text) { return std::strtod(text, nullptr); }

// The shortest scientific text of a finite nonzero double.
int shortestScientific(char (&text)[400], double value) {
    const ShortestDecimal shortest = shortestDecimal(std::fabs(value));
    int count = 1;
    for (std::uint64_t rest = shortest.digits / 10; rest != 0; rest /= 10) ++count;
    return writeScientific(text, value < 0, shortest.digits, count, shortest.exponent + count - 1);
}

// "%.*g" from the rounded digits: the exponent form below 1e-4 and from 10^precision on,
// the fixed form between, trailing zeros and a bare point removed; -1 when neither the
// table nor exactDigits decides the rounding.
int generalText(char (&text)[400], double value, int precision) {
    int at = 0;
    if (std::signbit(value)) text[at++] = '-';
    if (std::isinf(value)) {
        std::memcpy(text + at, "inf", 3);
        return at + 3;
    }
    if (value == 0.0) {
        text[at++] = '0';
        return at;
    }
    const int count = precision == 0 ? 1 : precision;
    if (count > 17) return -1;
    std::uint64_t digits = 0;
    int exponent = 0;
    if (!roundedDigitsFromTable(std::fabs(value), count, digits, exponent) &&
        !roundedDigitsExactly(std::fabs(value), count, digits, exponent)) {
        ExactDigits exact;
        if (!exactDigits(std::fabs(value), exact)) return -1;
        roundDigits(exact, count, digits, exponent);
    }
    char written[20];
    for (int k = count - 1; k >= 0; --k, digits /= 10) written[k] = static_cast<char>('0' + digits % 10);
    int kept = count;
    while (kept > 1 && written[kept - 1] == '0') --kept;
    if (exponent < -4 || exponent >= count) {
        text[at++] = written[0];
        if (kept > 1) text[at++] = '.';
        for (int k = 1; k < kept; ++k) text[at++] = written[k];
        return writeExponent(text, at, exponent);
    }
    if (exponent < 0) {
        text[at++] = '0';
        text[at++] = '.';
        for (int k = 0; k < -exponent - 1; ++k) text[at++] = '0';
        for (int k = 0; k < kept; ++k) text[at++] = written[k];
        return at;
    }
    for (int k = 0; k <= exponent; ++k) text[at++] = k < kept ? written[k] : '0';
    if (kept > exponent + 1) {
        text[at++] = '.';
        for (int k = exponent + 1; k < kept; ++k) text[at++] = written[k];
    }
    return at;
}

}  // namespace

to_chars_result to_chars(char* first, char* last, double value, chars_format format, int precision) {
    const char letter = conversionLetter(format);
    if (letter == 0) return {last, errc::invalid_argument};
    char text[400];
    if (format == chars_format::general && precision >= 0 && !std::isnan(value)) {
        const int length = generalText(text, value, precision);
        if (length > 0) return copyOut(first, last, text, length);
    }
    return copyOut(first, last, text, printOne(text, letter, precision < 0 ? 6 : precision, value));
}

// The fewest significant digits that read back as value; at those digits the correctly
// rounded text is the nearest such text. Scientific and general only.
to_chars_result to_chars(char* first, char* last, double value, chars_format format) {
    if (format != chars_format::scientific && format != chars_format::general) {
        return {last, errc::invalid_argument};
    }
    char text[400];
    if (!std::isfinite(value) || value == 0.0) {
        return copyOut(first, last, text, printOne(text, format == chars_format::scientific ? 'e' : 'g', 0, value));
    }
    if (format == chars_format::scientific) return copyOut(first, last, text, shortestScientific(text, value));
    for (int digits = 1; digits <= 17; ++digits) {
        const int length = printOne(text, 'e', digits - 1, value);
        if (digits < 17 && readBack(text) != value) continue;
        if (format == chars_format::general) return copyOut(first, last, text, printOne(text, 'g', digits, value));
        return copyOut(first, last, text, length);
    }
    return {last, errc::value_too_large};  // not reached: 17 digits always read back
}

// A decimal literal goes through the table of powers of ten, or for at most 19 significant
// digits the exact 128-bit or big-integer way, when it can; every other text goes to strtod.
bool readDecimal(const char* first, const char* last, double& value, const char*& stop) {
    const char* at = first;
    const bool negative = at != last && *at == '-';
    if (negative) ++at;
    std::uint64_t digits = 0;
    int significant = 0;
    int exponent = 0;
    bool anyDigit = false;
    bool point = false;
    bool cut = false;  // nonzero digits were dropped
    for (; at != last; ++at) {
        if (*at == '.' && !point) {
            point = true;
            continue;
        }
        if (*at < '0' || *at > '9') break;
        anyDigit = true;
        if (significant == 0 && *at == '0') {
            if (point) --exponent;
            continue;
        }
        if (significant == 19) {  // digits beyond 19 only count as nonzero or not
            cut = cut || *at != '0';
            if (!point) ++exponent;
            continue;
        }
        ++significant;
        digits = digits * 10 + static_cast<std::uint64_t>(*at - '0');
        if (point) --exponent;
    }
    if (!anyDigit) return false;
    if (at != last && (*at == 'e' || *at == 'E')) {
        const char* e = at + 1;
        const bool negativeExponent = e != last && *e == '-';
        if (e != last && (*e == '+' || *e == '-')) ++e;
        if (e != last && *e >= '0' && *e <= '9') {
            int written = 0;
            for (; e != last && *e >= '0' && *e <= '9'; ++e) {
                if (written > 100000) return false;
                written = written * 10 + (*e - '0');
            }
            exponent += negativeExponent ? -written : written;
            at = e;
        }
    }
    double magnitude = 0.0;
    if (cut) {  // the value lies strictly between the digits and the digits plus one
        double above = 0.0;
        if (!nearestDoubleFromTable(digits, exponent, magnitude) || !nearestDoubleFromTable(digits + 1, exponent, above) ||
            magnitude != above) {
            return false;
        }
    } else if (!nearestDoubleFromTable(digits, exponent, magnitude) && !nearestDouble(digits, exponent, magnitude) &&
               !nearestDoubleBig(digits, exponent, magnitude)) {
        return false;
    }
    value = negative ? -magnitude : magnitude;
    stop = at;
    return true;
}

from_chars_result from_chars(const char* first, const char* last, double& value, chars_format format) {
    if (format != chars_format::general && format != chars_format::scientific && format != chars_format::fixed) {
        return {first, errc::invalid_argument};
    }
    if (first == last || !(*first == '-' || *first == '.' || std::isalnum(static_cast<unsigned char>(*first)))) {
        return {first, errc::invalid_argument};  // no leading blank or plus sign
    }
    const char* fastStop = nullptr;
    if (readDecimal(first, last, value, fastStop)) return {fastStop, errc{}};
    // strtod reads more forms than from_chars (hexadecimal ones): a decimal literal is
    // handed to it alone.
    const bool decimal = (*first == '-' ? first + 1 : first) != last &&
                         std::strchr("0123456789.", *(*first == '-' ? first + 1 : first)) != nullptr;
    const char* end = last;
    if (decimal) end = std::find_if(first + 1, last, [](char c) { return std::strchr("0123456789.eE+-", c) == nullptr || c == '\0'; });
    const std::string copy(first, end);  // strtod needs a terminator
    char* stopInCopy = nullptr;
    const double result = std::strtod(copy.c_str(), &stopInCopy);
    if (stopInCopy == copy.c_str()) return {first, errc::invalid_argument};
    const char* const stop = first + (stopInCopy - copy.c_str());
    const char* const mantissaEnd = std::find_if(first, stop, [](char c) { return c == 'e' || c == 'E'; });
    const bool nonzeroDigit = std::find_if(first, mantissaEnd, [](char c) { return c >= '1' && c <= '9'; }) != mantissaEnd;
    if (decimal && (std::isinf(result) || (result == 0.0 && nonzeroDigit))) {
        return {stop, errc::result_out_of_range};
    }
    value = result;
    return {stop, errc{}};
}

}  // namespace std

#endif
