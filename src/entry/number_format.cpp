#include "entry/number_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace kx {
namespace {

constexpr int significantDigits = 15;

// std::to_chars writes at least two exponent digits (1e+20); the calculator's form has
// exactly three, the most a double needs.
char* widenExponent(char* begin, char* end) {
    char* mark = std::find(begin, end, 'e');
    if (mark == end) return end;
    char* digits = mark + 2;  // past the exponent's sign
    const auto count = end - digits;
    if (count >= 3) return end;
    const auto padding = 3 - count;
    std::memmove(digits + padding, digits, static_cast<std::size_t>(count));
    std::fill_n(digits, padding, '0');
    return end + padding;
}

// The exact "%.15g" text of value, by the library's precision conversion; out of line,
// so that the common paths stay small.
[[gnu::noinline]] char* formatExactly(char* out, double value) {
    char* end = std::to_chars(out, out + maxNumberLength, value, std::chars_format::general, significantDigits).ptr;
    return widenExponent(out, end);
}

// 5^0 to 5^27, the powers of five below 2^64.
constexpr auto powersOfFive = [] {
    std::array<std::uint64_t, 28> powers{};
    powers[0] = 1;
    for (std::size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 5;
    return powers;
}();

// A value rounded to at most 15 significant digits: digits[0..count) with no trailing
// zero, then '0' to the end of the array (so that any 16 characters from the first half
// can be copied at once), and the decimal exponent of the first digit.
struct Decimal {
    char digits[32];
    int count;
    int exponent;
};

// The digits of a value below 10^8, one per byte in text order as memory holds a word
// (the first digit in the lowest byte), each as its value 0 to 9. The value is split into
// two lanes of four digits, four of two and eight of one, all lanes at once, dividing by
// 100 and by 10 with multiplications that are exact over each lane's range.
std::uint64_t eightDigitValues(std::uint32_t value) {
    std::uint64_t lanes = value / 10000 | std::uint64_t{value % 10000} << 32;
    std::uint64_t high = (lanes * 10486 >> 20) & 0x0000'007f'0000'007f;  // lane / 100, lanes below 10^4
    lanes = high | (lanes - high * 100) << 16;
    high = (lanes * 103 >> 10) & 0x000f'000f'000f'000f;  // lane / 10, lanes below 100
    lanes = high | (lanes - high * 10) << 8;
    if constexpr (std::endian::native == std::endian::little) return lanes;
    std::uint64_t reversed = 0;
    for (int k = 0; k < 8; ++k) reversed = reversed << 8 | (lanes >> 8 * k & 0xff);
    return reversed;
}

// The zero digits at the end of a word of eightDigitValues.
int trailingZeroDigits(std::uint64_t values) {
    return (std::endian::native == std::endian::little ? std::countl_zero(values) : std::countr_zero(values)) / 8;
}

constexpr std::uint64_t asciiZeros = 0x3030'3030'3030'3030;  // '0' in every byte

// The digit values of the first and the last eight of sixteen digits, as eightDigitValues
// gives them.
struct DigitValues {
    std::uint64_t first;
    std::uint64_t last;
};

// A value below 10^16 as 16 digits, leading zeros included, into text[0..32) with '0'
// after them; the digit values are returned for counting zeros.
DigitValues writeSixteenDigits(char* text, std::uint64_t value) {
    constexpr std::uint64_t hundredMillion = 100'000'000;
    const DigitValues values{eightDigitValues(static_cast<std::uint32_t>(value / hundredMillion)),
                             eightDigitValues(static_cast<std::uint32_t>(value % hundredMillion))};
    const std::uint64_t words[4] = {values.first + asciiZeros, values.last + asciiZeros, asciiZeros, asciiZeros};
    std::memcpy(text, words, sizeof words);
    return values;
}

// The shortest text that reads back as value (at most 17 digits) is within half a unit
// in the last place of value. For a normal double that is less than 1.12 units of the
// 16th significant digit and 11.2 units of the 17th, so rounding the shortest digits to
// 15 gives the same digits as rounding value itself, except when the dropped digits lie
// that close to a half: then false, and the caller converts exactly. With 15 digits or
// fewer the shortest digits are the rounded ones.
[[gnu::noinline]] bool roundedShortest(double magnitude, Decimal& decimal) {
    char text[32];
    const char* const end = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific).ptr;
    const char* const e = std::find(static_cast<const char*>(text), end, 'e');
    char digits[20];
    int count = 0;
    for (const char* p = text; p < e; ++p) {
        if (*p != '.') digits[count++] = *p;
    }
    int exponent = 0;
    std::from_chars(e[1] == '+' ? e + 2 : e + 1, end, exponent);
    if (count > significantDigits) {
        int dropped = 0;
        for (int k = significantDigits; k < count; ++k) dropped = dropped * 10 + (digits[k] - '0');
        const int half = count == significantDigits + 1 ? 5 : 50;
        const int margin = count == significantDigits + 1 ? 1 : 12;
        if (std::abs(dropped - half) <= margin) return false;
        count = significantDigits;
        if (dropped > half) {
            int k = count - 1;
            while (k >= 0 && digits[k] == '9') digits[k--] = '0';
            if (k < 0) {  // 999...9 rounds up to 1000...0
                digits[0] = '1';
                ++exponent;
            } else {
                ++digits[k];
            }
        }
    }
    while (count > 1 && digits[count - 1] == '0') --count;
    std::fill_n(std::copy_n(digits, count, decimal.digits), sizeof decimal.digits - count, '0');
    decimal.count = count;
    decimal.exponent = exponent;
    return true;
}

// The decimal exponent of a positive normal double, or one less: from its binary exponent.
int estimatedDecimalExponent(double magnitude) {
    const int binaryExponent = static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7ff) - 1023;
    return (binaryExponent * 78913) >> 18;  // floor(binaryExponent * log10(2)), exactly so for |exponent| < 2^11
}

