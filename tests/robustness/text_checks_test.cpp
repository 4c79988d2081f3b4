// The checker of answer texts that the fuzz target relies on: it must accept every text the
// calculator writes and refuse texts that only look close.
#include <string>

#include <gtest/gtest.h>

#include "golden/golden_cases.h"
#include "support/text_checks.h"

namespace {

using kx::test::explainBadText;
using kx::test::isMessageText;
using kx::test::isResultText;

TEST(TextChecksTest, accepts_every_golden_answer) {
    for (const auto& group : kx::golden::allGroups) {
        for (const auto& golden : group.cases) {
            EXPECT_EQ(explainBadText(golden.expected, golden.line), std::nullopt)
                << group.name << ": " << golden.line;
        }
    }
}

TEST(TextChecksTest, accepts_result_forms) {
    const char* const good[] = {"0", "-0", "nan", "i", "-i", "inf", "-inf", "infi", "-infi", "1+infi",
                                "0+0i", "-0-0i", "2+i", "2-i", "3-4i", "0.0001", "1e-005", "1e+015",
                                "999999999999999", "1.79769313486232e+308", "4.94065645841247e-324",
                                "-1.5e-300-2.25e+200i", "3.14159265358979", "0.000123456789012345"};
    for (const char* text : good) EXPECT_TRUE(isResultText(text)) << text;
}

TEST(TextChecksTest, refuses_malformed_results) {
    const char* const bad[] = {
        "",             // nothing written
        "1.0",          // trailing zero
        "1.",           // trailing point
        "01",           // leading zero
        "1e+20",        // two exponent digits
        "1e+0020",      // four exponent digits
        "1e+005",       // exponent in the fixed range
        "1.5e+014",     // likewise
        "0.00001",      // should be 1e-005
        "1000000000000000",  // 16 digits
        "1.234567890123456",  // 16 significant digits
        "12e+020",      // two leading digits in the exponent form
        "+1",           // real part with a plus
        "1+",           // sign without imaginary part
        "1i2",          // garbage after i
        "1++2i",        // doubled sign
        "nani",         // a NaN part is never written
        "1+nani",
        "NaN", "Inf", "1,5", " 1", "1 ", "ii", "--1",
    };
    for (const char* text : bad) EXPECT_FALSE(isResultText(text)) << text;
}

struct MessageCase {
    const char* text;
    const char* line;
    bool accepted;
};

const MessageCase messageCases[] = {
    {"Ran Out of Data", "2+", true},
    {"Out of memory.", "1", true},
    {"Syntax error: Missing variable name.", "set = 1", true},
    {"Syntax error: Too much data.", "1 2", true},
    {"Syntax error: (", "2(", true},
    {"Syntax error: x", "2x", false},  // only a bracket follows these words
    {"Syntax error.  Unmatched: )", "2)", true},
    {"Syntax error.  Unmatched: (", "2(", false},
    {"Syntax error. Unmatched: )", "2)", false},  // one blank too few
    {"Parse Error: 3", "2 3", true},
    {"Parse Error: 4", "2 3", false},  // not a tail of the line
    {"Parse Error: x", "2 x", false},  // the quote starts at a number
    {"Syntax Error: ", "2x", true},
    {"Syntax Error:  comment", "2 # comment", true},
    {"Syntax Error: comment", "2 # COMMENT", true},  // the line is quoted lowered
    {"Syntax Error: COMMENT", "2 # COMMENT", false},
    {"Syntax Error: 2", "1 x", false},
    {"Syntax error: 3", "2 3", false},  // wrong case of the word
    {"Ran out of data", "2+", false},
};

TEST(TextChecksTest, tells_messages_from_imitations) {
    for (const MessageCase& message : messageCases) {
        EXPECT_EQ(isMessageText(message.text, kx::test::lowered(message.line)), message.accepted)
            << message.text << " for " << message.line;
    }
}

TEST(TextChecksTest, a_cut_message_quotes_from_inside_the_line) {
    const std::string line = "1 " + std::string(100, '7') + "x";
    const std::string cut = "Parse Error: " + std::string(50, '7');
    EXPECT_TRUE(isMessageText(cut, line));
    EXPECT_FALSE(isMessageText(cut + "7", line));  // 64 characters: longer than any message
}

}  // namespace
