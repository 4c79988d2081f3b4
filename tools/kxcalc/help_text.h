// The text of "help" in an interactive session: the whole language on one screen.
#pragma once

#include <string_view>

namespace kxcalc {

// With the two lines below it, at most 20 lines of at most 79 columns: the help and a
// prompt fit a terminal of 24 lines.
inline constexpr std::string_view helpText =
    "Type an expression over the complex numbers; each line gives its value.\n"
    "  2*sin(pi/6)    (3+4*i)^2    sqrt(-4)    set x = 2+i    x/(1-i)\n"
    "\n"
    "Numbers    12  1.5  .5  5.  1e3  1d3  2.5e-1   (no sign or i inside a number:\n"
    "           -2 is minus 2; write 2*i, not 2i)\n"
    "Constants  i  pi  e                 Names ignore case: PI is pi.\n"
    "Operators  + -  loosest, left to right     * / %  (% is fmod), left to right\n"
    "           ^ and signs + -  tightest, right to left: 2^3^2 = 512, -2^2 = -4\n"
    "Functions  sin cos tan sec csc cot    sinh cosh tanh sech csch coth\n"
    "           asin acos atan asec acsc acot    asinh acosh atanh asech acsch acoth\n"
    "           sqrt exp ln log abs      brackets optional: sin 2 = sin(2)\n"
    "Brackets   ( [ { and ) ] } are counted, not matched by kind: (1+2] = 3\n"
    "Variables  set NAME = EXPRESSION stores a value; a name is a run of letters\n"
    "           tol (1e-10 at start): parts not above it are left out of a result\n"
    "Results    6+8i  -i  0.25  1e+020  inf  nan (no number: 1/0, 0/0)\n"
    "\n";

// The lines that follow when the session has line editing.
inline constexpr std::string_view editingHelpText =
    "Tab completes names; Up and Down recall lines, kept from earlier sessions;\n"
    "Ctrl-C drops the line being typed.\n";

// The last line of the help.
inline constexpr std::string_view leavingHelpText = "help shows this text; quit, exit or Ctrl-D leaves.\n";

}  // namespace kxcalc