// "00" to "99", for writing digits two at a time.
constexpr char digitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes a whole number below 10^15 in full, two digits at a time from the right, into
// the first half of a staging area whose second half holds '0's, so that the text can be
// copied out at a fixed length of 16; its end is found from the count.
char* writeWholeNumber(char* out, std::uint64_t value) {
    constexpr int room = 16;
    char digits[2 * room];
    std::memset(digits + room, '0', room);
    char* first = digits + room;
    while (value >= 100) {
        first -= 2;
        std::memcpy(first, digitPairs + 2 * (value % 100), 2);
        value /= 100;
    }
    if (value >= 10) {
        first -= 2;
        std::memcpy(first, digitPairs + 2 * value, 2);
    } else {
        *--first = static_cast<char>('0' + value);
    }
    std::memcpy(out, first, room);
    return out + (digits + room - first);
}

// The product of two 64-bit integers, in two 64-bit halves. Native 128-bit arithmetic
// where the processor has it; on WebAssembly that would be a call to a routine for
// 128-bit operands, so the four products of 32-bit halves are added up instead.
struct Product {
    std::uint64_t high;
    std::uint64_t low;
};

Product multiply(std::uint64_t a, std::uint64_t b) {
#if defined(__SIZEOF_INT128__) && !defined(__wasm__)
    __extension__ using Unsigned128 = unsigned __int128;  // a GCC and Clang extension
    const Unsigned128 product = static_cast<Unsigned128>(a) * b;
    return {static_cast<std::uint64_t>(product >> 64), static_cast<std::uint64_t>(product)};
#else
    constexpr std::uint64_t mask = 0xffff'ffff;
    const std::uint64_t lowLow = (a & mask) * (b & mask);
    const std::uint64_t lowHigh = (a & mask) * (b >> 32);
    const std::uint64_t highLow = (a >> 32) * (b & mask);
    const std::uint64_t middle = (lowLow >> 32) + (lowHigh & mask) + (highLow & mask);
    return {(a >> 32) * (b >> 32) + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32), middle << 32 | (lowLow & mask)};
#endif
}

// The product divided by 2^places (1 to 127), rounded down, where the quotient fits in 64 bits.
std::uint64_t shiftedDown(const Product& product, int places) {
    if (places >= 64) return product.high >> (places - 64);
    return product.low >> places | product.high << (64 - places);
}

// Whether the product is not a multiple of 2^places (1 to 127).
bool hasBitsBelow(const Product& product, int places) {
    if (places < 64) return product.low << (64 - places) != 0;
    return product.low != 0 || (places > 64 && product.high << (128 - places) != 0);
}

