// The short paths of number reading and writing against the general library conversions
// they stand in for: reading a literal must give from_chars' double bit for bit, and
// writing must give to_chars' "%.15g" text (with the three-digit exponent) byte for byte.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/number_format.h"
#include "eval/number_scan.h"
#include "support/float_bits.h"

namespace {

// The text the general precision conversion gives, in the calculator's exponent form.
std::string referenceText(double value) {
    if (std::isnan(value)) return "nan";
    char buffer[64];
    char* end = std::to_chars(buffer, buffer + 40, value, std::chars_format::general, 15).ptr;
    char* mark = std::find(buffer, end, 'e');
    if (mark == end) return {buffer, end};
    char* digits = mark + 2;  // past the exponent's sign
    while (end - digits < 3) {
        std::memmove(digits + 1, digits, static_cast<std::size_t>(end - digits));
        *digits = '0';
        ++end;
    }
    return {buffer, end};
}

std::string formatted(double value) {
    char buffer[64];
    return {buffer, kx::formatNumber(buffer, value, kx::SignStyle::Negative)};
}

TEST(format_number, rounding_ties_and_boundaries_match_the_precision_conversion) {
    const double values[] = {
        100000000000000.5,    // an exact tie at the 16th digit: half to even, down
        100000000000001.5,    // and up
        999999999999999.5,    // rounds up to the next power of ten: exponent form
        99999999999999.95,    // just under 1e14
        0.0001,               // the lowest magnitude of the fixed form
        0.000099999999999999991,
        1e-13,                // the lowest magnitude rounded from an exact product
        std::nextafter(1e-13, 0.0),
        0x1.5p-45,            // 3.73034936274052597e-14
        0x1.6p-17,            // 1.049041748046875e-05: an exact tie, half to even, up
        0x1.ap-17,            // 1.239776611328125e-05: down
        0x1.fffffffffffffp-44,
        1e15,
        1e15 - 1,
        0.1 + 0.2,
        1.0000000000000002,
        2.675,
        1.0 / 3.0,
        2.0 / 3.0,
        5e-324,               // subnormals: the general conversion
        2.2250738585072014e-308,
        1.7976931348623157e308,
        123456789012345678.0,
        0.0,
        -0.0,
        -2.5,
        INFINITY,
        -INFINITY,
    };
    for (const double value : values) EXPECT_EQ(formatted(value), referenceText(value)) << std::hexfloat << value;
}

TEST(format_number, random_doubles_match_the_precision_conversion) {
    std::mt19937_64 random(20261208);
    int mismatches = 0;
    for (int k = 0; k < 200000 && mismatches < 10; ++k) {
        const double anyBits = std::bit_cast<double>(random());
        const double fixedRange = std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 70));
        const double decimal = static_cast<double>(random() % 100000000) / std::pow(10.0, static_cast<double>(random() % 12));
        for (const double value : {anyBits, fixedRange, decimal, std::nextafter(decimal, 0.0)}) {
            if (formatted(value) != referenceText(value)) {
                ++mismatches;
                ADD_FAILURE() << std::hexfloat << value << ": " << formatted(value) << " vs " << referenceText(value);
            }
        }
    }
}

double readByFromChars(std::string text) {
    for (char& c : text) {
        if (c == 'd') c = 'e';
    }
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

TEST(scan_number, literals_near_the_exact_limits_read_as_from_chars_reads_them) {
    const char* literals[] = {
        "9007199254740992",      // 2^53: the last integer of the short path
        "9007199254740993",      // past it: rounds to even
        "900719925474099.3",
        "1e22", "1e23", "1d22", "1d-22", "1e-23",
        "123456789012345678",
        "0.1", "0.3", ".5", "5.", "000000000000000000000001.5",
        "0.000000000000000000000001",
        "1.7976931348623157e308", "4.9e-324", "2.4703282292062328e-324",
        "8.98846567431158d307",
    };
    for (const char* literal : literals) {
        const kx::ScannedNumber number = kx::scanNumber(literal);
        EXPECT_TRUE(kx::test::sameValue(number.value, readByFromChars(literal))) << literal;
        EXPECT_EQ(*number.end, '\0') << literal;
    }
}

TEST(scan_number, random_literals_read_as_from_chars_reads_them) {
    std::mt19937_64 random(8122026);
    int mismatches = 0;
    for (int k = 0; k < 100000 && mismatches < 10; ++k) {
        std::string literal;
        const int whole = static_cast<int>(random() % 18);
        const int fraction = static_cast<int>(random() % 18);
        for (int d = 0; d < whole; ++d) literal += static_cast<char>('0' + random() % 10);
        if (whole == 0 || fraction > 0) {
            literal += '.';
            for (int d = 0; d < std::max(fraction, 1); ++d) literal += static_cast<char>('0' + random() % 10);
        }
        if (random() % 3 == 0) {
            literal += random() % 2 ? 'e' : 'd';
            if (random() % 2) literal += '-';
            literal += std::to_string(random() % 40);
        }
        const double value = kx::scanNumber(literal.c_str()).value;
        if (!kx::test::sameValue(value, readByFromChars(literal))) {
            ++mismatches;
            ADD_FAILURE() << literal;
        }
    }
}

}  // namespace
