// abs, sqrt, exp, ln, log and "^": exact values, signed zeros, the branch cut, infinities
// and NaN, the ends of the double range, and the calculator's text for them.
#include <cfloat>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "complex/exponential.h"
#include "complex/power.h"
#include "support/calculator.h"
#include "support/float_bits.h"

namespace kx::test {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double pi = 3.141592653589793;
constexpr double halfPi = 1.5707963267948966;
constexpr double smallestSubnormal = 0x1p-1074;

struct UnaryCase {
    Complex argument;
    Complex expected;
};

struct BinaryCase {
    Complex base;
    Complex exponent;
    Complex expected;
};

void expectExact(Complex (*function)(Complex), const std::vector<UnaryCase>& cases) {
    for (const UnaryCase& row : cases)
        EXPECT_TRUE(sameComplex(function(row.argument), row.expected))
            << "argument (" << row.argument.re << ", " << row.argument.im << ")";
}

// --- scaledModulus and abs -------------------------------------------------------------

TEST(scaled_modulus, scales_by_four_either_way_and_reports_the_exponent) {
    const ScaledModulus large = scaledModulus({3.0, 4.0});
    EXPECT_EQ(large.m, 1.25);
    EXPECT_EQ(large.k, 2);
    const ScaledModulus small = scaledModulus({0.1875, -0.25});
    EXPECT_EQ(small.m, 1.25);
    EXPECT_EQ(small.k, -2);
    const ScaledModulus zero = scaledModulus({-0.0, 0.0});
    EXPECT_TRUE(sameValue(zero.m, 0.0));
    EXPECT_EQ(zero.k, 0);
    EXPECT_EQ(scaledModulus({1.0, -inf}).k, 0);
    EXPECT_EQ(scaledModulus({nan, 1.0}).k, 0);
}

TEST(abs, exact_moduli_and_a_positive_zero_imaginary_part) {
    expectExact(abs, {
                         {{3.0, 4.0}, {5.0, +0.0}},
                         {{-3.0, -4.0}, {5.0, +0.0}},
                         {{5.0, -12.0}, {13.0, +0.0}},
                         {{0.75, 1.0}, {1.25, +0.0}},
                         {{0.0, -7.0}, {7.0, +0.0}},   // the smaller part is below half an ulp
                         {{-2.5, 0.0}, {2.5, +0.0}},
                         {{1.0, 1e-300}, {1.0, +0.0}},
                         {{-0.0, -0.0}, {+0.0, +0.0}},
                         {{3 * smallestSubnormal, 4 * smallestSubnormal}, {5 * smallestSubnormal, +0.0}},
                     });
}

TEST(abs, infinities_nans_and_the_top_of_the_range) {
    expectExact(abs, {
                         {{-inf, 1.0}, {inf, +0.0}},
                         {{2.0, -inf}, {inf, +0.0}},
                         {{nan, inf}, {nan, +0.0}},  // the real part is tested first
                         {{inf, nan}, {nan, +0.0}},  // a NaN part wins over an infinite one
                         {{DBL_MAX, DBL_MAX}, {inf, +0.0}},  // sqrt(2)·DBL_MAX is beyond the range
                         {{DBL_MAX, 0.0}, {DBL_MAX, +0.0}},
                     });
    EXPECT_LE(ulpDistance(abs({1e308, 1e308}).re, 1.4142135623730951e308), 1.0);
}

// --- sqrt ------------------------------------------------------------------------------

TEST(sqrt, exact_roots_in_all_four_quadrants) {
    expectExact(sqrt, {
                          {{3.0, 4.0}, {2.0, 1.0}},
                          {{3.0, -4.0}, {2.0, -1.0}},
                          {{-3.0, 4.0}, {1.0, 2.0}},
                          {{-3.0, -4.0}, {1.0, -2.0}},
                          {{4.0, 0.0}, {2.0, +0.0}},
                          {{4.0, -0.0}, {2.0, -0.0}},
                          {{0.0, 2.0}, {1.0, 1.0}},
                          {{0.0, -2.0}, {1.0, -1.0}},
                          {{0.0, 1.0}, {0x1.6a09e667f3bcdp-1, 0x1.6a09e667f3bccp-1}},  // sqrt(1/2), 1/sqrt(2)
                          {{smallestSubnormal, 0.0}, {0x1p-537, +0.0}},
                      });
}

// On the negative real axis the root is +2i whatever the sign of the zero; the real part
// is y/(2w), a zero of the sign of y.
TEST(sqrt, negative_real_axis_gives_positive_imaginary_root_for_either_zero) {
    expectExact(sqrt, {
                          {{-4.0, +0.0}, {+0.0, 2.0}},
                          {{-4.0, -0.0}, {-0.0, 2.0}},
                          {{-DBL_MAX, 0.0}, {+0.0, std::sqrt(DBL_MAX)}},
                          {{-smallestSubnormal, -0.0}, {-0.0, 0x1p-537}},
                      });
}

TEST(sqrt, zeros_infinities_and_nans_repeat_the_modulus_in_both_parts) {
    expectExact(sqrt, {
                          {{0.0, 0.0}, {0.0, 0.0}},
                          {{-0.0, -0.0}, {0.0, 0.0}},
                          {{-inf, 1.0}, {inf, inf}},
                          {{1.0, -inf}, {inf, inf}},
                          {{nan, 1.0}, {nan, nan}},
                          {{inf, nan}, {nan, nan}},
                      });
}

TEST(sqrt, stays_finite_up_to_the_largest_parts) {
    for (const Complex z : {Complex{1e308, 1e308}, Complex{1.5e308, 1.5e308}, Complex{DBL_MAX, DBL_MAX},
                            Complex{-DBL_MAX, DBL_MAX}, Complex{DBL_MAX, -1.0}}) {
        const Complex root = sqrt(z);
        EXPECT_TRUE(std::isfinite(root.re) && std::isfinite(root.im)) << z.re << ", " << z.im;
        EXPECT_GT(std::fabs(root.re) + std::fabs(root.im), 1e153);
    }
    const Complex root = sqrt({1e308, 1e308});
    EXPECT_LE(ulpDistance(root.re, 1.0986841134678100e154), 2.0);
    EXPECT_LE(ulpDistance(root.im, 4.5508986056222734e153), 2.0);
}

// Four times a subnormal part is still subnormal, with few significant bits; such
// arguments are scaled into the normal range first. References from mpmath.
TEST(sqrt, arguments_with_only_subnormal_parts_keep_full_precision) {
    const Complex root = sqrt({smallestSubnormal, smallestSubnormal});
    EXPECT_LE(ulpDistance(root.re, 0x1.19435caffa9f9p-537), 1.0);
    EXPECT_LE(ulpDistance(root.im, 0x1.d203138f6c828p-539), 1.0);
    EXPECT_TRUE(sameComplex(sqrt({-4 * smallestSubnormal, -0.0}), {-0.0, 0x1p-536}));
    EXPECT_TRUE(sameComplex(sqrt({-0.0, 0.0}), {+0.0, +0.0}));
}

// The root for |z| >= 1 is formed as 2·sqrt(s/2) so that 2s cannot overflow; for every
// argument where the direct sqrt(2s) is finite the two agree bit for bit.
TEST(sqrt, halved_form_agrees_with_the_doubled_form_wherever_that_is_finite) {
    std::mt19937_64 generator(7);
    std::uniform_real_distribution<double> exponent(0.0, 1000.0);
    std::uniform_real_distribution<double> fraction(-1.0, 1.0);
    for (int trial = 0; trial < 20000; ++trial) {
        const Complex z{std::ldexp(fraction(generator), static_cast<int>(exponent(generator))),
                        std::ldexp(fraction(generator), static_cast<int>(exponent(generator)))};
        const ScaledModulus scaled = scaledModulus(z);
        if (scaled.k != 2) continue;
        const double doubled = std::sqrt(2.0 * (scaled.m + std::ldexp(std::fabs(z.re), -2)));
        const Complex root = sqrt(z);
        const double w = z.re >= 0.0 ? root.re : std::fabs(root.im);
        ASSERT_TRUE(sameValue(w, doubled)) << z.re << ", " << z.im;
    }
}

// --- E and exp --------------------------------------------------------------------------

TEST(scaled_exponential_product, guards_in_order) {
    struct Row {
        double a, t, expected;
    };
    const std::vector<Row> rows{
        {nan, 0.0, nan},   {1.0, nan, nan},       {-inf, nan, nan},      // NaN first
        {-1843.0, inf, +0.0}, {-inf, -5.0, +0.0},                        // then a < -1842
        {5.0, -0.0, +0.0},   {inf, 0.0, +0.0},                           // then t = 0, always +0
        {1843.0, -2.0, -inf}, {inf, 1e-300, inf}, {1843.0, smallestSubnormal, inf},  // then a > 1842
        {1842.0, -inf, -inf}, {-1842.0, inf, inf},
    };
    for (const Row& row : rows)
        EXPECT_TRUE(sameValue(scaledExponentialProduct(row.a, row.t), row.expected)) << row.a << ", " << row.t;
}

TEST(scaled_exponential_product, exact_at_zero_exponent_for_every_scale_of_t) {
    for (const double t : {1.0, -1.0, 0.1, DBL_MAX, -DBL_MAX, DBL_MIN, smallestSubnormal, -3 * smallestSubnormal})
        EXPECT_TRUE(sameValue(scaledExponentialProduct(0.0, t), t)) << t;
}

TEST(scaled_exponential_product, no_spurious_overflow_and_gradual_underflow) {
    // e^710 alone overflows; times cos(pi/4) it does not.
    EXPECT_LE(ulpDistance(scaledExponentialProduct(710.0, 0.7071067811865476), 1.5796728482882015e308), 2.0);
    // e^1000 · 2^-1074 and e^-1000 · DBL_MAX are ordinary numbers.
    EXPECT_TRUE(std::isnormal(scaledExponentialProduct(1000.0, smallestSubnormal)));
    EXPECT_TRUE(std::isnormal(scaledExponentialProduct(-1000.0, DBL_MAX)));
    // e^-745 is nearest the smallest subnormal; e^-746 rounds to zero.
    EXPECT_EQ(scaledExponentialProduct(-745.0, 1.0), smallestSubnormal);
    EXPECT_TRUE(sameValue(scaledExponentialProduct(-746.0, 1.0), +0.0));
    // The result falls through the subnormals in order, without jumps to zero.
    double previous = scaledExponentialProduct(-700.0, 1.0);
    for (double a = -700.5; a > -745.0; a -= 0.5) {
        const double current = scaledExponentialProduct(a, 1.0);
        EXPECT_GT(current, 0.0) << a;
        EXPECT_LT(current, previous) << a;
        previous = current;
    }
    // Overflow only where t·e^a leaves the range: ln(DBL_MAX) = 709.78.
    EXPECT_TRUE(std::isfinite(scaledExponentialProduct(709.78, 1.0)));
    EXPECT_EQ(scaledExponentialProduct(709.79, 1.0), inf);
    EXPECT_EQ(scaledExponentialProduct(709.79, -1.0), -inf);
    EXPECT_TRUE(std::isfinite(scaledExponentialProduct(709.79, -0.5)));
}

TEST(exp, exact_values_and_the_sign_of_zero_parts) {
    expectExact(exp, {
                         {{0.0, 0.0}, {1.0, +0.0}},
                         {{-0.0, -0.0}, {1.0, +0.0}},  // E gives +0 for a zero factor, sin(-0) included
                         {{1.0, -0.0}, {0x1.5bf0a8b145769p+1, +0.0}},  // e rounded to double
                         {{0.0, pi}, {-1.0, 1.2246467991473532e-16}},  // cos and sin of the double pi
                         {{710.0, 0.0}, {inf, +0.0}},
                         {{2000.0, 3.0}, {-inf, inf}},                 // cos 3 < 0 < sin 3
                         {{-2000.0, 0.0}, {+0.0, +0.0}},
                         {{-2000.0, -3.0}, {+0.0, +0.0}},
                         {{inf, 0.0}, {inf, +0.0}},
                         {{-inf, 1.0}, {+0.0, +0.0}},
                     });
}

TEST(exp, infinite_or_nan_imaginary_part_gives_nan_in_both_parts) {
    expectExact(exp, {
                         {{0.0, inf}, {nan, nan}},
                         {{-inf, -inf}, {nan, nan}},
                         {{1.0, nan}, {nan, nan}},
                         {{nan, 0.0}, {nan, nan}},
                     });
}

TEST(exp, finite_beyond_the_overflow_point_of_e_to_the_real_part) {
    const Complex value = exp({710.0, 0.7853981633974483});
    EXPECT_LE(ulpDistance(value.re, 1.5796728482882015e308), 2.0);
    EXPECT_LE(ulpDistance(value.im, 1.5796728482882013e308), 2.0);
}

// --- ln and log -------------------------------------------------------------------------

TEST(ln, branch_cut_side_follows_the_sign_of_a_zero_imaginary_part) {
    expectExact(ln, {
                        {{-1.0, -0.0}, {+0.0, -pi}},
                        {{-1.0, +0.0}, {+0.0, pi}},
                        {{0.0, 1.0}, {+0.0, halfPi}},
                        {{0.0, -1.0}, {+0.0, -halfPi}},
                        {{1.0, -0.0}, {+0.0, -0.0}},
                        {{-inf, 0.0}, {inf, pi}},
                        {{-inf, -0.0}, {inf, -pi}},
                        {{inf, -0.0}, {inf, -0.0}},
                        {{inf, inf}, {inf, 0.7853981633974483}},
                    });
}

TEST(ln, zero_gives_minus_infinity_with_the_angle_of_its_signs) {
    expectExact(ln, {
                        {{0.0, 0.0}, {-inf, +0.0}},
                        {{0.0, -0.0}, {-inf, -0.0}},
                        {{-0.0, 0.0}, {-inf, pi}},
                        {{-0.0, -0.0}, {-inf, -pi}},
                    });
}

TEST(ln, nan_part_gives_nan_pair) {
    expectExact(ln, {{{nan, 1.0}, {nan, nan}}, {{inf, nan}, {nan, nan}}, {{nan, -inf}, {nan, nan}}});
    expectExact(log, {{{nan, 0.0}, {nan, nan}}, {{0.0, nan}, {nan, nan}}});
}

// ln(m) + k·ln2 cancels near |z| = 1; ln(1.0000001) came out as 9.99999949513608e-08 and
// ln(0.6 + 0.8i) as a multiple of 2^-52. References from mpmath.
TEST(ln, real_part_accurate_near_unit_modulus) {
    struct Row {
        Complex z;
        double expected;
    };
    const std::vector<Row> rows{
        {{1.0000001, 0.0}, 0x1.ad7f2847b6492p-24},
        {{1.000000001, 0.0}, 0x1.12e0bffdb1b44p-30},
        {{0.999999999, 0.0}, -0x1.12e0be024e4bcp-30},
        {{0.6, 0.8}, 2.2204460492503132e-17},
        {{-1.0 - 0x1p-52, 0.0}, 0x1.fffffffffffffp-53},       // ln(1 + u) = u - u²/2
        {{1.0, 0x1p-26}, 0x1.fffffffffffffp-54},              // ln(1 + 2^-52)/2 = 2^-53 - 2^-106
        {{0.6, -0.5}, -0x1.fa28d0a2e908bp-3},
        {{1.9, 0.0}, 0x1.48a11293d785bp-1},
        {{0.0, 0.6}, -0x1.058aefa811452p-1},
    };
    for (const Row& row : rows) {
        const Complex value = ln(row.z);
        EXPECT_LE(ulpDistance(value.re, row.expected), 2.0) << row.z.re << ", " << row.z.im << ": " << value.re;
    }
    EXPECT_TRUE(sameValue(ln({1.0, 0.0}).re, +0.0));
    EXPECT_EQ(ln({2.0, 0.0}).re, 0x1.62e42fefa39efp-1);   // ln 2 rounded, at the end of the near-one region
    EXPECT_EQ(ln({0.5, 0.0}).re, -0x1.62e42fefa39efp-1);
}

TEST(ln, arguments_with_only_subnormal_parts_keep_full_precision) {
    const Complex value = ln({smallestSubnormal, smallestSubnormal});
    EXPECT_LE(ulpDistance(value.re, -0x1.740bf7c0d927cp+9), 1.0);
    EXPECT_LE(ulpDistance(value.im, 0x1.921fb54442d18p-1), 1.0);
    const Complex lowerSide = ln({-smallestSubnormal, -0.0});  // -1074·ln2 - pi·i
    EXPECT_LE(ulpDistance(lowerSide.re, -0x1.74385446d71c3p+9), 1.0);
    EXPECT_TRUE(sameValue(lowerSide.im, -pi));
}

TEST(log, base_ten_on_both_parts) {
    EXPECT_EQ(log({1000.0, 0.0}).re, 3.0);
    EXPECT_TRUE(sameValue(log({1000.0, 0.0}).im, +0.0));
    const Complex lowerSide = log({-10.0, -0.0});
    EXPECT_LE(ulpDistance(lowerSide.re, 1.0), 1.0);
    EXPECT_LE(ulpDistance(lowerSide.im, -1.3643763538418412), 1.0);
    EXPECT_GT(log({-10.0, 0.0}).im, 0.0);
    expectExact(log, {{{0.0, 0.0}, {-inf, +0.0}}, {{-inf, -0.0}, {inf, -0x1.5d47c4cb2fba1p+0}}});  // -pi/ln 10 rounded
    EXPECT_LE(ulpDistance(log({1.0000001, 0.0}).re, 0x1.750e5ca0b1098p-25), 2.0);
}

// --- power ------------------------------------------------------------------------------

TEST(power, real_base_with_real_exponent_uses_the_real_power) {
    for (const BinaryCase& row : std::vector<BinaryCase>{
             {{2.0, 0.0}, {3.0, 0.0}, {8.0, +0.0}},
             {{0.0, 0.0}, {0.0, 0.0}, {1.0, +0.0}},
             {{-2.0, 0.0}, {3.0, 0.0}, {-8.0, +0.0}},
             {{4.0, 0.0}, {-0.5, 0.0}, {0.5, +0.0}},
             {{2.0, 0.0}, {0.5, 0.0}, {0x1.6a09e667f3bcdp+0, +0.0}},
             {{-8.0, 0.0}, {1.0 / 3.0, 0.0}, {nan, +0.0}},  // no complex cube root
             {{-4.0, -0.0}, {0.5, -0.0}, {nan, +0.0}},      // zeros of either sign count as zero
             {{-2.0, -0.0}, {-0.0, 0.0}, {1.0, +0.0}},
         })
        EXPECT_TRUE(sameComplex(power(row.base, row.exponent), row.expected))
            << row.base.re << " ^ " << row.exponent.re;
}

TEST(power, complex_cases_through_ln_and_exp) {
    // i^2 is formed by multiplication, exactly; i^i = e^(-pi/2), 2^i = cos ln 2 + i sin ln 2.
    EXPECT_TRUE(sameComplex(power({0.0, 1.0}, {2.0, 0.0}), {-1.0, +0.0}));
    const Complex iToI = power({0.0, 1.0}, {0.0, 1.0});
    EXPECT_LE(ulpDistance(iToI.re, 0.20787957635076193), 1.0);
    EXPECT_TRUE(sameValue(iToI.im, +0.0));
    EXPECT_TRUE(sameComplex(power({2.0, 0.0}, {0.0, 1.0}), {0.7692389013639721, 0.6389612763136348}));
    // A real base below zero takes the real logarithm, NaN; zero takes -inf, and 0·-inf is NaN.
    EXPECT_TRUE(sameComplex(power({-2.0, 0.0}, {0.0, 1.0}), {nan, nan}));
    EXPECT_TRUE(sameComplex(power({0.0, 0.0}, {0.0, 1.0}), {nan, nan}));
    // A NaN imaginary part is not zero and reaches the result.
    EXPECT_TRUE(sameComplex(power({1.0, nan}, {2.0, 0.0}), {nan, nan}));
    EXPECT_TRUE(sameComplex(power({2.0, 0.0}, {3.0, nan}), {nan, nan}));
    // A complex base on the lower side of the cut: (-1 - tiny·i)^(1/2) is close to -i.
    const Complex lower = power({-1.0, -1e-300}, {0.5, 0.0});
    EXPECT_LT(lower.im, -0.99);
}

// --- the calculator's text --------------------------------------------------------------

TEST(exponential_text, results_as_the_buffer_shows_them) {
    struct Row {
        const char* line;
        const char* text;
    };
    const std::vector<Row> rows{
        {"sqrt(-4)", "2i"},
        {"SQRT(3+4*i)", "2+i"},
        {"sqrt(-3-4*i)", "1-2i"},
        {"sqrt(1e308+1e308*i)", "1.09868411346781e+154+4.55089860562227e+153i"},
        {"abs(3+4*i)", "5"},
        {"abs(1e308+1e308*i)", "1.41421356237309e+308"},
        {"exp(1)", "2.71828182845905"},
        {"exp(i*pi)", "-1"},
        {"exp(710)", "inf"},
        {"exp(710+0.7853981633974483*i)", "1.5796728482882e+308+1.5796728482882e+308i"},
        {"exp(2000+3*i)", "-inf+infi"},
        {"exp(-2000)", "0"},
        {"ln(-1)", "-3.14159265358979i"},
        {"ln(0)", "-inf"},
        {"ln(i)", "1.5707963267949i"},
        {"ln(1.0000001)", "9.9999995058387e-008"},
        {"log(1000)", "3"},
        {"log(-10)", "1-1.36437635384184i"},
        {"2^3", "8"},
        {"2^3^2", "512"},
        {"0^0", "1"},
        {"(-8)^(1/3)", "nan"},
        {"(-4)^0.5", "nan"},
        {"i^2", "-1"},
        {"i^i", "0.207879576350762"},
        {"2^i", "0.769238901363972+0.638961276313635i"},
        {"(-2)^i", "nan"},
        {"0^i", "nan"},
        {"e^(i*pi/2)", "i"},
        // Integer powers are formed exactly where their parts are doubles, and near an axis
        // the small part keeps its digits; with tol 0 any residue would show.
        {"set tol = 0", "0"},
        {"i^2", "-1"},
        {"i^4", "1"},
        {"(1+i)^2", "2i"},
        {"(1+i)^100", "-1.12589990684262e+015"},
        {"(3+4*i)^2", "-7+24i"},
        {"(2+i)^3", "2+11i"},
        {"(1+i)^-2", "-0.5i"},
        {"(2+i)^-2", "0.12-0.16i"},
        {"(-58.429900985622716-1.5695441557747804e-14*i)^44", "5.39444309228548e+077+6.37584396685089e+063i"},
        {"(-2.3677448110020087-1.1857194619917815*i)^45", "4.88907037696259e+018-9.58051516376639e+018i"},
        {"(-4-1e-20*i)^0.5", "2.5e-021-2i"},
        {"(1e300+1e-20*i)^0.5", "1e+150+5e-171i"},
        {"e^(i*pi)", "-1+2.89542045005908e-016i"},
    };
    Calculator calc;
    for (const Row& row : rows) EXPECT_EQ(calc(row.line), row.text) << row.line;
}

}  // namespace
}  // namespace kx::test