// The value rounded to 15 significant digits exactly, for decimal exponents -13 to 14 (the
// fixed form's -4 to 14 among them): with value = m * 2^-e and s = 14 - exponent (0 to 27),
// value * 10^s = m * 5^s * 2^(s - e), where the product m * 5^s is below 2^116. Its shift by
// e - s - 1 gives the 15 digits with one bit more, which with the bits below it decides the
// rounding, half to even as printf rounds. False outside that range.
bool roundedByProduct(double magnitude, Decimal& decimal) {
    if (!(magnitude >= 1e-13 && magnitude < 1e15)) return false;
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(magnitude);
    const std::uint64_t significand = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int shift = 1075 - static_cast<int>(bits >> 52);  // value = significand * 2^-shift
    constexpr std::uint64_t lowest = 100'000'000'000'000;    // 10^14
    int exponent = estimatedDecimalExponent(magnitude);
    Product scaled;
    int places;
    std::uint64_t twice;  // the digits and the first bit after them
    for (;;) {
        const int scale = significantDigits - 1 - exponent;
        if (scale < 0 || scale >= static_cast<int>(powersOfFive.size())) return false;
        scaled = multiply(significand, powersOfFive[static_cast<std::size_t>(scale)]);
        places = shift - scale - 1;
        twice = shiftedDown(scaled, places);
        if (twice < 2 * lowest) {
            --exponent;
        } else if (twice >= 20 * lowest) {
            ++exponent;
        } else {
            break;
        }
    }
    std::uint64_t digits = twice >> 1;
    if ((twice & 1) != 0 && ((digits & 1) != 0 || hasBitsBelow(scaled, places))) ++digits;
    if (digits == 10 * lowest) {  // 999...95 and above round up to the next power of ten
        digits = lowest;
        ++exponent;
    }
    const DigitValues values = writeSixteenDigits(decimal.digits, digits * 10);  // the 16th digit is 0
    const int trailing = values.last == 0 ? 8 + trailingZeroDigits(values.first) : trailingZeroDigits(values.last);
    decimal.count = 16 - trailing;
    decimal.exponent = exponent;
    return true;
}

// The fixed form, for decimal exponents -4 to 14: put together in a staging area by copies
// of fixed length, with no loop, and copied out whole. The staging area starts zeroed, so
// that what follows the text is no stack content of the library's.
char* writeFixed(char* out, const Decimal& decimal) {
    constexpr std::size_t longestFixed = 20;  // "0.000" and 15 digits
    char text[48] = {};
    std::size_t length;
    if (decimal.exponent >= 0) {
        const int whole = decimal.exponent + 1;  // 1 to 15 digits before the point
        std::memcpy(text, decimal.digits, 16);
        text[whole] = '.';
        std::memcpy(text + whole + 1, decimal.digits + whole, 16);
        length = static_cast<std::size_t>(decimal.count > whole ? decimal.count + 1 : whole);
    } else {
        std::memcpy(text, "0.000000", 8);
        std::memcpy(text + 1 - decimal.exponent, decimal.digits, 16);
        length = static_cast<std::size_t>(1 - decimal.exponent + decimal.count);
    }
    std::memcpy(out, text, longestFixed);
    return out + length;
}

// "%g" layout: the exponent form below 1e-4 and from 1e15 on, the fixed form between.
char* writeDecimal(char* out, const Decimal& decimal) {
    const int exponent = decimal.exponent;
    const char* digits = decimal.digits;
    const int count = decimal.count;
    if (exponent < -4 || exponent >= significantDigits) {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = '.';
            out = std::copy(digits + 1, digits + count, out);
        }
        *out++ = 'e';
        *out++ = exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(exponent);
        *out++ = static_cast<char>('0' + magnitude / 100);
        *out++ = static_cast<char>('0' + magnitude / 10 % 10);
        *out++ = static_cast<char>('0' + magnitude % 10);
        return out;
    }
    return writeFixed(out, decimal);
}

// A number that is not whole below 10^15; a "+" is already written. Out of line, so that
// whole numbers need no stack frame for the staging areas of this path.
[[gnu::noinline]] char* formatNotWhole(char* out, double value) {
    const double magnitude = std::fabs(value);
    Decimal decimal;
    if (magnitude < std::numeric_limits<double>::min() || magnitude > std::numeric_limits<double>::max() ||
        !(roundedByProduct(magnitude, decimal) || roundedShortest(magnitude, decimal))) {
        return formatExactly(out, value);  // zero, subnormal, infinite, or a near tie
    }
    if (std::signbit(value)) *out++ = '-';
    return writeDecimal(out, decimal);
}

}  // namespace

char* formatNumber(char* out, double value, SignStyle sign) {
    if (sign == SignStyle::Always && !std::signbit(value)) *out++ = '+';
    if (std::isnan(value)) {  // the sign of a NaN is not shown
        std::memcpy(out, "nan", 3);
        return out + 3;
    }
    const double magnitude = std::fabs(value);
    if (magnitude >= 1.0 && magnitude < 1e15 &&
        static_cast<double>(static_cast<std::int64_t>(magnitude)) == magnitude) {  // signed: one conversion
        if (std::signbit(value)) *out++ = '-';
        return writeWholeNumber(out, static_cast<std::uint64_t>(magnitude));  // all its digits, no point
    }
    return formatNotWhole(out, value);
}

}  // namespace kx
