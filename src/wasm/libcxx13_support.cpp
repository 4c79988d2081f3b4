// to_chars and from_chars for double on libc++ 13, built on the C library's printf and
// strtod (musl's: exact decimal conversion, correctly rounded reading, no locale).
#include "wasm/libcxx13_support.h"

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace std {
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

std::uint64_t powerOfFive(int exponent) {  // exponent 0 to 21: below 2^49
    std::uint64_t power = 1;
    for (int k = 0; k < exponent; ++k) power *= 5;
    return power;
}

int bitLength(Unsigned128 value) {
    int length = 0;
    for (; value != 0; value >>= 1) ++length;
    return length;
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

// Whether digits (count of them, the first at the decimal exponent) read back as magnitude.
bool readsBackAs(std::uint64_t digits, int count, int exponent, double magnitude) {
    double back = 0.0;
    if (nearestDouble(digits, exponent - (count - 1), back)) return back == magnitude;
    char text[400];
    writeScientific(text, false, digits, count, exponent);
    return readBack(text) == magnitude;
}

// Whether both count-digit decimals around the value are surely farther from it than half
// an ulp, so that neither reads back as it. In units of the last kept digit, the nearer one
// is at least the cut-off tail or its complement to 1, each summed from the digits held so
// that it is a lower bound; half an ulp is 2^(binaryExponent-1) over the unit. Only the
// exact checks are saved, so the test keeps a margin of 1%.
bool surelyTooFar(const ExactDigits& exact, int count, double magnitude) {
    if (count >= exact.length) return false;
    double tail = 0.0;        // 0.ddd of the digits cut off
    double complement = 0.0;  // 0.(9-d)(9-d)(9-d): 1 - tail, less up to 10^-held
    double scale = 0.1;
    for (int k = count; k < exact.length; ++k, scale /= 10) {
        tail += (exact.digits[k] - '0') * scale;
        complement += ('9' - exact.digits[k]) * scale;
    }
    const double nearer = std::min(tail, complement);
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);  // magnitude in [2^(e-1), 2^e): an ulp is 2^(e-53)
    double halfUlp = std::ldexp(1.0, binaryExponent - 54);
    for (int k = exact.exponent - count + 1; k > 0; --k) halfUlp /= 10;  // in units of the last digit
    for (int k = exact.exponent - count + 1; k < 0; ++k) halfUlp *= 10;
    return nearer > 1.01 * halfUlp;
}

// The shortest scientific text, trying one digit, then two, and so on; at each length the
// two decimals around the value, the nearer first (the farther one may be the only one to
// read back, beside a power of two). -1 when the value is outside what exactDigits takes.
int shortestScientific(char (&text)[400], double value) {
    const double magnitude = std::fabs(value);
    ExactDigits exact;
    if (!exactDigits(magnitude, exact)) return -1;
    for (int count = 1; count <= 17; ++count) {
        if (count < 16 && surelyTooFar(exact, count, magnitude)) continue;
        std::uint64_t digits = 0;
        int exponent = 0;
        roundDigits(exact, count, digits, exponent);
        if (count == 17 || readsBackAs(digits, count, exponent, magnitude)) {
            return writeScientific(text, value < 0, digits, count, exponent);
        }
        std::uint64_t below = 0;
        int belowExponent = 0;
        if (!truncateDigits(exact, count, below, belowExponent)) continue;  // exact: no other neighbour
        std::uint64_t above = below;
        int aboveExponent = belowExponent;
        nextDigits(count, above, aboveExponent);
        const bool roundedUp = digits == above && exponent == aboveExponent;
        const std::uint64_t other = roundedUp ? below : above;
        const int otherExponent = roundedUp ? belowExponent : aboveExponent;
        if (readsBackAs(other, count, otherExponent, magnitude)) {
            return writeScientific(text, value < 0, other, count, otherExponent);
        }
    }
    return -1;
}

// "%.*g" from the exact digits: the exponent form below 1e-4 and from 10^precision on,
// the fixed form between, trailing zeros and a bare point removed; -1 when the value is
// outside what exactDigits takes.
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
    ExactDigits exact;
    if (count > 17 || !exactDigits(std::fabs(value), exact)) return -1;
    std::uint64_t digits = 0;
    int exponent = 0;
    roundDigits(exact, count, digits, exponent);
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
    if (format == chars_format::scientific) {
        const int length = shortestScientific(text, value);
        if (length > 0) return copyOut(first, last, text, length);
    }
    for (int digits = 1; digits <= 17; ++digits) {
        const int length = printOne(text, 'e', digits - 1, value);
        if (digits < 17 && readBack(text) != value) continue;
        if (format == chars_format::general) return copyOut(first, last, text, printOne(text, 'g', digits, value));
        return copyOut(first, last, text, length);
    }
    return {last, errc::value_too_large};  // not reached: 17 digits always read back
}

// A decimal literal of at most 19 significant digits goes the exact 128-bit way when it
// can; every other text goes to strtod.
bool readDecimal(const char* first, const char* last, double& value, const char*& stop) {
    const char* at = first;
    const bool negative = at != last && *at == '-';
    if (negative) ++at;
    std::uint64_t digits = 0;
    int significant = 0;
    int exponent = 0;
    bool anyDigit = false;
    bool point = false;
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
        if (++significant > 19) return false;
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
    if (!nearestDouble(digits, exponent, magnitude) && !nearestDoubleBig(digits, exponent, magnitude)) return false;
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
