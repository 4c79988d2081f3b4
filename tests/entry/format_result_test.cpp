// The result text: which parts are printed, their number format, and the tolerance.
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "core/complex.h"
#include "entry/format_result.h"
#include "entry/number_format.h"

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

std::string text(kx::Complex value, double tolerance = 1e-10) {
    char buffer[kx::maxResultLength];
    kx::formatResult(buffer, value, tolerance);
    return buffer;
}

struct FormatCase {
    kx::Complex value;
    double tolerance;
    const char* expected;
};

TEST(format_result, parts_above_the_tolerance_are_printed) {
    const FormatCase cases[] = {
        {{3, 4}, 1e-10, "3+4i"},
        {{3, -4}, 1e-10, "3-4i"},
        {{5, 0}, 1e-10, "5"},
        {{0, 1}, 1e-10, "i"},
        {{0, -1}, 1e-10, "-i"},
        {{2, 1}, 1e-10, "2+i"},
        {{2, -1}, 1e-10, "2-i"},
        {{0, 0}, 1e-10, "0"},
        {{1e-12, 1e-11}, 1e-10, "0"},
        {{1e-12, 2}, 1e-10, "2i"},
        {{-1e-12, -2.5}, 1e-10, "-2.5i"},
        {{1e-10, 0}, 1e-10, "0"},  // the comparison is strict
        {{2, 1.0000000000000002}, 1e-10, "2+1i"},
        {{-0.0, -0.0}, 1e-10, "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(text(c.value, c.tolerance), c.expected) << c.expected;
}

TEST(format_result, unit_imaginary_ignores_tolerance) {
    const FormatCase cases[] = {
        {{1.5, 1}, 2, "i"},
        {{1.5, -1}, 2, "-i"},
        {{1.5, 1.5}, 2, "0"},
        {{3, 1}, 2, "3+i"},
        {{3, -1}, 2, "3-i"},
        {{0.3, 2}, 0.5, "2i"},
        {{0.3, 0.3}, 0.5, "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(text(c.value, c.tolerance), c.expected) << c.expected;
}

TEST(format_result, negative_tolerance_prints_every_numeric_part) {
    EXPECT_EQ(text({0, 0}, -1), "0+0i");
    EXPECT_EQ(text({-0.0, -0.0}, -1), "-0-0i");
    EXPECT_EQ(text({0, 1}, -1), "0+i");
}

TEST(format_result, nan_parts_are_never_printed_and_never_read_as_zero) {
    const FormatCase cases[] = {
        {{1, nan}, 1e-10, "1"},
        {{nan, 2}, 1e-10, "2i"},
        {{nan, 1}, 1e-10, "i"},
        {{nan, nan}, 1e-10, "nan"},
        {{nan, 0}, 1e-10, "nan"},
        {{0, nan}, 1e-10, "nan"},
        {{-kx::defaultNaN, 0}, 1e-10, "nan"},
        {{nan, nan}, -1, "nan"},
    };
    for (const auto& c : cases) EXPECT_EQ(text(c.value, c.tolerance), c.expected) << c.expected;
}

TEST(format_result, infinite_parts_are_spelled_inf) {
    EXPECT_EQ(text({inf, 0}), "inf");
    EXPECT_EQ(text({-inf, 0}), "-inf");
    EXPECT_EQ(text({1, inf}), "1+infi");
    EXPECT_EQ(text({1, -inf}), "1-infi");
    EXPECT_EQ(text({0, inf}), "infi");
    EXPECT_EQ(text({inf, -inf}), "inf-infi");
}

TEST(format_result, longest_text_fits_the_result_bound) {
    const std::string longest = text({-1.2345678901234567e-300, -1.2345678901234567e-300}, -1);
    EXPECT_EQ(longest, "-1.23456789012346e-300-1.23456789012346e-300i");
    EXPECT_EQ(longest.size() + 1, static_cast<std::size_t>(kx::maxResultLength));
}

std::string number(double value, kx::SignStyle sign = kx::SignStyle::Negative) {
    char buffer[kx::maxNumberLength + 1];
    char* end = kx::formatNumber(buffer, value, sign);
    return {buffer, end};
}

TEST(format_number, general_form_with_fifteen_digits) {
    const struct {
        double value;
        const char* expected;
    } cases[] = {
        {0.5, "0.5"},
        {1, "1"},
        {-2.25, "-2.25"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {3.141592653589793, "3.14159265358979"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1e+015"},
        {1e14, "100000000000000"},
        {123456789012345678.0, "1.23456789012346e+017"},
        {0.0001, "0.0001"},
        {0.00001, "1e-005"},
        {0.000123456, "0.000123456"},
        {1e20, "1e+020"},
        {1e-5, "1e-005"},
        {1e100, "1e+100"},
        {1e-300, "1e-300"},
        {1.7976931348623157e308, "1.79769313486232e+308"},
        {4.9406564584124654e-324, "4.94065645841247e-324"},
        {9.9999999999999995e14, "1e+015"},  // rounds up to 16 digits, so switches form
        {0.0, "0"},
        {-0.0, "-0"},
        {inf, "inf"},
        {-inf, "-inf"},
        {nan, "nan"},
    };
    for (const auto& c : cases) EXPECT_EQ(number(c.value), c.expected) << c.expected;
}

TEST(format_number, always_signed_style) {
    EXPECT_EQ(number(4, kx::SignStyle::Always), "+4");
    EXPECT_EQ(number(-4, kx::SignStyle::Always), "-4");
    EXPECT_EQ(number(0.0, kx::SignStyle::Always), "+0");
    EXPECT_EQ(number(-0.0, kx::SignStyle::Always), "-0");
    EXPECT_EQ(number(1e20, kx::SignStyle::Always), "+1e+020");
    EXPECT_EQ(number(inf, kx::SignStyle::Always), "+inf");
    EXPECT_EQ(number(-1.2345678901234567e-300, kx::SignStyle::Always), "-1.23456789012346e-300");
}

}  // namespace
