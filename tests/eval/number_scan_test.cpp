// Number literals: how far a literal reaches and which double it reads as.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "eval/number_scan.h"
#include "support/float_bits.h"

namespace {

using kx::test::bitsOf;

struct ScanCase {
    const char* text;
    double value;
    std::size_t length;  // characters that belong to the literal
};

TEST(number_scan, literal_extent_follows_the_number_syntax) {
    const ScanCase cases[] = {
        {"12", 12, 2},
        {"1.5+2", 1.5, 3},
        {".5", 0.5, 2},
        {"5.", 5, 2},
        {"5.x", 5, 2},
        {"1e3", 1000, 3},
        {"1d3", 1000, 3},
        {"2.5e-1", 0.25, 6},
        {"2.5d+1", 25, 6},
        {"5e", 5, 1},
        {"5e+", 5, 1},
        {"5d-x", 5, 1},
        {"5ex", 5, 1},
        {"1.2.3", 1.2, 3},
        {"0x10", 0, 1},
        {"1e3e4", 1000, 3},
        {"007", 7, 3},
        {"1E3", 1, 1},  // the scanner sees lowered text; an upper-case E is not an exponent
    };
    for (const auto& c : cases) {
        const kx::ScannedNumber number = kx::scanNumber(c.text);
        EXPECT_EQ(number.value, c.value) << c.text;
        EXPECT_EQ(static_cast<std::size_t>(number.end - c.text), c.length) << c.text;
    }
}

TEST(number_scan, a_full_stop_without_digit_reads_nothing) {
    const char* text = ".x";
    const kx::ScannedNumber number = kx::scanNumber(text);
    EXPECT_EQ(number.end, text);
    EXPECT_EQ(bitsOf(number.value), bitsOf(0.0));
}

TEST(number_scan, converts_to_the_nearest_double) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"0.1", 0.1},
        {"3.141592653589793238462643383279", 3.141592653589793},
        {"2.2250738585072014e-308", 2.2250738585072014e-308},
        {"1e-310", 1e-310},                            // subnormal, not flushed
        {"4.9406564584124654e-324", 4.9406564584124654e-324},
        {"3e-324", 4.9406564584124654e-324},           // rounds up to the least subnormal
        {"1.7976931348623157e308", 1.7976931348623157e308},
        {"9007199254740993", 9007199254740992.0},      // a tie rounds to even
        {"0.30000000000000004", 0.30000000000000004},
        {"0.123456789012345", 0.123456789012345},      // 15 digits, the most read in one pass
        {"1234567890.123456", 1234567890.123456},      // 16 digits
        {"18446744073709551617e-19", 1.8446744073709551617},  // 2^64 + 1: more than 64 bits hold
        {"0000000000000000000000.75", 0.75},
    };
    for (const auto& c : cases) EXPECT_EQ(bitsOf(kx::scanNumber(c.text).value), bitsOf(c.expected)) << c.text;
}

TEST(number_scan, out_of_range_reads_as_infinity_or_zero) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        std::string text;
        double expected;
    } cases[] = {
        {"1e309", inf},
        {"1.8e308", inf},
        {"1e999999999", inf},
        {"1d99999999999999999999999999", inf},
        {"1e-400", 0.0},
        {"2e-324", 0.0},
        {"1e-999999999", 0.0},
        {"0.0000000000000001e-310", 0.0},
        {"0." + std::string(400, '0') + "1e400", 0.1},
        {"0." + std::string(400, '0') + "1e100", 1e-301},
        {"0." + std::string(400, '0') + "1e50", 0.0},  // a positive exponent, still too small
        {"1" + std::string(400, '0'), inf},
        {"1" + std::string(400, '0') + "e-500", 1e-100},
        {"0e999999999", 0.0},
        {"000.000e-999999", 0.0},
    };
    for (const auto& c : cases) {
        const kx::ScannedNumber number = kx::scanNumber(c.text.c_str());
        EXPECT_EQ(bitsOf(number.value), bitsOf(c.expected)) << c.text.substr(0, 40);
        EXPECT_EQ(number.end, c.text.c_str() + c.text.size()) << c.text.substr(0, 40);
    }
}

TEST(number_scan, a_literal_of_many_digits_is_read_whole) {
    const std::string digits(100000, '9');
    const kx::ScannedNumber number = kx::scanNumber(digits.c_str());
    EXPECT_EQ(number.value, std::numeric_limits<double>::infinity());
    EXPECT_EQ(number.end, digits.c_str() + digits.size());
    const std::string small = "0." + std::string(100000, '3');
    EXPECT_EQ(bitsOf(kx::scanNumber(small.c_str()).value), bitsOf(1.0 / 3.0));
}

}  // namespace
