// The names the calculator knows before any assignment: its functions, its constants and
// the tolerance variable. The library exposes only kx_calc, so the host keeps its own list.
#pragma once

#include <array>
#include <string_view>

namespace kxcalc {

inline constexpr std::array<std::string_view, 29> functionNames{
    "sin",   "cos",   "tan",   "sec",   "csc",   "cot",                      // circular
    "sinh",  "cosh",  "tanh",  "sech",  "csch",  "coth",                     // hyperbolic
    "asin",  "acos",  "atan",  "asec",  "acsc",  "acot",                     // inverse circular
    "asinh", "acosh", "atanh", "asech", "acsch", "acoth",                    // inverse hyperbolic
    "sqrt",  "exp",   "ln",    "log",   "abs"};                              // power and modulus

inline constexpr std::array<std::string_view, 3> constantNames{"i", "pi", "e"};

inline constexpr std::string_view toleranceName = "tol";

}  // namespace kxcalc
