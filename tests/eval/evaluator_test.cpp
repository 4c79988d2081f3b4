// The evaluator's reduction rules and state machine, driven through small hand-made
// tables so that each rule shows on its own, independent of the shipped vocabulary.
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "support/calculator.h"
#include "support/throwing_evaluation.h"

namespace {

using kx::Complex;
using kx::OperatorEntry;
using kx::OperatorKind;

OperatorEntry entry(int precedence, int rightAssoc, int depth) {
    return {precedence, rightAssoc, depth, OperatorKind::Infix, {.binary = nullptr}};
}

TEST(should_reduce, depth_decides_before_precedence) {
    kx::OperatorStack stack;
    EXPECT_FALSE(kx::shouldReduce(stack, entry(2, 0, 0)));  // nothing to reduce
    stack.push(entry(2, 0, 1));
    EXPECT_TRUE(kx::shouldReduce(stack, entry(9, 0, 0)));   // deeper top goes first
    EXPECT_FALSE(kx::shouldReduce(stack, entry(0, 0, 2)));  // a deeper newcomer waits for nothing
    stack.push(entry(2, 0, -1));
    EXPECT_TRUE(kx::shouldReduce(stack, entry(2, 0, -2)));  // depths compare as signed numbers
}

TEST(should_reduce, precedence_then_the_top_entrys_associativity) {
    kx::OperatorStack stack;
    stack.push(entry(4, 0, 0));
    EXPECT_TRUE(kx::shouldReduce(stack, entry(2, 0, 0)));
    EXPECT_FALSE(kx::shouldReduce(stack, entry(6, 0, 0)));
    EXPECT_TRUE(kx::shouldReduce(stack, entry(4, 1, 0)));   // newcomer's associativity is ignored
    stack.push(entry(4, 7, 0));                             // any nonzero value is right-associative
    EXPECT_FALSE(kx::shouldReduce(stack, entry(4, 0, 0)));
    stack.push(entry(-3, 0, 0));
    EXPECT_TRUE(kx::shouldReduce(stack, entry(-5, 0, 0)));  // precedences compare as signed numbers
}

Complex twice(Complex z) { return {2 * z.re, 2 * z.im}; }
Complex minus(Complex z, Complex w) { return {z.re - w.re, z.im - w.im}; }

TEST(reduce_top, applies_entries_to_the_operands_in_written_order) {
    kx::OperatorStack operators;
    kx::OperandStack operands;
    operands.push({10, 0});
    operands.push({3, 0});
    operators.push({2, 0, 0, OperatorKind::Infix, {.binary = minus}});
    operators.push({6, 1, 0, OperatorKind::Prefix, {.unary = twice}});
    kx::reduceTop(operators, operands);  // twice(3)
    kx::reduceTop(operators, operands);  // 10 - 6
    ASSERT_EQ(operands.size(), 1u);
    EXPECT_EQ(operands.top().re, 4);
    EXPECT_TRUE(operators.empty());
}

TEST(reduce_top, missing_operands_run_out_of_data) {
    kx::OperatorStack operators;
    kx::OperandStack operands;
    operators.push({6, 1, 0, OperatorKind::Prefix, {.unary = twice}});
    try {
        kx::reduceTop(operators, operands);
        FAIL() << "no error";
    } catch (const kx::CalcError& error) {
        EXPECT_EQ(error.message, "Ran Out of Data");
    }
    operands.push({1, 0});
    operators.push({2, 0, 0, OperatorKind::InfixPower, {.binary = minus}});
    EXPECT_THROW(kx::reduceTop(operators, operands), kx::CalcError);
}

// The value's real part as an integer, or the message.
std::string outcome(const char* text, const kx::SymbolTables& tables) {
    try {
        return std::to_string(static_cast<int>(kx::evaluate(text, tables).re));
    } catch (const kx::CalcError& error) {
        return error.message;
    }
}

// Hand-made vocabulary: "!" doubles its operand written before it (postfix), "~" is an
// operator-position entry that takes one operand after it, "-" is infix minus.
class CustomTables : public ::testing::Test {
protected:
    CustomTables() {
        tables_.operators.insertIfAbsent("!", {8, 0, 0, OperatorKind::Postfix, {.unary = twice}});
        tables_.operators.insertIfAbsent("~", {8, 1, 0, OperatorKind::Prefix, {.unary = twice}});
        tables_.operators.insertIfAbsent("-", {2, 0, 0, OperatorKind::Infix, {.binary = minus}});
        tables_.functions.insertIfAbsent("dbl", {6, 1, 0, OperatorKind::Prefix, {.unary = twice}});
    }

    std::string run(const char* text) { return outcome(text, tables_); }

    kx::SymbolTables tables_;
};

TEST_F(CustomTables, postfix_entries_keep_expecting_an_operator) {
    EXPECT_EQ(run("3!"), "6");
    EXPECT_EQ(run("3!!"), "12");
    EXPECT_EQ(run("3! - 1"), "5");
    EXPECT_EQ(run("10 - 3!"), "4");
    EXPECT_EQ(run("3! 4"), "Parse Error: 4");
}

TEST_F(CustomTables, values_left_over_are_too_much_data) {
    EXPECT_EQ(run("2 ~ 3"), "Syntax error: Too much data.");
}

TEST(evaluate, with_no_infix_entries_every_operator_is_unknown) {
    kx::SymbolTables bare;
    bare.constants.insertIfAbsent("pi", {3, 0});
    EXPECT_EQ(outcome("pi", bare), "3");
    EXPECT_EQ(outcome("pi + 1", bare), "Syntax Error:  1");
}

// Operator entries that the shipped vocabulary makes visible: prefix functions bind as
// tightly as "^", brackets stamp depth, and lookups go functions, constants, variables.
TEST(evaluate, prefix_entries_and_bracket_depth) {
    kx::test::Calculator calc;
    calc("set sixx = 6");
    EXPECT_EQ(calc("-(2+3)*2"), "-10");
    EXPECT_EQ(calc("-sixx"), "-6");
    EXPECT_EQ(calc("- - sixx"), "6");
    EXPECT_EQ(calc("2*(3*(4-(5-6)))"), "30");
    EXPECT_EQ(calc("(2*3"), "6");
    EXPECT_EQ(calc("{(2+3]*2)"), "10");
    EXPECT_EQ(calc("1-(2-(3-(4-(5)))"), "3");
}

TEST(evaluate, deep_brackets_outgrow_the_inline_stacks) {
    kx::test::Calculator calc;
    std::string line;
    for (int i = 0; i < 200; ++i) line += "1+(";
    line += "1";
    EXPECT_EQ(calc(line), "201");
    std::string signs(300, '-');
    EXPECT_EQ(calc(signs + "2"), "2");
    EXPECT_EQ(calc("-" + signs + "2"), "-2");
}

}  // namespace
