// End-to-end golden cases: a line as the host writes it and the exact text that kx_calc
// leaves in the buffer. Every line here assigns nothing, so each case stands alone and
// the same table serves every build of the library (in-process, dlopen, the Windows DLL).
#pragma once

#include <span>

namespace kx::golden {

struct GoldenCase {
    const char* line;
    const char* expected;
};

struct GoldenGroup {
    const char* name;
    std::span<const GoldenCase> cases;
};

inline constexpr GoldenCase numberCases[] = {
    {"5", "5"},
    {".5", "0.5"},
    {"5.", "5"},
    {"1e3", "1000"},
    {"1d3", "1000"},
    {"1D3", "1000"},
    {"2.5e-1", "0.25"},
    {"1E+2", "100"},
    {"0.1", "0.1"},
    {"123456789012345678", "1.23456789012346e+017"},
    {"1e15", "1e+015"},
    {"999999999999999", "999999999999999"},
    {"1e14", "100000000000000"},
    {"0.0001", "0.0001"},
    {"0.00001", "1e-005"},
    {"1e20", "1e+020"},
    {"1e-5", "1e-005"},
    {"1e100", "1e+100"},
    {"1.7976931348623157e308", "1.79769313486232e+308"},
    {"1e309", "inf"},
    {"-1e309", "-inf"},
    {"1e999999999", "inf"},
    {"1e-999999999", "0"},
    {"1e-310", "0"},
    {"00012", "12"},
    {"3.14159265358979323846", "3.14159265358979"},
    {"pi", "3.14159265358979"},
    {"PI", "3.14159265358979"},
    {"e", "2.71828182845905"},
    {"i", "i"},
    {"-i", "-i"},
    {"tol", "0"},  // 1e-10 is not above the tolerance 1e-10
};

inline constexpr GoldenCase formatCases[] = {
    {"3+4*i", "3+4i"},
    {"3-4*i", "3-4i"},
    {"2+i", "2+i"},
    {"2-i", "2-i"},
    {"0", "0"},
    {"-0", "0"},
    {"1e-12+1e-11*i", "0"},
    {"1e-12+2*i", "2i"},
    {"2*i", "2i"},
    {"-2*i", "-2i"},
    {"2+1.0000000000000002*i", "2+1i"},
    {"0.5*i", "0.5i"},
    {"1e20*i", "1e+020i"},
    {"1+1e20*i", "1+1e+020i"},
    {"1-1e-5*i", "1-1e-005i"},
    {"1e309*i", "infi"},
    {"1+1e309*i", "infi"},  // inf times i has a NaN real part (inf * 0), which is not printed
    {"1/0", "nan"},
    {"0/0", "nan"},
    {"7 % 0", "nan"},
    {"1e309-1e309", "nan"},
};

inline constexpr GoldenCase messageCases[] = {
    {"2 3", "Parse Error: 3"},
    {"2 3X", "Parse Error: 3x"},
    {"2 (3)", "Syntax error: ("},
    {"()", "Syntax error: )"},
    {"2)", "Syntax error.  Unmatched: )"},
    {"2]", "Syntax error.  Unmatched: ]"},
    {"2i", "Syntax Error: "},
    {"2pi", "Syntax Error: "},
    {"2x", "Syntax Error: "},
    {"2sin(1)", "Syntax Error: (1)"},
    {"*3", "Syntax Error: 3"},
    {"2+*3", "Syntax Error: 3"},
    {"= 3", "Syntax Error:  3"},
    {"2**3", "Syntax Error: 3"},
    {"1.2.3", "Parse Error: .3"},
    {"1 .", "Parse Error: ."},
    {".", "Parse Error: ."},
    {"0x10", "Syntax Error: 10"},
    {"5e", "Syntax Error: "},
    {"x2", "2"},
    {"foo+1", "1"},
    {"3*foo", "Ran Out of Data"},
    {"3*foo*2", "Syntax Error: 2"},
    {"2+", "Ran Out of Data"},
    {"-", "Ran Out of Data"},
    {"", "Ran Out of Data"},
    {"   ", "Ran Out of Data"},
    {"(((", "Ran Out of Data"},
    {"foo bar", "Ran Out of Data"},
    {"set x", "Ran Out of Data"},
    {"set\tx = 2", "Syntax Error:  2"},
    {"2 # comment", "Syntax Error:  comment"},
    {"2 + 3 $", "Syntax Error: "},
    {"\x80" "1", "Syntax Error: 1"},
    {"1 \x80", "Syntax Error: "},
    {"1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+17+18+19+20+21 22 23 24 25 26 27",
     "Parse Error: 22 23 24 25 26 27"},
    {"1 234567890123456789012345678901234567890123456789012345678901234567890",
     "Parse Error: 23456789012345678901234567890123456789012345678901"},
};

inline constexpr GoldenCase precedenceCases[] = {
    {"2-3-4", "-5"},
    {"2/2/2", "0.5"},
    {"1+2*3", "7"},
    {"2*3+1", "7"},
    {"(1+2)*3", "9"},
    {"2*(3+4)", "14"},
    {"2*-3", "-6"},
    {"-2*3", "-6"},
    {"2--3", "5"},
    {"-(2+3)", "-5"},
    {"+-+-2", "2"},
    {"(1+2", "3"},
    {"(1+2]", "3"},
    {"[2]*{3}", "6"},
    {"((((1))))", "1"},
    {"2*(3+(4-1)*2)", "18"},
    {"10-2*3-1", "3"},
    {"7 % 3", "1"},
    {"-7 % 3", "-1"},
    {"7.5 % 2", "1.5"},
    {"7 % 3 + i", "1+i"},
    {"6 % 3", "0"},
    {"(5+7*i) % 3", "2"},
    {"(5+7*i) % (3+2*i)", "2+i"},
    {"(1+2*i)/(3+4*i)", "0.44+0.08i"},
    {"(1+i)/(1-i)", "i"},
    {"i/i", "1"},
    {"(3+4*i)*(3+4*i)", "-7+24i"},
    {"1e308*10", "inf"},
};

inline constexpr GoldenGroup coreGroups[] = {
    {"numbers", numberCases},
    {"format", formatCases},
    {"messages", messageCases},
    {"precedence", precedenceCases},
};

}  // namespace kx::golden
