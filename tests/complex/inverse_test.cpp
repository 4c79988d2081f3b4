// The inverse circular and hyperbolic functions: the axis branches, the principal values
// off the axes, the reciprocal forms and accuracy against mpmath.
#include "complex/inverse.h"

#include <cmath>
#include <iostream>
#include <limits>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "support/calculator.h"
#include "support/float_bits.h"
#include "support/reference_table.h"
#include "support/unary_reference_check.h"

namespace kx::test {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double halfPi = 1.5707963267948966;
constexpr double pi = 3.141592653589793;

UnaryFunction functionNamed(const std::string& name) { return test::functionNamed(functionEntries(), name); }

bool isDefaultNaN(double value) { return bitsOf(value) == defaultNaNBits(); }

// Equal within ulps part by part, with equal signs of zero and NaN matching NaN.
::testing::AssertionResult near(Complex got, Complex expected, double ulps = 2.0) {
    auto partOk = [&](double g, double e) {
        if (std::isnan(e) || std::isnan(g) || g == 0.0 || e == 0.0 || std::isinf(e)) return sameValue(g, e);
        return ulpError(g, e) <= ulps;
    };
    if (partOk(got.re, expected.re) && partOk(got.im, expected.im)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.re << ", " << got.im << ") expected (" << expected.re << ", "
                                         << expected.im << ")";
}

struct NamedCase {
    const char* name;
    Complex argument, expected;
};

void expectAll(std::initializer_list<NamedCase> cases, double ulps = 2.0) {
    for (const NamedCase& c : cases)
        EXPECT_TRUE(near(functionNamed(c.name)(c.argument), c.expected, ulps))
            << c.name << "(" << c.argument.re << ", " << c.argument.im << ")";
}

// --- The three cores: the axes and their chosen values -----------------------------------

TEST(inverse_functions, arcsine_axes_and_principal_values) {
    expectAll({
        {"asin", {1.0, 0.0}, {halfPi, +0.0}},
        {"asin", {-1.0, -0.0}, {-halfPi, +0.0}},          // the imaginary part is +0 on the real axis
        {"asin", {0.5, 0.0}, {0.5235987755982989, +0.0}},
        {"asin", {2.0, 0.0}, {nan, +0.0}},                 // no complex value on the real axis
        {"asin", {-inf, 0.0}, {nan, +0.0}},
        {"asin", {0.0, 1.0}, {+0.0, 0.881373587019543}},
        {"asin", {-0.0, 2.0}, {+0.0, 1.4436354751788103}},
        {"asin", {0.0, -1e8}, {+0.0, -19.113827924512311}},  // not -inf: no ln(y + sqrt(y² + 1)) cancellation
        {"asin", {0.0, 1e-8}, {+0.0, 1e-8}},
        {"asin", {1.0, 1.0}, {0.6662394324925152, 1.0612750619050357}},
        {"asin", {-1.0, -1.0}, {-0.6662394324925152, -1.0612750619050357}},
        {"asin", {2.0, 1e-300}, {1.5707963267948966, 1.3169578969248166}},  // just above the cut
        {"asin", {2.0, -1e-300}, {1.5707963267948966, -1.3169578969248166}},
    });
    EXPECT_TRUE(isDefaultNaN(arcsine({2.0, 0.0}).re));
}

TEST(inverse_functions, arctangent_axes_and_principal_values) {
    expectAll({
        {"atan", {1.0, 0.0}, {0.7853981633974483, +0.0}},
        {"atan", {-1e300, -0.0}, {-halfPi, +0.0}},
        {"atan", {0.0, 1.0}, {+0.0, inf}},        // the branch points are poles
        {"atan", {0.0, -1.0}, {+0.0, -inf}},
        {"atan", {0.0, 2.0}, {+0.0, nan}},        // the cut itself: no value formed
        {"atan", {-0.0, 0.5}, {+0.0, 0.5493061443340549}},
        {"atan", {0.0, -0.999999}, {+0.0, -7.254328619247669}},
        {"atan", {1.0, 1.0}, {1.0172219678978514, 0.40235947810852507}},
        {"atan", {-1.0, 1.0}, {-1.0172219678978514, 0.40235947810852507}},
        {"atan", {1e-300, 2.0}, {halfPi, 0.5493061443340549}},   // right of the cut
        {"atan", {-1e-300, 2.0}, {-halfPi, 0.5493061443340549}},  // left of it
        {"atan", {1e-300, 1.0}, {0.7853981633974483, 345.73433753938684}},  // at i the logarithm is huge, finite
    });
    EXPECT_TRUE(isDefaultNaN(arctangent({0.0, 2.0}).im));
}

TEST(inverse_functions, inverse_hyperbolic_cosine_axes_and_principal_values) {
    expectAll({
        {"acosh", {1.0, 0.0}, {0.0, +0.0}},
        {"acosh", {2.0, -0.0}, {1.3169578969248166, +0.0}},
        {"acosh", {0.5, 0.0}, {nan, +0.0}},
        {"acosh", {-1e8, 0.0}, {nan, +0.0}},     // not -inf: the real formula has no value below 1
        {"acosh", {1e160, 0.0}, {369.10676205960726, +0.0}},  // not inf
        {"acosh", {1.0, 1.0}, {1.0612750619050357, 0.9045568943023813}},
        {"acosh", {1.0, -1.0}, {1.0612750619050357, -0.9045568943023813}},
        {"acosh", {0.0, 1.0}, {0.881373587019543, halfPi}},        // principal value on Re z = 0
        {"acosh", {-0.0, -1.0}, {0.881373587019543, -halfPi}},
        {"acosh", {-1.0, 1.0}, {1.0612750619050357, 2.2370357592874117}},
        {"acosh", {-2.0, 1e-300}, {1.3169578969248166, pi}},      // above the cut
        {"acosh", {-2.0, -1e-300}, {1.3169578969248166, -pi}},    // below it
    });
    EXPECT_TRUE(isDefaultNaN(inverseHyperbolicCosine({0.5, 0.0}).re));
    EXPECT_LE(ulpError(inverseHyperbolicCosine({1.0 + 1e-10, 0.0}).re, 1.4142136208675862e-05), 1.0);
}

TEST(inverse_functions, nan_parts_give_nan_results) {
    for (const char* name : {"asin", "acos", "atan", "asinh", "acosh", "atanh"}) {
        const Complex got = functionNamed(name)({nan, 1.0});
        EXPECT_TRUE(std::isnan(got.re) && std::isnan(got.im)) << name;
        const Complex other = functionNamed(name)({1.0, nan});
        EXPECT_TRUE(std::isnan(other.re) && std::isnan(other.im)) << name;
    }
}

// --- The functions built on them --------------------------------------------------------

TEST(inverse_functions, derived_functions_on_the_axes) {
    expectAll({
        {"acos", {0.5, 0.0}, {1.0471975511965979, -0.0}},
        {"acos", {-0.5, 0.0}, {2.0943951023931957, -0.0}},
        {"acos", {1.0, 0.0}, {0.0, -0.0}},
        {"acos", {-1.0, 0.0}, {pi, -0.0}},
        {"acos", {2.0, 0.0}, {nan, -0.0}},          // as asin: no complex value on the real axis
        {"acos", {0.0, 1.0}, {halfPi, -0.881373587019543}},
        {"asinh", {1.0, 0.0}, {0.881373587019543, -0.0}},
        {"asinh", {0.0, 0.5}, {+0.0, 0.5235987755982989}},
        {"asinh", {0.0, 2.0}, {+0.0, nan}},          // asinh's cut: asin of a real beyond 1
        {"atanh", {0.5, 0.0}, {0.5493061443340549, -0.0}},
        {"atanh", {1.0, 0.0}, {inf, -0.0}},
        {"atanh", {2.0, 0.0}, {nan, -0.0}},
        {"atanh", {0.0, 1.0}, {+0.0, 0.7853981633974483}},
        {"asec", {2.0, 0.0}, {1.0471975511965979, -0.0}},
        {"acsc", {2.0, 0.0}, {0.5235987755982989, +0.0}},
        {"acot", {1.0, 0.0}, {0.7853981633974483, +0.0}},
        {"asech", {0.5, 0.0}, {1.3169578969248166, +0.0}},
        {"acsch", {1.0, 0.0}, {0.881373587019543, -0.0}},
        {"acoth", {2.0, 0.0}, {0.5493061443340549, -0.0}},
    });
}

TEST(inverse_functions, derived_functions_are_principal_values) {
    expectAll({
        {"acos", {1.0, 1.0}, {0.9045568943023813, -1.0612750619050357}},
        {"acos", {-1.0, 1.0}, {2.2370357592874117, -1.0612750619050357}},
        {"acos", {1.0, -1.0}, {0.9045568943023813, 1.0612750619050357}},
        {"acos", {2.0, 1e-300}, {5.773502691896258e-301, -1.3169578969248166}},  // above the cut, tiny real part kept
        {"acos", {2.0, -1e-300}, {5.773502691896258e-301, 1.3169578969248166}},
        {"acos", {-2.0, 1e-300}, {pi, -1.3169578969248166}},
        {"acos", {1e10, 1.0}, {1e-10, -23.7189981105004}},  // π/2 - asin z would lose the real part
        {"asinh", {1.0, 1.0}, {1.0612750619050357, 0.6662394324925152}},
        {"asinh", {-1e-300, 2.0}, {-1.3169578969248166, halfPi}},
        {"atanh", {1.0, 1.0}, {0.40235947810852507, 1.0172219678978514}},
        {"atanh", {2.0, 1e-300}, {0.5493061443340549, halfPi}},
        {"atanh", {2.0, -1e-300}, {0.5493061443340549, -halfPi}},
        {"acot", {1.0, 1.0}, {0.5535743588970452, -0.40235947810852507}},
        {"asec", {1.0, 1.0}, {1.1185178796437059, 0.5306375309525179}},
        {"acsc", {1.0, 1.0}, {0.4522784471511907, -0.5306375309525179}},
        {"asech", {1.0, 1.0}, {0.5306375309525179, -1.1185178796437059}},
        {"acsch", {1.0, 1.0}, {0.5306375309525179, -0.4522784471511907}},
        {"acoth", {1.0, 1.0}, {0.40235947810852507, -0.5535743588970452}},
    });
}

TEST(inverse_functions, reciprocal_forms_of_zero_are_nan_pairs) {
    for (const char* name : {"asec", "acsc", "acot", "asech", "acsch", "acoth"}) {
        const Complex got = functionNamed(name)({0.0, 0.0});
        EXPECT_TRUE(std::isnan(got.re) && std::isnan(got.im)) << name;
    }
    const Complex acsc = arccosecant({0.0, 0.0});  // the default NaN pair passes through asin unchanged
    EXPECT_TRUE(isDefaultNaN(acsc.re) && isDefaultNaN(acsc.im));
    const Complex acot = arccotangent({0.0, 0.0});
    EXPECT_TRUE(isDefaultNaN(acot.re) && isDefaultNaN(acot.im));
}

// --- Accuracy where the closed formulas lose digits ---------------------------------------

TEST(inverse_functions, tiny_and_huge_arguments_keep_their_digits) {
    expectAll({
        {"asin", {0.3, 1e-9}, {0.3046926540153975, 1.0482848367219182e-09}},
        {"asin", {1e-10, 1e-10}, {1e-10, 1e-10}},
        {"asin", {1e-300, 1e-300}, {1e-300, 1e-300}},
        {"atan", {1e-10, 1e-10}, {1e-10, 1e-10}},
        {"asin", {1e300, 1e300}, {0.7853981633974483, 691.8152486690536}},
        {"atan", {1e300, 1e300}, {halfPi, 5e-301}},
        {"acosh", {1e300, -1e300}, {691.8152486690536, -0.7853981633974483}},
        {"asin", {inf, 1.0}, {halfPi, inf}},
        {"atan", {1.0, inf}, {halfPi, 0.0}},
    });
}

// The limits at the infinities are angles of z, each the nearest double to its multiple of π/4.
TEST(inverse_functions, limits_at_infinity_are_correctly_rounded_angles) {
    constexpr double quarterPi = 0.7853981633974483, threeQuartersPi = 2.356194490192345;
    expectAll({
        {"acos", {inf, inf}, {quarterPi, -inf}},
        {"acos", {-inf, -inf}, {threeQuartersPi, inf}},
        {"acos", {-0.0, inf}, {halfPi, -inf}},
        {"acos", {-inf, 1.0}, {pi, -inf}},
        {"acosh", {inf, -inf}, {inf, -quarterPi}},
        {"acosh", {-inf, inf}, {inf, threeQuartersPi}},
        {"acosh", {-0.0, -inf}, {inf, -halfPi}},
        {"acosh", {-inf, 1.0}, {inf, pi}},
        {"asin", {-inf, inf}, {-quarterPi, inf}},
        {"asinh", {inf, inf}, {inf, quarterPi}},
    }, 0.0);
}

// --- Against the mpmath reference ------------------------------------------------------

TEST(inverse_functions, correctly_rounded_per_part_on_the_reference) {
    const auto cases = loadReferenceTable(KX_REFERENCE_DIR "/inverse.txt");
    ASSERT_GT(cases.size(), 6000u);
    expectReferenceWithin(cases, functionEntries(), 0.0, [](const std::string&, Complex got, Complex expected) {
        return std::max(ulpError(got.re, expected.re), ulpError(got.im, expected.im));
    });
}

// --- End to end -------------------------------------------------------------------------

TEST(inverse_functions, calculator_texts) {
    Calculator calc;
    const std::pair<const char*, const char*> cases[] = {
        {"asin(1)", "1.5707963267949"},
        {"asin(2)", "nan"},
        {"acos(0.5)", "1.0471975511966"},
        {"atan(1+i)", "1.01722196789785+0.402359478108525i"},
        {"atan(i)", "infi"},
        {"acsc(0)", "nan"},
        {"acot(0)", "nan"},
        {"acosh(-1e8)", "nan"},
        {"asin(-1e8*i)", "-19.1138279245123i"},
        {"asech(0.5)", "1.31695789692482"},
        {"acoth(2)", "0.549306144334055"},
        {"ASINH(1)", "0.881373587019543"},
        {"asech(0.9999999999)", "1.4142136209383e-005"},  // from z: 1/z rounded gave ...086759e-005
        {"asec(1.0000000001)", "1.41421362082045e-005"},
        {"acoth(1.0000000001)", "11.859499013905"},
    };
    for (const auto& [line, text] : cases) EXPECT_EQ(calc(line), text) << line;
}

}  // namespace
}  // namespace kx::test
