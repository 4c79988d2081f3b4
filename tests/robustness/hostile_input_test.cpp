// Lines no person would type: high bytes, control characters, degenerate assignments,
// exponents and numbers far outside the double range. Each gets a result or one of the
// calculator's messages, and a failed assignment stores nothing.
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "support/calculator.h"
#include "support/text_checks.h"

namespace {

struct HostileCase {
    std::string line;
    std::string expected;
};

std::string digits(char digit, std::size_t count) { return std::string(count, digit); }

const HostileCase hostileCases[] = {
    // Bytes at or above 0x80 and control characters belong to no class: single-character tokens.
    {"\xff\xfe\xfd", "Syntax Error: \xfe\xfd"},
    {"1+\xc3\xa9", "Syntax Error: \xa9"},
    {"1\x02+2", "Syntax Error: +2"},
    {"\x01", "Syntax Error: "},
    {"\x7f" "1", "Syntax Error: 1"},
    {"\x1b[31m1", "Syntax Error: [31m1"},
    {"set\x01x = 2", "Syntax Error: x = 2"},
    {"\t\n\v\f\r1", "1"},
    {"1\r\n", "1"},
    // Degenerate assignments.
    {"set ", "Ran Out of Data"},
    {"set =", "Ran Out of Data"},
    {"SET = 5", "Syntax error: Missing variable name."},
    {"set \t = 5", "Syntax error: Missing variable name."},
    {"set=", "Syntax Error: "},
    {"set x = ", "Ran Out of Data"},
    {"set x = =", "Syntax Error: "},
    // Exponents far outside the double range, in both letters.
    {"1e999999999", "inf"},
    {"-1e999999999", "-inf"},
    {"1e-999999999", "0"},
    {"1d999999999999999999999", "inf"},
    {"0e999999999999999999999", "0"},
    {"0.0e99999999999999999999999999", "0"},
    {"1e999999999-1e999999999", "nan"},
    {"1e999999999*i", "infi"},
    {"1e+", "Syntax Error: +"},
    // Numbers of 10^5 digits.
    {digits('1', 100'000), "inf"},
    {"0." + digits('0', 100'000) + "1", "0"},
    {"0." + digits('0', 99'999) + "1e100000", "1"},
    {digits('9', 100'000) + "e-99990", "10000000000"},
    {"1" + digits('0', 100'000) + "e-100000+1", "2"},
};

// The first characters of the line, bytes outside printable ASCII as \xHH.
void PrintTo(const HostileCase& hostile, std::ostream* out) {
    constexpr std::size_t shown = 24;
    for (const char c : hostile.line.substr(0, shown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f) {
            *out << c;
        } else {
            constexpr char hex[] = "0123456789abcdef";
            *out << "\\x" << hex[byte >> 4] << hex[byte & 15];
        }
    }
    if (hostile.line.size() > shown) *out << "... (" << hostile.line.size() << " bytes)";
}

class HostileInputTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileInputTest, is_answered_with_the_expected_text) {
    kx::test::Calculator calc;
    const HostileCase& hostile = GetParam();
    const std::string text = calc(hostile.line);
    EXPECT_EQ(text, hostile.expected);
    EXPECT_EQ(kx::test::explainBadText(text, hostile.line), std::nullopt);
    EXPECT_EQ(calc.tables().variables.size(), 1u) << "only tol";
}

INSTANTIATE_TEST_SUITE_P(lines, HostileInputTest, ::testing::ValuesIn(hostileCases));

TEST(HostileInputTest, a_name_of_high_bytes_is_stored_but_never_read) {
    kx::test::Calculator calc;
    EXPECT_EQ(calc("set \xe9t\xe9 = 2"), "2");
    EXPECT_TRUE(calc.tables().variables.find("\xe9t\xe9"));
    EXPECT_EQ(calc("\xe9t\xe9"), "Syntax Error: t\xe9");
}

TEST(HostileInputTest, a_failed_assignment_keeps_the_old_value) {
    kx::test::Calculator calc;
    ASSERT_EQ(calc("set x = 4"), "4");
    const std::string failures[] = {"set x = ", "set x = 2 3", "set x = (", "set x = \x80", "set x = 1)"};
    for (const std::string& line : failures) {
        const std::string text = calc(line);
        EXPECT_TRUE(kx::test::isMessageText(text, kx::test::lowered(line))) << line << " -> " << text;
        EXPECT_EQ(calc("x"), "4") << line;
    }
}

}  // namespace
