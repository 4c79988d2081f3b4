// The arithmetic operators bit for bit: signed zeros, the default NaN, infinities.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "complex/arithmetic.h"
#include "support/float_bits.h"

namespace {

using kx::Complex;
using kx::test::bitsOf;
using kx::test::sameComplex;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct BinaryCase {
    Complex z, w, expected;
};

void expectAll(Complex (*f)(Complex, Complex), std::initializer_list<BinaryCase> cases) {
    for (const auto& c : cases) {
        EXPECT_TRUE(sameComplex(f(c.z, c.w), c.expected))
            << "(" << c.z.re << "," << c.z.im << ") op (" << c.w.re << "," << c.w.im << ")";
    }
}

bool isDefaultNaNPair(Complex value) {
    return bitsOf(value.re) == kx::test::defaultNaNBits() && bitsOf(value.im) == kx::test::defaultNaNBits();
}

TEST(add_subtract, part_by_part_with_ieee_zeros) {
    expectAll(kx::add, {
        {{1, 2}, {3, 4}, {4, 6}},
        {{-0.0, -0.0}, {-0.0, -0.0}, {-0.0, -0.0}},
        {{-0.0, 0.0}, {0.0, -0.0}, {0.0, 0.0}},
        {{inf, 0}, {-inf, 0}, {nan, 0}},
    });
    expectAll(kx::subtract, {
        {{1, 2}, {3, 4}, {-2, -2}},
        {{0.0, 0.0}, {0.0, 0.0}, {0.0, 0.0}},
        {{-0.0, -0.0}, {0.0, 0.0}, {-0.0, -0.0}},
        {{0.0, -0.0}, {-0.0, 0.0}, {0.0, -0.0}},
    });
}

TEST(multiply, schoolbook_products_without_special_cases) {
    expectAll(kx::multiply, {
        {{3, 4}, {3, 4}, {-7, 24}},
        {{0, 1}, {0, 1}, {-1, 0}},
        {{1e308, 0}, {10, 0}, {inf, 0}},
        {{inf, 0}, {2, 0}, {inf, nan}},  // inf * 0 where the parts meet
        {{2, 0}, {-0.0, 0}, {-0.0, 0}},
        {{-1, 0}, {0, 0}, {-0.0, 0}},    // im = 0*0 + (-1)*0 = 0 + -0 = +0
    });
}

TEST(divide, smiths_method_takes_the_larger_divisor_part) {
    expectAll(kx::divide, {
        {{1, 2}, {3, 4}, {0.44, 0.08}},        // |v| >= |u|: r = 0.75, d = 6.25
        {{1, 1}, {1, -1}, {-0.0, 1}},          // a tie takes the same branch: r = -1, d = -2
        {{0, 1}, {0, 1}, {1, 0}},
        {{6, 8}, {2, 0}, {3, 4}},
        {{1, 0}, {2, 0}, {0.5, 0}},
        {{1, 0}, {inf, 0}, {0, 0}},            // r = 0, d infinite
        {{1, 1}, {1, inf}, {0, -0.0}},         // (1*0 - 1) / inf
        {{inf, 0}, {1, 0}, {inf, nan}},        // the dividend is never inspected: 0 * inf in y - x*r
        {{1e300, 1e300}, {1e300, 1e300}, {1, 0}},
    });
}

TEST(divide, failures_give_the_default_nan_pair) {
    const Complex dividends[] = {{1, 0}, {0, 0}, {nan, nan}, {inf, inf}};
    const Complex divisors[] = {{0, 0}, {-0.0, -0.0}, {nan, 1}, {1, nan}, {inf, inf}, {-inf, inf},
                                {nan, nan}};
    for (const Complex& z : dividends) {
        for (const Complex& w : divisors) {
            EXPECT_TRUE(isDefaultNaNPair(kx::divide(z, w))) << w.re << "," << w.im;
        }
    }
}

TEST(remainder, real_operands_give_a_real_remainder) {
    expectAll(kx::remainder, {
        {{7, 0}, {3, 0}, {1, 0}},
        {{-7, -0.0}, {3, 0}, {-1, 0}},  // the prefix minus leaves a -0 imaginary part
        {{7.5, 0}, {2, 0}, {1.5, 0}},
        {{6, 0}, {3, 0}, {0, 0}},
        {{-6, 0}, {3, 0}, {-0.0, 0}},
        {{7, 0}, {-3, -0.0}, {1, 0}},
    });
    const Complex byZero = kx::remainder({7, 0}, {0, 0});
    EXPECT_TRUE(std::isnan(byZero.re));
    EXPECT_EQ(bitsOf(byZero.im), bitsOf(0.0));
    EXPECT_TRUE(std::isnan(kx::remainder({inf, 0}, {3, 0}).re));
}

TEST(remainder, complex_operands_are_taken_part_by_part) {
    expectAll(kx::remainder, {
        {{5, 7}, {3, 2}, {2, 1}},
        {{-5, 7}, {3, -2}, {-2, 1}},
    });
    const Complex mixed = kx::remainder({5, 7}, {3, 0});  // fmod(7, 0) is NaN
    EXPECT_EQ(mixed.re, 2);
    EXPECT_TRUE(std::isnan(mixed.im));
}

TEST(prefix_signs, flip_or_keep_every_sign_bit) {
    EXPECT_TRUE(sameComplex(kx::negate({4, 0}), {-4, -0.0}));
    EXPECT_TRUE(sameComplex(kx::negate({0, 0}), {-0.0, -0.0}));
    EXPECT_TRUE(sameComplex(kx::negate({-0.0, -3}), {0.0, 3}));
    EXPECT_EQ(bitsOf(kx::negate({kx::defaultNaN, 0}).re), 0x7FF8000000000000u);
    EXPECT_TRUE(sameComplex(kx::prefixPlus({-0.0, 0.0}), {-0.0, 0.0}));
    EXPECT_EQ(bitsOf(kx::prefixPlus({kx::defaultNaN, 1}).re), kx::test::defaultNaNBits());
}

}  // namespace
