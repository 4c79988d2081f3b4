// Argument reduction by pi/2: x = (4k + q)·pi/2 + r with |r| <= pi/4 (a hair more), r a
// double-double.
//
// For |x| < 2^20 the reduction is Cody and Waite's: n = round(x·2/pi), and x - n·pi/2
// with pi/2 in three 33-bit parts and a fourth (n·part is exact for n < 2^20), which
// carries pi/2 to 2^-150. Where that leaves |r| < 2^-40 (x within 2^-40 of a multiple
// of pi/2, the cancellation eating the parts' precision) and for every larger |x|, the
// reduction is Payne and Hanek's, done in integers: x = M·2^e (M a 53-bit integer)
// times a 224-bit window of 2/pi starting where the bits before it only add multiples
// of 4, so the product holds the quadrant in its top two bits and the fraction to
// 2^-169 absolutely; the fraction times pi/2 (a double-double) is r. No double is
// nearer than about 2^-62 to a multiple of pi/2, so r is always good to about 2^-100
// relative. The bits of 2/pi and the parts of pi/2 come from tools/generate_real_tables.py.
#include "real/argument_reduction.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "core/double_double.h"
#include "real/double_bits.h"
#include "real/tables.h"

namespace kx::real {

using namespace tables;

namespace {

// Below this |r| the short reduction has lost too much to cancellation (its error is at
// most n·2^-150 < 2^-130): the long reduction takes over.
constexpr double shortReductionSmallestRemainder = 0x1p-40;

constexpr int twoOverPiWordCount = static_cast<int>(std::size(twoOverPiBits));
constexpr int windowWords = 7;                        // 224 bits of 2/pi
constexpr int productWords = windowWords + 2;         // times a 53-bit integer
constexpr int fractionBits = 32 * windowWords - 2;    // the product's binary point

// Bits firstBit .. firstBit + 31 of 2/pi (bit 1 has weight 1/2), with zeros before bit 1.
std::uint32_t twoOverPiWord(int firstBit) {
    const int offset = firstBit - 1;
    const int word = offset >= 0 ? offset / 32 : -((31 - offset) / 32);  // floor(offset / 32)
    const int shift = offset - 32 * word;
    const auto wordAt = [](int index) -> std::uint64_t {
        return index >= 0 && index < twoOverPiWordCount ? twoOverPiBits[index] : 0;
    };
    const std::uint64_t pair = (wordAt(word) << 32) | wordAt(word + 1);
    return static_cast<std::uint32_t>(pair >> (32 - shift));
}

}  // namespace

Reduction reduceShort(double x) {  // 0 <= x < 2^20
    const double n = nearestInteger(x * twoOverPi);
    const double first = x - n * halfPiPart[0];  // exact: n·part is exact, and within a factor 2 of x
    DoubleDouble remainder = twoSum(first, -(n * halfPiPart[1]));
    remainder = ddAddWithTwoSums(remainder, {-(n * halfPiPart[2]), 0.0});
    remainder = ddAddWithTwoSums(remainder, negated(twoProduct(n, halfPiPart[3])));
    return {static_cast<int>(n) & 3, remainder};
}

// The short reduction for the fast path, with the same products but lighter sums: the
// first two differences are exact (two-sums), the low parts are summed in double. The
// error is at most n·2^-150 (pi/2 beyond its parts) plus 2^-104·|r| and 2^-136 (the low
// parts' roundings, their terms below 2^-52·(|r| + |n·part[2]|) with |n·part[2]| < 2^-48).
Reduction fastReduceShort(double x) {  // 0 <= x < 2^20
    const double n = nearestInteger(x * twoOverPi);
    const double first = x - n * halfPiPart[0];  // exact, as in reduceShort
    const DoubleDouble second = twoSum(first, -(n * halfPiPart[1]));
    const DoubleDouble third = twoSum(second.high, -(n * halfPiPart[2]));
    const double low = (second.low + third.low) - n * halfPiPart[3];
    return {static_cast<int>(n) & 3, twoSum(third.high, low)};
}

Reduction reduceLong(double x) {  // x > 0, finite
    const auto [mantissa, exponent] = integerScaled(x);  // x >= 2^-27 is normal
    // Bits of 2/pi before bit exponent - 54 give x·2/pi multiples of 4 and are left out;
    // the product is then mantissa·window·2^-fractionBits.
    const int firstBit = exponent - 54;
    std::array<std::uint32_t, windowWords> window{};  // least significant word first
    for (int index = 0; index < windowWords; ++index)
        window[windowWords - 1 - index] = twoOverPiWord(firstBit + 32 * index);

    std::array<std::uint32_t, productWords> product{};
    const std::array<std::uint64_t, 2> mantissaWords{mantissa & 0xFFFFFFFFu, mantissa >> 32};
    for (int part = 0; part < 2; ++part) {
        std::uint64_t carry = 0;
        for (int index = 0; index < windowWords; ++index) {
            const std::uint64_t sum = mantissaWords[part] * window[index] + product[index + part] + carry;
            product[index + part] = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
        }
        for (int index = windowWords + part; index < productWords; ++index) {
            const std::uint64_t sum = product[index] + carry;
            product[index] = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
        }
    }

    // Bits fractionBits and fractionBits + 1 (the top two of word windowWords - 1) are the
    // quadrant; the words above it are multiples of 4.
    constexpr int topWord = windowWords - 1;
    int quadrant = static_cast<int>(product[topWord] >> 30);
    std::array<std::uint32_t, windowWords> fractionWords{};
    for (int index = 0; index < windowWords; ++index) fractionWords[index] = product[index];
    fractionWords[topWord] &= 0x3FFFFFFFu;
    const bool aboveHalf = (fractionWords[topWord] >> 29) != 0;
    if (aboveHalf) {  // the fraction f >= 1/2 becomes f - 1, held as the magnitude 1 - f
        quadrant = (quadrant + 1) & 3;
        std::uint64_t borrow = 1;  // two's complement: ~f + 1
        for (auto& word : fractionWords) {
            const std::uint64_t sum = static_cast<std::uint64_t>(static_cast<std::uint32_t>(~word)) + borrow;
            word = static_cast<std::uint32_t>(sum);
            borrow = sum >> 32;
        }
        fractionWords[topWord] &= 0x3FFFFFFFu;
    }
    // The words as doubles are exact, their scaled sum in double-double has no cancellation.
    DoubleDouble magnitude{0.0, 0.0};
    for (int index = topWord; index >= 0; --index) {
        const double word = static_cast<double>(fractionWords[index]) * powerOfTwo(32 * index - fractionBits);
        magnitude = ddAddWithTwoSums(magnitude, {word, 0.0});
    }
    const DoubleDouble remainder = ddMultiplyWithTwoSum(magnitude, halfPi);
    return {quadrant, aboveHalf ? negated(remainder) : remainder};
}

Reduction reduce(double x) {  // x > 0, finite
    if (x < shortReductionLimit) {
        const Reduction reduction = reduceShort(x);
        if (std::fabs(reduction.remainder.high) >= shortReductionSmallestRemainder) return reduction;
    }
    return reduceLong(x);
}

}  // namespace kx::real
