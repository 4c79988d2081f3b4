// The circular and hyperbolic functions, their quotients and reciprocals, and the scaled
// hyperbolic products they are built from.
#include "complex/circular.h"

#include <cmath>
#include <iostream>
#include <limits>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "complex/hyperbolic_products.h"
#include "support/calculator.h"
#include "support/float_bits.h"
#include "support/reference_table.h"
#include "support/unary_reference_check.h"

namespace kx::test {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double maxDouble = std::numeric_limits<double>::max();

UnaryFunction functionNamed(const std::string& name) { return test::functionNamed(functionEntries(), name); }

bool isDefaultNaN(double value) { return bitsOf(value) == defaultNaNBits(); }

// --- Scaled hyperbolic products -------------------------------------------------------

struct ProductCase {
    double a, b, cosh, sinh;  // expected b·cosh a and b·sinh a
};

TEST(hyperbolic_products, zero_argument_zero_factor_and_nan_rules) {
    const ProductCase cases[] = {
        {0.0, 3.0, 3.0, +0.0},        // C(0, b) = b, S(0, b) = +0
        {-0.0, -3.0, -3.0, +0.0},     // S(0, b) is +0 whatever the signs
        {0.0, -0.0, -0.0, +0.0},      //
        {800.0, 0.0, 0.0, 0.0},       // no 0·inf: a zero factor wins over an overflowing cosh
        {800.0, -0.0, -0.0, -0.0},    // the zero carries the sign of the true product
        {-800.0, 0.0, 0.0, -0.0},     //
        {inf, 0.0, 0.0, 0.0},         // even for an infinite a
        {-inf, 2.0, inf, -inf},       //
        {inf, -2.0, -inf, -inf},      //
        {nan, 0.0, nan, nan},         // a NaN a gives that NaN
        {nan, 1.0, nan, nan},         //
        {1460.0, 1.0, inf, inf},      // beyond the range for every nonzero b
        {1460.0, 0x1p-1074, inf, inf},
    };
    for (const ProductCase& c : cases) {
        EXPECT_TRUE(sameValue(scaledCosh(c.a, c.b), c.cosh)) << "C(" << c.a << ", " << c.b << ")";
        EXPECT_TRUE(sameValue(scaledSinh(c.a, c.b), c.sinh)) << "S(" << c.a << ", " << c.b << ")";
    }
}

TEST(hyperbolic_products, exponential_product_limits) {
    EXPECT_TRUE(sameValue(exponentialProduct(-2000.0, -1.0), -0.0));   // underflows to a signed zero
    EXPECT_TRUE(sameValue(exponentialProduct(2000.0, -0x1p-1074), -inf));
    EXPECT_TRUE(sameValue(exponentialProduct(inf, 0.0), 0.0));          // a zero factor wins
    EXPECT_TRUE(std::isnan(exponentialProduct(nan, 1.0)));
    EXPECT_TRUE(sameValue(exponentialProduct(-745.0, 2.0), 0x1p-1074));  // 2e^-745 = 1.14·2^-1074: gradual
    EXPECT_LE(ulpError(exponentialProduct(709.5, 0.25), 3.387465798286582e+307), 1.0);
}

TEST(hyperbolic_products, finite_wherever_the_product_is_representable) {
    // cosh 710.4 = 1.70e308 fits only just; cosh 1000 does not, but 2^-700·cosh 1000 does.
    const double a = 1000.0, b = 0x1p-700;
    const double expected = 0x1.9e72379aed73bp+741;  // mpmath: 2^-700·cosh(1000), = 2^-700·sinh(1000)
    EXPECT_LE(ulpDistance(scaledCosh(a, b), expected), 1.0);
    EXPECT_LE(ulpDistance(scaledSinh(a, b), expected), 1.0);
    EXPECT_LE(ulpDistance(scaledSinh(-a, b), -expected), 1.0);
    // the smallest subnormal factor brings cosh 1400 back into range
    EXPECT_LE(ulpError(scaledCosh(1400.0, 0x1p-1074), 2.5411442907459828e+284), 1.0);
    EXPECT_LE(ulpError(scaledCosh(710.0, 0.5), 5.584986915404277e+307), 1.0);
}

TEST(hyperbolic_products, accurate_for_small_and_moderate_arguments) {
    struct Accuracy {
        double a, b, cosh, sinh;  // mpmath values of b·cosh a and b·sinh a
    };
    const Accuracy cases[] = {
        {1e-10, 1.0, 1.0, 1e-10},  // sinh a = a + a³/6: no loss to cancellation
        {0x1p-30, 0.75, 0.75, 6.984919309616089e-10},
        {0.03194756194678580, -0.3, -0.300153110029091, -0.009585899025945388},
        {5.606137685417943, 0.6, 81.62849368765535, 81.62628854551448},  // glibc's b·cosh a is 2.1 ulp off here
    };
    for (const Accuracy& c : cases) {
        EXPECT_LE(ulpError(scaledCosh(c.a, c.b), c.cosh), 1.0) << c.a;
        EXPECT_LE(ulpError(scaledSinh(c.a, c.b), c.sinh), 1.0) << c.a;
    }
}

// Correctly rounded values (mpmath) where the products change method: the sinh series and
// (E - 1/E)/2 at 1/2, e^a/2 from 40 on, e^a squared from e^(a/2) beyond 745, and products
// rounded once on the subnormal grid or near the top of the range.
TEST(hyperbolic_products, correctly_rounded_where_the_method_changes) {
    struct Rounded {
        double a, b, cosh, sinh, exp;  // b·cosh a, b·sinh a and b·e^a rounded to nearest
    };
    const Rounded cases[] = {
        {0x1.fffffffffffffp-2, 0x1.8000000000000p-1, 0x1.b102249405d38p-1, 0x1.9033817d95961p-2, 0x1.3c8df2a9684f5p+0},  // the last argument of the sinh series
        {0x1.0000000000000p-1, -0x1.8000000000000p-1, -0x1.b102249405d39p-1, -0x1.9033817d95962p-2, -0x1.3c8df2a9684f5p+0},  // the first of (E - 1/E)/2
        {0x1.8000000000000p-30, 0x1.0000000000000p+0, 0x1.0000000000000p+0, 0x1.8000000000000p-30, 0x1.0000000600000p+0},  // sinh a = a(1 + a²/6)
        {0x1.3ffffffffffffp+5, 0x1.8000000000000p-60, 0x1.39989eb1b1609p-3, 0x1.39989eb1b1609p-3, 0x1.39989eb1b1609p-2},  // the last of E and 1/E
        {0x1.4000000000000p+5, -0x1.8000000000000p-60, -0x1.39989eb1b1630p-3, -0x1.39989eb1b1630p-3, -0x1.39989eb1b1630p-2},  // the first of e^a/2
        {0x1.7480000000000p+9, 0x1.0000000000000p-1000, 0x1.c023d25386129p+73, 0x1.c023d25386129p+73, 0x1.c023d25386129p+74},  // the last exponential reduced directly
        {0x1.7480000000001p+9, 0x1.0000000000000p-1000, 0x1.c023d253864aap+73, 0x1.c023d253864aap+73, 0x1.c023d253864aap+74},  // the first of (e^(a/2))²
        {0x1.6ba0000000000p+10, 0x0.0000000000001p-1022, 0x1.51c77e20315cep+1023, 0x1.51c77e20315cep+1023, inf},  // the smallest factor, just inside the range
        {-0x1.8000000000000p+1, 0x0.0000000004000p-1022, 0x0.0000000028455p-1022, -0x0.0000000028125p-1022, 0x0.0000000000330p-1022},  // subnormal products, rounded once
        {0x1.4000000000000p+4, -0x0.0000001234568p-1022, -0x1.07380e7a0a5d3p-1022, -0x1.07380e7a0a5d3p-1022, -0x1.07380e7a0a5d3p-1021},  // a subnormal factor, a normal product
        {0x1.6280000000000p+9, 0x1.8000000000000p+0, 0x1.5f1a1e0ec6574p+1022, 0x1.5f1a1e0ec6574p+1022, 0x1.5f1a1e0ec6574p+1023},  // near the top of the range
    };
    for (const Rounded& c : cases) {
        EXPECT_TRUE(sameValue(scaledCosh(c.a, c.b), c.cosh)) << std::hexfloat << "C(" << c.a << ", " << c.b << ")";
        EXPECT_TRUE(sameValue(scaledSinh(c.a, c.b), c.sinh)) << std::hexfloat << "S(" << c.a << ", " << c.b << ")";
        EXPECT_TRUE(sameValue(exponentialProduct(c.a, c.b), c.exp)) << std::hexfloat << "E(" << c.a << ", " << c.b << ")";
    }
}

// --- reciprocal -------------------------------------------------------------------------

struct ComplexCase {
    Complex argument, expected;
};

TEST(reciprocal, negated_ratio_decides_the_sign_of_zero_parts) {
    const ComplexCase cases[] = {
        {{2.0, 0.0}, {0.5, -0.0}},    // (-r)/d with r = +0; the full division would give +0
        {{1.0, -0.0}, {1.0, +0.0}},   // r = -0
        {{-2.0, 0.0}, {-0.5, -0.0}},  // r = -0, d = -2
        {{-2.0, -0.0}, {-0.5, +0.0}}, //
        {{0.0, 2.0}, {0.0, -0.5}},    // r/d and (-1)/d
        {{-0.0, 2.0}, {-0.0, -0.5}},  //
        {{0.0, -4.0}, {+0.0, 0.25}},  // r = -0, d = -4
        {{1.0, 1.0}, {0.5, -0.5}},    // the tie |v| = |u| takes the second branch
    };
    for (const ComplexCase& c : cases)
        EXPECT_TRUE(sameComplex(reciprocal(c.argument), c.expected)) << c.argument.re << " " << c.argument.im;
}

TEST(reciprocal, zero_and_nan_give_the_default_nan_pair) {
    const Complex arguments[] = {{0.0, 0.0}, {-0.0, 0.0}, {0.0, -0.0}, {nan, 1.0}, {1.0, nan}, {inf, inf}};
    for (const Complex& w : arguments) {
        const Complex got = reciprocal(w);
        EXPECT_TRUE(isDefaultNaN(got.re) && isDefaultNaN(got.im)) << w.re << " " << w.im;
    }
}

// --- Signed zeros, poles and NaN patterns ----------------------------------------------

struct NamedCase {
    const char* name;
    Complex argument, expected;
};

TEST(circular_functions, signed_zeros_of_exact_results) {
    const NamedCase cases[] = {
        {"sin", {0.0, 0.0}, {0.0, +0.0}},    {"cos", {0.0, 0.0}, {1.0, -0.0}},
        {"tan", {0.0, 0.0}, {0.0, +0.0}},    {"sec", {0.0, 0.0}, {1.0, +0.0}},
        {"sinh", {0.0, 0.0}, {0.0, +0.0}},   {"cosh", {0.0, 0.0}, {1.0, +0.0}},
        {"tanh", {0.0, 0.0}, {0.0, +0.0}},   {"sech", {0.0, 0.0}, {1.0, -0.0}},
        {"sin", {2.0, -0.0}, {std::sin(2.0), +0.0}},   // S(0, b) = +0 on the real axis
        {"cos", {-2.0, 0.0}, {std::cos(2.0), -0.0}},   // the negated +0
        {"sinh", {-0.0, 2.0}, {+0.0, std::sin(2.0)}},  // imaginary argument: +0 real part
        {"cosh", {0.0, -2.0}, {std::cos(2.0), +0.0}},
        {"sin", {0.0, 800.0}, {0.0, inf}},            // C(800, 0) = 0, not 0·inf
        {"cos", {0.0, 800.0}, {inf, -0.0}},
        {"sinh", {800.0, 0.0}, {inf, 0.0}},
        {"sec", {0.0, 800.0}, {0.0, 0.0}},
    };
    for (const NamedCase& c : cases)
        EXPECT_TRUE(sameComplex(functionNamed(c.name)(c.argument), c.expected))
            << c.name << "(" << c.argument.re << ", " << c.argument.im << ")";
}

TEST(circular_functions, poles_at_zero_give_the_default_nan_pair) {
    for (const char* name : {"csc", "cot", "csch", "coth"}) {
        const Complex got = functionNamed(name)({0.0, 0.0});
        EXPECT_TRUE(isDefaultNaN(got.re) && isDefaultNaN(got.im)) << name;
        const Complex negativeZero = functionNamed(name)({-0.0, -0.0});
        EXPECT_TRUE(isDefaultNaN(negativeZero.re) && isDefaultNaN(negativeZero.im)) << name;
    }
}

TEST(circular_functions, nan_in_a_divisor_gives_the_default_nan_pair) {
    for (const char* name : {"tan", "cot", "tanh", "coth", "sec", "csc", "sech", "csch"}) {
        for (const Complex z : {Complex{nan, 1.0}, Complex{1.0, nan}, Complex{inf, 1.0}, Complex{1.0, inf}}) {
            const Complex got = functionNamed(name)(z);
            EXPECT_TRUE(isDefaultNaN(got.re) && isDefaultNaN(got.im)) << name << "(" << z.re << ", " << z.im << ")";
        }
    }
}

// --- Near the double range ---------------------------------------------------------------

TEST(circular_functions, large_imaginary_parts_stay_finite_while_representable) {
    // sinh 710.5 = 1.84e308 is itself beyond the range, but a factor below 0.97 brings
    // both parts of sin(1 + 710.5i) back: (1.5497e308, 9.9503e307).
    const Complex got = sine({1.0, 710.5});
    EXPECT_LE(ulpError(got.re, 1.5496675607696623e+308), 2.0);
    EXPECT_LE(ulpError(got.im, 9.950300979231658e+307), 2.0);
    EXPECT_TRUE(sameComplex(sine({0.0, 710.5}), {0.0, inf}));  // sinh 710.5 alone overflows
    const Complex h = hyperbolicCosine({710.5, 1.0});
    EXPECT_TRUE(std::isfinite(h.re) && std::isfinite(h.im));
}

TEST(circular_functions, quotients_take_their_limits_where_the_division_would_overflow) {
    const NamedCase cases[] = {
        {"tanh", {800.0, 0.0}, {1.0, 0.0}},
        {"tanh", {-800.0, -0.0}, {-1.0, +0.0}},  // the zero's sign as the division gives tanh(-5 - 0i)
        {"tan", {0.0, 800.0}, {0.0, 1.0}},
        {"tan", {-0.0, -800.0}, {+0.0, -1.0}},
        {"coth", {800.0, 0.0}, {1.0, +0.0}},
        {"tanh", {800.0, 1.0}, {1.0, +0.0}},   // 2 sin 2·e^-1600 underflows
        {"cot", {0.0, 800.0}, {0.0, -1.0}},
        {"tanh", {710.2, 0.7853981633974483}, {1.0, 0.0}},  // parts finite, the division's sum is not
        {"tan", {1.0, 1e300}, {0.0, 1.0}},
    };
    for (const NamedCase& c : cases)
        EXPECT_TRUE(sameComplex(functionNamed(c.name)(c.argument), c.expected))
            << c.name << "(" << c.argument.re << ", " << c.argument.im << ")";
}

TEST(circular_functions, reciprocals_underflow_instead_of_failing_far_from_the_axis) {
    // 1/cos(1 + 800i) is about 2e-348: zero, where reciprocal(inf - inf i) is NaN.
    for (const char* name : {"sec", "csc"})
        for (const Complex z : {Complex{1.0, 800.0}, Complex{-2.0, -1e10}}) {
            const Complex got = functionNamed(name)(z);
            EXPECT_EQ(got.re, 0.0) << name;
            EXPECT_EQ(got.im, 0.0) << name;
        }
    // 2e^-744·(cos 1, -sin 1): the subnormals are kept
    EXPECT_TRUE(sameComplex(hyperbolicSecant({744.0, 1.0}), {1e-323, -1.5e-323}));
}

TEST(circular_functions, tangent_at_the_double_nearest_half_pi_is_large_and_finite) {
    const Complex got = tangent({1.5707963267948966, 0.0});
    EXPECT_LE(ulpError(got.re, 1.633123935319537e16), 2.0);
    EXPECT_EQ(got.im, 0.0);
}

// --- Against the mpmath reference ------------------------------------------------------

// Error of one result in ulps, each part judged on its own against its own true value.
double resultError(const std::string&, Complex got, Complex expected) {
    return std::max(ulpError(got.re, expected.re), ulpError(got.im, expected.im));
}

TEST(circular_functions, correctly_rounded_per_part_against_the_reference) {
    const auto cases = loadReferenceTable(KX_REFERENCE_DIR "/circular.txt");
    ASSERT_GT(cases.size(), 4000u);
    expectReferenceWithin(cases, functionEntries(), 0.0, resultError);
}

// --- End to end -------------------------------------------------------------------------

TEST(circular_functions, calculator_texts) {
    Calculator calc;
    const std::pair<const char*, const char*> cases[] = {
        {"sin(pi/6)", "0.5"},
        {"2*SIN(PI/6)", "1"},
        {"cos(0)", "1"},
        {"tan(pi/4)", "1"},
        {"sinh(1)", "1.1752011936438"},
        {"cosh(i*pi)", "-1"},
        {"tanh(800)", "1"},
        {"tan(800*i)", "i"},
        {"csc(0)", "nan"},
        {"coth(0)", "nan"},
        {"sec(0)", "1"},
        {"sin(1+i)", "1.29845758141598+0.634963914784736i"},
        {"set tol = 0", "0"},
        {"tanh(250.66711592424954-338.199847101286*i)", "1+3.06827045472109e-218i"},  // the small part on its own
        {"tanh(-6.99+0.0687*i)", "-0.999998319338135+2.32386979051651e-007i"},
    };
    for (const auto& [line, text] : cases) EXPECT_EQ(calc(line), text) << line;
}

}  // namespace
}  // namespace kx::test
