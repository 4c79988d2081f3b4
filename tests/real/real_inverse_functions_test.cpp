// The portable real functions: special values with their signs and NaN bits, and correctly
// rounded values from mpmath (tests/reference/real_inverse_functions.txt), bit for bit.
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "real/exp.h"
#include "real/hypot.h"
#include "real/inverse_circular.h"
#include "real/inverse_hyperbolic.h"
#include "real/log.h"
#include "real/pow.h"
#include "real/sin_cos.h"
#include "support/float_bits.h"
#include "support/reference_table.h"

namespace kx::real {
namespace {

using test::bitsOf;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = kx::defaultNaN;
constexpr double pi = 0x1.921fb54442d18p+1;  // the doubles nearest pi, pi/2, pi/4, 3pi/4
constexpr double halfPi = 0x1.921fb54442d18p+0;
constexpr double quarterPi = 0x1.921fb54442d18p-1;
constexpr double threeQuarterPi = 0x1.2d97c7f3321d2p+1;
constexpr double tiny = 0x1p-1074;

struct UnaryCase {
    const char* name;
    double (*function)(double);
    double argument;
    double expected;  // compared bit for bit: signed zeros and the default NaN's sign count
};

TEST(RealFunctionSpecialValues, UnaryFunctions) {
    const UnaryCase cases[] = {
        {"log", log, +0.0, -inf},         {"log", log, -0.0, -inf},
        {"log", log, -1.0, nan},          {"log", log, -inf, nan},
        {"log", log, inf, inf},           {"log", log, 1.0, +0.0},
        {"log", log, tiny, -0x1.74385446d71c3p+9},
        {"log1p", log1p, +0.0, +0.0},     {"log1p", log1p, -0.0, -0.0},
        {"log1p", log1p, -1.0, -inf},     {"log1p", log1p, -2.0, nan},
        {"log1p", log1p, -inf, nan},      {"log1p", log1p, inf, inf},
        {"log1p", log1p, -tiny, -tiny},
        {"atan", atan, +0.0, +0.0},       {"atan", atan, -0.0, -0.0},
        {"atan", atan, inf, halfPi},      {"atan", atan, -inf, -halfPi},
        {"atan", atan, 1.0, quarterPi},   {"atan", atan, -tiny, -tiny},
        {"asin", asin, +0.0, +0.0},       {"asin", asin, -0.0, -0.0},
        {"asin", asin, 1.0, halfPi},      {"asin", asin, -1.0, -halfPi},
        {"asin", asin, 0x1.0000000000001p+0, nan}, {"asin", asin, -inf, nan},
        {"acos", acos, 1.0, +0.0},        {"acos", acos, -1.0, pi},
        {"acos", acos, +0.0, halfPi},     {"acos", acos, -0.0, halfPi},
        {"acos", acos, -0x1.0000000000001p+0, nan}, {"acos", acos, inf, nan},
        {"asinh", asinh, -0.0, -0.0},     {"asinh", asinh, -inf, -inf},
        {"acosh", acosh, 1.0, +0.0},      {"acosh", acosh, inf, inf},
        {"acosh", acosh, 0x1.fffffffffffffp-1, nan},
    };
    for (const UnaryCase& c : cases)
        EXPECT_EQ(bitsOf(c.function(c.argument)), bitsOf(c.expected)) << c.name << "(" << c.argument << ")";
}

TEST(RealFunctionSpecialValues, NaNArgumentsStayNaN) {
    const double quietNaN = std::numeric_limits<double>::quiet_NaN();
    for (double (*function)(double) : {log, log1p, atan, asin, acos, asinh, acosh})
        EXPECT_TRUE(std::isnan(function(quietNaN)));
    EXPECT_TRUE(std::isnan(atan2(quietNaN, 1.0)));
    EXPECT_TRUE(std::isnan(atan2(1.0, quietNaN)));
    EXPECT_TRUE(std::isnan(hypot(quietNaN, 1.0)));
    EXPECT_EQ(hypot(quietNaN, -inf), inf);  // an infinite part wins over NaN
}

struct BinaryCase {
    double first, second, expected;
};

TEST(RealFunctionSpecialValues, TwoArgumentArctangentOfZerosAndInfinities) {
    const BinaryCase cases[] = {  // atan2(y, x)
        {+0.0, +0.0, +0.0},   {-0.0, +0.0, -0.0},   {+0.0, -0.0, pi},       {-0.0, -0.0, -pi},
        {+0.0, 1.0, +0.0},    {-0.0, 1.0, -0.0},    {+0.0, -1.0, pi},       {-0.0, -1.0, -pi},
        {1.0, +0.0, halfPi},  {1.0, -0.0, halfPi},  {-1.0, +0.0, -halfPi},  {-1.0, -0.0, -halfPi},
        {inf, inf, quarterPi},          {-inf, inf, -quarterPi},
        {inf, -inf, threeQuarterPi},    {-inf, -inf, -threeQuarterPi},
        {inf, 1.0, halfPi},   {-inf, -1.0, -halfPi},
        {1.0, inf, +0.0},     {-1.0, inf, -0.0},    {1.0, -inf, pi},        {-1.0, -inf, -pi},
        {1.0, 1.0, quarterPi},          {-1.0, -1.0, -threeQuarterPi},
        {tiny, 0x1p+1023, +0.0},        {-tiny, -0x1p+1023, -pi},          // quotient underflows
        {0x1p+1023, tiny, halfPi},      {0x1p-1022, 0x1p+60, +0.0},  // the quotient 2^-1082 underflows to zero
    };
    for (const BinaryCase& c : cases)
        EXPECT_EQ(bitsOf(atan2(c.first, c.second)), bitsOf(c.expected)) << "atan2(" << c.first << ", " << c.second << ")";
}

TEST(RealFunctionSpecialValues, ModulusOfZerosInfinitiesAndExtremes) {
    const BinaryCase cases[] = {
        {+0.0, -0.0, +0.0},  {-0.0, -0.0, +0.0},   {-3.0, 0.0, 3.0},     {3.0, -4.0, 5.0},
        {inf, 1.0, inf},     {1.0, -inf, inf},
        {0x1p+1023, 0x1p+1023, 0x1.6a09e667f3bcdp+1023},  {0x1.fffffffffffffp+1023, 0x1p+1023, inf},
        {3 * tiny, 4 * tiny, 5 * tiny},  {tiny, tiny, tiny},  {0x1p+700, 0x1p-700, 0x1p+700},
    };
    for (const BinaryCase& c : cases)
        EXPECT_EQ(bitsOf(hypot(c.first, c.second)), bitsOf(c.expected)) << "hypot(" << c.first << ", " << c.second << ")";
}

TEST(RealFunctionSpecialValues, PiFromTheArctangentOfOne) {
    EXPECT_EQ(bitsOf(4.0 * atan2(1.0, 1.0)), bitsOf(pi));
}

// Every line of the mpmath table must come out bit for bit.
TEST(RealFunctionReferences, CorrectlyRoundedOnTheTable) {
    const std::map<std::string, double (*)(double)> unary{{"log", log},   {"log1p", log1p}, {"atan", atan},
                                                          {"asin", asin}, {"acos", acos},   {"asinh", asinh},
                                                          {"acosh", acosh}};
    const std::map<std::string, double (*)(double, double)> binary{{"atan2", atan2}, {"hypot", hypot}};
    const auto table = test::loadReferenceTable(KX_REFERENCE_DIR "/real_inverse_functions.txt");
    ASSERT_GT(table.size(), 700u);
    for (const test::ReferenceCase& c : table) {
        const double result = c.inputs.size() == 2 ? unary.at(c.function)(c.inputs[0])
                                                   : binary.at(c.function)(c.inputs[0], c.inputs[2]);
        EXPECT_EQ(bitsOf(result), bitsOf(c.expected.re)) << c.function << " on line " << c.line << ": got " << result;
    }
}

}  // namespace
}  // namespace kx::real
