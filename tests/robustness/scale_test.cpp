// Very long lines give the right text on a thread with a small stack: the scan and the
// reduction use no recursion, so neither nesting depth nor line length reaches the stack.
#include <pthread.h>

#include <cctype>
#include <functional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "support/calculator.h"
#include "support/long_lines.h"

namespace {

using namespace kx::test::long_lines;

// Far less than one byte per nesting level of the deepest line below.
constexpr std::size_t smallStack = 1 << 20;

// Runs work on a fresh thread whose stack holds smallStack bytes.
void onSmallStack(const std::function<void()>& work) {
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, smallStack), 0);
    pthread_t thread;
    auto trampoline = [](void* argument) -> void* {
        (*static_cast<const std::function<void()>*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, trampoline, const_cast<std::function<void()>*>(&work)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

struct ScaleCase {
    const char* name;
    std::function<std::string()> line;
    const char* expected;
};

const std::string fiftyThrees(50, '3');
const std::string fortyNineDollars(49, '$');

const ScaleCase scaleCases[] = {
    {"ten megabyte sum", [] { return sumOfOnes(5'000'000); }, "5000000"},
    {"million brackets", [] { return nestedBrackets(1'000'000); }, "3"},
    {"million unclosed brackets", [] { return joined({repeated("(", 1'000'000), "7"}); }, "7"},
    {"million nested products", [] { return nestedProducts(1'000'000); }, "1"},
    {"million prefix signs", [] { return prefixSigns(1'000'000); }, "2"},
    {"million and one prefix signs", [] { return prefixSigns(1'000'001); }, "-2"},
    {"million alternating signs", [] { return joined({repeated("+-", 500'000), "(2+i)"}); }, "2+i"},
    {"million-letter unknown name", [] { return joined({longName(1'000'000), "+1"}); }, "1"},
    {"million-letter name alone", [] { return longName(1'000'000); }, "Ran Out of Data"},
    {"million-digit number", [] { return repeated("7", 1'000'000); }, "inf"},
    {"million-digit fraction", [] { return joined({"0.", repeated("0", 1'000'000), "1"}); }, "0"},
    {"million digits scaled back", [] { return joined({"1", repeated("0", 1'000'000), "e-1000000"}); }, "1"},
    {"long parse error", [] { return joined({"2 ", repeated("3", 1'000'000)}); }, "Parse Error: 33333333333333333333333333333333333333333333333333"},
    {"long syntax error", [] { return joined({"1 ", repeated("$", 1'000'000)}); }, "Syntax Error: $$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$$"},
    {"million unmatched closers", [] { return joined({"1", repeated(")", 1'000'000)}); }, "Syntax error.  Unmatched: )"},
    {"error after a long sum", [] { return joined({sumOfOnes(1'000'000), ")"}); }, "Syntax error.  Unmatched: )"},
};

void PrintTo(const ScaleCase& scale, std::ostream* out) { *out << scale.name; }

class ScaleTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleTest, gives_the_right_text_on_a_small_stack) {
    const ScaleCase& scale = GetParam();
    const std::string line = scale.line();
    std::string text;
    onSmallStack([&] {
        kx::test::Calculator calc;
        text = calc(line);
    });
    EXPECT_EQ(text, scale.expected);
}

INSTANTIATE_TEST_SUITE_P(long_lines, ScaleTest, ::testing::ValuesIn(scaleCases), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

TEST(ScaleTest, million_letter_variable_is_stored_and_read_back) {
    const std::string name = longName(1'000'000);
    std::string stored, read;
    onSmallStack([&] {
        kx::test::Calculator calc;
        stored = calc(joined({"set ", name, " = 7"}));
        read = calc(joined({name, "*2"}));
    });
    EXPECT_EQ(stored, "7");
    EXPECT_EQ(read, "14");
}

TEST(ScaleTest, hundred_thousand_distinct_variables_keep_their_values) {
    constexpr std::size_t count = 100'000;
    kx::test::Calculator calc;
    for (std::size_t k = 0; k < count; ++k) {
        ASSERT_EQ(calc(joined({"set ", distinctName(k), " = ", std::to_string(k)})), std::to_string(k));
    }
    EXPECT_EQ(calc.tables().variables.size(), count + 1);  // and "tol"
    for (std::size_t k = 0; k < count; k += 997) {
        EXPECT_EQ(calc(distinctName(k)), std::to_string(k)) << distinctName(k);
    }
    EXPECT_EQ(calc(joined({distinctName(count - 1), "-", distinctName(count - 2)})), "1");
}

}  // namespace
