// Fault messages are written into the same buffer that holds the line they quote: the
// quoted rest is moved into place before the fixed words overwrite the start, and the
// whole message is cut to 63 characters.
#include <string>

#include <gtest/gtest.h>

#include "support/calculator.h"

namespace {

struct FaultCase {
    std::string line;
    std::string expected;
};

std::string digits(int count) {
    std::string text;
    for (int k = 0; k < count; ++k) text += static_cast<char>('0' + k % 10);
    return text;
}

TEST(fault_message, quoted_text_that_overlaps_the_fixed_words_survives_the_move) {
    const FaultCase cases[] = {
        {"*3", "Syntax Error: 3"},                    // the rest starts at byte 1, inside the fixed words
        {"*ABC+1", "Syntax Error: abc+1"},            // quoted in lower case
        {"*XyZ", "Syntax Error: xyz"},
        {"*@AZ[`az{\xC1\xDA", "Syntax Error: @az[`az{\xC1\xDA"},  // only A to Z are lowered
        {"2 3", "Parse Error: 3"},
        {"2 (3)", "Syntax error: ("},
        {")", "Syntax error: )"},
        {"2)", "Syntax error.  Unmatched: )"},
        {"2 3 ", "Parse Error: 3 "},                  // blanks of the rest are kept
        {"= 3", "Syntax Error:  3"},
        {"set x = *5", "Syntax Error: 5"},            // a fault on the right of an assignment
        {"set x = 2 3", "Parse Error: 3"},
        {"2+", "Ran Out of Data"},
        {"1 ~", "Syntax Error: "},
    };
    kx::test::Calculator calc;
    for (const FaultCase& fault : cases) EXPECT_EQ(calc(fault.line), fault.expected) << fault.line;
}

TEST(fault_message, a_long_rest_is_cut_with_the_message_to_63_characters) {
    kx::test::Calculator calc;
    const std::string rest = digits(200);
    const std::string message = calc("7 " + rest);
    EXPECT_EQ(message, ("Parse Error: " + rest).substr(0, 63));
    EXPECT_EQ(calc("*" + rest), ("Syntax Error: " + rest).substr(0, 63));
    const std::string exact = digits(63 - 14);  // exactly 63 characters with the fixed words
    EXPECT_EQ(calc("*" + exact), "Syntax Error: " + exact);
}

}  // namespace
