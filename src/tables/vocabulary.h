// The vocabulary: every name and symbol the calculator knows before any assignment, with the
// grammar of its operators, in the order the tables are built. This is the one list of names:
// the library binds its operations to it (table_entries.cpp), the hosts complete names from it,
// and the tests check every other list of names (the page's, the help texts) against it.
//
// Names only: nothing here refers to a function of the library, so a host that links nothing
// but kx_calc may include this header.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kx::vocabulary {

// The prefix functions, in table order: circular and hyperbolic, their inverses, then the
// exponential family.
inline constexpr std::array<std::string_view, 29> functionNames{
    "sin",   "cos",   "tan",   "sec",   "csc",   "cot",    // circular
    "sinh",  "cosh",  "tanh",  "sech",  "csch",  "coth",   // hyperbolic
    "asin",  "acos",  "atan",  "asec",  "acsc",  "acot",   // inverse circular
    "asinh", "acosh", "atanh", "asech", "acsch", "acoth",  // inverse hyperbolic
    "sqrt",  "exp",   "ln",    "log",   "abs"};            // power and modulus

// The prefix signs, read where an operand is expected; they follow the functions in their table.
inline constexpr std::array<std::string_view, 2> prefixSignNames{"+", "-"};

// Every prefix function and prefix sign binds as tightly as "^" and associates to the right.
inline constexpr std::int32_t prefixPrecedence = 6;
inline constexpr bool prefixRightAssociative = true;

struct InfixOperator {
    std::string_view symbol;
    std::int32_t precedence;  // larger binds tighter
    bool rightAssociative;    // an equal-precedence newcomer does not reduce this one
};

// The infix operators, read where an operator is expected, in table order.
inline constexpr std::array<InfixOperator, 6> infixOperators{{
    {"^", 6, true},
    {"+", 2, false},
    {"-", 2, false},
    {"*", 4, false},
    {"/", 4, false},
    {"%", 4, false},
}};

inline constexpr std::array<std::string_view, 3> constantNames{"i", "pi", "e"};

// The one variable that exists before any assignment: the tolerance of the results.
inline constexpr std::string_view toleranceName = "tol";

}  // namespace kx::vocabulary
