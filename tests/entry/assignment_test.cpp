// The "set" command and the tolerance, through the text a call leaves in the buffer.
#include <string>

#include <gtest/gtest.h>

#include "support/calculator.h"
#include "support/float_bits.h"

namespace {

using kx::test::Calculator;

struct Step {
    const char* line;
    const char* expected;
};

void runSession(std::initializer_list<Step> steps) {
    Calculator calc;
    for (const Step& step : steps) EXPECT_EQ(calc(step.line), step.expected) << "line: " << step.line;
}

TEST(assignment, stores_the_value_and_returns_it) {
    runSession({
        {"set x = 2+i", "2+i"},
        {"x*x", "3+4i"},
        {"set x = x*2", "4+2i"},
        {"x", "4+2i"},
        {"SET Y = 3", "3"},
        {"y+X", "7+2i"},
        {"set   long   =   5", "5"},
        {"long", "5"},
        {"set z=1", "1"},
        {"z", "1"},
    });
}

TEST(assignment, recognised_only_by_set_and_a_space_and_an_equals_sign) {
    runSession({
        {"set x", "Ran Out of Data"},        // no "=": an expression, set and x unknown
        {"set\tx = 2", "Syntax Error:  2"},  // a tab after set does not count
        {"x = 2", "Syntax Error:  2"},       // no set: an expression
        {"setx = 2", "Syntax Error:  2"},
        {" set x = 2", "Syntax Error:  2"},
        {"set x = 2", "2"},
        {"set x", "2"},  // now x is known: the line is the value of x
    });
}

TEST(assignment, right_hand_side_is_evaluated_up_to_the_end_after_the_first_equals) {
    runSession({
        {"set a = 1 = 2", "Syntax Error:  2"},
        {"a", "Ran Out of Data"},  // nothing stored
        {"set a = (1+2", "3"},
        {"set a = 2)", "Syntax error.  Unmatched: )"},
        {"a", "3"},  // the failed assignment left the old value
    });
}

TEST(assignment, empty_name_stores_nothing) {
    runSession({
        {"set  = 5", "Syntax error: Missing variable name."},
        {"set = 5", "Syntax error: Missing variable name."},
        {"set \t = 5", "Syntax error: Missing variable name."},
        {"set = 2)", "Syntax error.  Unmatched: )"},  // the right-hand side's message wins
        {"set =", "Ran Out of Data"},
    });
    Calculator calc;
    calc("set  = 5");
    EXPECT_EQ(calc.tables().variables.size(), 1u);  // "tol" alone
}

TEST(assignment, any_name_is_stored_but_only_letters_are_read_back) {
    Calculator calc;
    EXPECT_EQ(calc("set a b = 1"), "1");
    EXPECT_EQ(calc("set x2 = 4"), "4");
    EXPECT_EQ(calc("set + = 4"), "4");
    EXPECT_TRUE(calc.tables().variables.find("a b"));
    EXPECT_TRUE(calc.tables().variables.find("x2"));
    EXPECT_TRUE(calc.tables().variables.find("+"));
    EXPECT_EQ(calc("x2"), "2");  // the name x is unknown and passed over
    EXPECT_EQ(calc("1+2"), "3");
}

TEST(assignment, constants_and_functions_hide_variables_of_the_same_name) {
    runSession({
        {"set pi = 3", "3"},
        {"pi", "3.14159265358979"},
        {"set i = 5", "5"},
        {"i", "i"},
        {"set e = 1", "1"},
        {"e", "2.71828182845905"},
    });
}

TEST(assignment, reassigning_replaces_both_parts_and_adds_no_entry) {
    Calculator calc;
    calc("set v = 1+2*i");
    const std::size_t count = calc.tables().variables.size();
    calc("set v = -0");
    EXPECT_EQ(calc.tables().variables.size(), count);
    const auto stored = calc.tables().variables.find("v");
    ASSERT_TRUE(stored);
    EXPECT_TRUE(kx::test::sameComplex(*stored, {-0.0, -0.0}));
}

TEST(tolerance, change_takes_effect_on_the_next_call) {
    runSession({
        {"set tol = 0.5", "0.5"},
        {"0.3+2*i", "2i"},
        {"0.3+0.3*i", "0"},
        {"set tol = 2", "2"},
        {"1.5+i", "i"},
        {"1.5+1.5*i", "0"},
        {"set tol = 1e-3", "0"},  // written with the tolerance 2 still in force
        {"tol", "0"},  // 0.001 is not above itself
        {"set tol = -1", "-1"},
        {"0", "0+0i"},
        {"1e-310", "9.99999999999997e-311+0i"},
        {"set tol = 1e-10", "1e-010+0i"},
        {"1e-11+i", "i"},
    });
}

TEST(tolerance, imaginary_part_of_tol_is_ignored) {
    runSession({
        {"set tol = 0.5+100*i", "0.5+100i"},
        {"0.7+0.7*i", "0.7+0.7i"},
    });
}

TEST(tolerance, a_missing_tol_is_created_as_zero) {
    Calculator calc;
    kx::SymbolTables& tables = calc.tables();
    tables.variables.clear();
    EXPECT_EQ(calc("1e-12"), "1e-012");  // tolerance 0: every nonzero part is printed
    const auto tol = tables.variables.find("tol");
    ASSERT_TRUE(tol);
    EXPECT_TRUE(kx::test::sameComplex(*tol, {0.0, 0.0}));
}

}  // namespace
