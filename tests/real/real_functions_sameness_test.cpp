// The fast paths of the portable real functions and of the complex power never change a
// result: over random samples from every range that matters, each function agrees bit for
// bit with its accurate path. KX_SAMENESS_SAMPLES sets the samples per range (default 40000); a large
// run by hand is e.g. KX_SAMENESS_SAMPLES=2000000 real_test --gtest_filter='RealFunctionsSameness.*'.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "complex/exponential.h"
#include "complex/power.h"
#include "real/exp.h"
#include "real/inverse_circular.h"
#include "real/log.h"
#include "real/pow.h"
#include "real/sin_cos.h"

namespace {

long samplesPerRange() {
    const char* text = std::getenv("KX_SAMENESS_SAMPLES");
    return text != nullptr ? std::atol(text) : 40000;
}

bool sameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

using Pair = std::pair<double, double>;

struct Sampler {
    std::mt19937_64 generator{20261208};
    std::uniform_real_distribution<double> unit{0.0, 1.0};

    double uniform(double low, double high) { return low + (high - low) * unit(generator); }
    double logUniform(double lowExponent, double highExponent) {
        return std::exp2(uniform(lowExponent, highExponent));
    }
    double signed_(double value) { return (generator() & 1) ? -value : value; }
    double bits() { return std::bit_cast<double>(generator()); }
    // value moved by up to `steps` representable doubles either way
    double nudged(double value, int steps) {
        const int count = static_cast<int>(generator() % (2 * steps + 1)) - steps;
        for (int step = 0; step < std::abs(count); ++step) value = std::nextafter(value, count > 0 ? INFINITY : -INFINITY);
        return value;
    }
};

struct UnaryRange {
    const char* name;
    double (*fast)(double);
    double (*accurate)(double);
    std::function<double(Sampler&)> draw;
};

struct BinaryRange {
    const char* name;
    double (*fast)(double, double);
    double (*accurate)(double, double);
    std::function<Pair(Sampler&)> draw;
};

// roundedLog on double-doubles with a low part: 1 + u as a two-sum, and x + 2^-60·x.
double fastLogOfOnePlus(double u) { return kx::real::roundedLog(kx::twoSum(1.0, u)); }
double accurateLogOfOnePlus(double u) { return kx::real::accurate::roundedLog(kx::twoSum(1.0, u)); }
double fastLogWithLowPart(double x) { return kx::real::roundedLog(kx::twoSum(x, x * 0x1p-60)); }
double accurateLogWithLowPart(double x) { return kx::real::accurate::roundedLog(kx::twoSum(x, x * 0x1p-60)); }

double fastSinCosSine(double x) { return kx::real::sinCos(x).sine; }
double fastSinCosCosine(double x) { return kx::real::sinCos(x).cosine; }
double accurateSine(double x) { return kx::real::accurate::sinCos(x).sine; }
double accurateCosine(double x) { return kx::real::accurate::sinCos(x).cosine; }

constexpr double halfPiRounded = 1.5707963267948966;

double nearMultipleOfHalfPi(Sampler& s, double largestMultiple) {
    const double k = std::floor(s.unit(s.generator) * largestMultiple);
    return s.signed_(s.nudged(k * halfPiRounded, 4));
}

std::vector<UnaryRange> circularRanges() {
    std::vector<UnaryRange> ranges;
    const std::vector<std::pair<const char*, std::function<double(Sampler&)>>> draws = {
        {"|x| < 10", [](Sampler& s) { return s.signed_(s.uniform(0.0, 10.0)); }},
        {"2^-30 < |x| < 2^-20", [](Sampler& s) { return s.signed_(s.logUniform(-30, -20)); }},
        {"2^-20 < |x| < 2^20", [](Sampler& s) { return s.signed_(s.logUniform(-20, 20)); }},
        {"near k*pi/2, k < 2^20", [](Sampler& s) { return nearMultipleOfHalfPi(s, 0x1p20); }},
        {"near k*pi/2, k < 16", [](Sampler& s) { return nearMultipleOfHalfPi(s, 16.0); }},
        {"2^20 < |x| < 2^1024", [](Sampler& s) { return s.signed_(s.logUniform(20, 1023.99)); }},
        {"random bit patterns", [](Sampler& s) { return s.bits(); }},
    };
    for (const auto& [name, draw] : draws) {
        ranges.push_back({name, kx::real::sin, accurateSine, draw});
        ranges.push_back({name, kx::real::cos, accurateCosine, draw});
        ranges.push_back({name, fastSinCosSine, accurateSine, draw});
        ranges.push_back({name, fastSinCosCosine, accurateCosine, draw});
    }
    return ranges;
}

std::vector<UnaryRange> exponentialAndLogarithmRanges() {
    return {
        {"exp |x| < 1", kx::real::exp, kx::real::accurate::exp, [](Sampler& s) { return s.uniform(-1.0, 1.0); }},
        {"exp |x| < 745", kx::real::exp, kx::real::accurate::exp, [](Sampler& s) { return s.uniform(-745.2, 709.8); }},
        {"exp 2^-60 < |x| < 2^3", kx::real::exp, kx::real::accurate::exp, [](Sampler& s) { return s.signed_(s.logUniform(-60, 3)); }},
        {"exp near overflow", kx::real::exp, kx::real::accurate::exp, [](Sampler& s) { return s.uniform(700.0, 709.8); }},
        {"exp subnormal results", kx::real::exp, kx::real::accurate::exp, [](Sampler& s) { return s.uniform(-745.2, -700.0); }},
        {"exp near multiples of ln2/2", kx::real::exp, kx::real::accurate::exp,
         [](Sampler& s) { return s.nudged(std::floor(s.uniform(-2000, 2000)) * 0.34657359027997264, 3); }},
        {"log all binades", kx::real::log, kx::real::accurate::log, [](Sampler& s) { return s.logUniform(-1074, 1023.99); }},
        {"log [0.5, 2]", kx::real::log, kx::real::accurate::log, [](Sampler& s) { return s.uniform(0.5, 2.0); }},
        {"log 1 +- 2^-k", kx::real::log, kx::real::accurate::log, [](Sampler& s) { return 1.0 + s.signed_(s.logUniform(-52, -1)); }},
        {"log near sqrt(1/2) scaled", kx::real::log, kx::real::accurate::log,
         [](Sampler& s) { return std::ldexp(s.nudged(0.7071067811865476, 1000), static_cast<int>(s.uniform(-60, 60))); }},
        {"log random bit patterns", kx::real::log, kx::real::accurate::log, [](Sampler& s) { return std::fabs(s.bits()); }},
        {"log1p |u| < 1", kx::real::log1p, kx::real::accurate::log1p, [](Sampler& s) { return s.signed_(s.unit(s.generator)); }},
        {"log1p 2^-60 < |u| < 2^-1", kx::real::log1p, kx::real::accurate::log1p, [](Sampler& s) { return s.signed_(s.logUniform(-60, -1)); }},
        {"log1p 2^-1 < u < 2^1000", kx::real::log1p, kx::real::accurate::log1p, [](Sampler& s) { return s.logUniform(-1, 1000); }},
        {"log1p -1 < u < -0.25", kx::real::log1p, kx::real::accurate::log1p, [](Sampler& s) { return -s.uniform(0.25, 1.0); }},
        {"roundedLog 1 + u, 2^-60 < |u| < 2^-1", fastLogOfOnePlus, accurateLogOfOnePlus, [](Sampler& s) { return s.signed_(s.logUniform(-60, -1)); }},
        {"roundedLog x + 2^-60 x, all binades", fastLogWithLowPart, accurateLogWithLowPart,
         [](Sampler& s) { return s.logUniform(-1000, 1000); }},
        {"atan 2^-28 < |x| < 2^61", kx::real::atan, kx::real::accurate::atan, [](Sampler& s) { return s.signed_(s.logUniform(-28, 61)); }},
        {"asin |x| < 1", kx::real::asin, kx::real::accurate::asin, [](Sampler& s) { return s.signed_(s.unit(s.generator)); }},
        {"asin 1 - 2^-k", kx::real::asin, kx::real::accurate::asin, [](Sampler& s) { return s.signed_(1.0 - s.logUniform(-53, -1)); }},
        {"acos |x| < 1", kx::real::acos, kx::real::accurate::acos, [](Sampler& s) { return s.signed_(s.unit(s.generator)); }},
        {"acos 1 - 2^-k", kx::real::acos, kx::real::accurate::acos, [](Sampler& s) { return s.signed_(1.0 - s.logUniform(-53, -1)); }},
    };
}

std::vector<BinaryRange> binaryRanges() {
    return {
        {"atan2 |y|, |x| < 1", kx::real::atan2, kx::real::accurate::atan2,
         [](Sampler& s) { return Pair{s.signed_(s.unit(s.generator)), s.signed_(s.unit(s.generator))}; }},
        {"atan2 y, x in 2^+-1024", kx::real::atan2, kx::real::accurate::atan2,
         [](Sampler& s) { return Pair{s.signed_(s.logUniform(-1074, 1023.99)), s.signed_(s.logUniform(-1074, 1023.99))}; }},
        {"atan2 y/x near 1", kx::real::atan2, kx::real::accurate::atan2,
         [](Sampler& s) {
             const double x = s.signed_(s.logUniform(-20, 20));
             return Pair{x * (1.0 + s.signed_(s.logUniform(-52, -1))), x};
         }},
        {"atan2 y/x near 2^-60", kx::real::atan2, kx::real::accurate::atan2,
         [](Sampler& s) { return Pair{s.signed_(s.logUniform(-66, -54)), s.signed_(1.0 + s.unit(s.generator))}; }},
        {"pow x in 2^+-20, |y| < 50", kx::real::pow, kx::real::accurate::pow,
         [](Sampler& s) { return Pair{s.logUniform(-20, 20), s.signed_(s.uniform(0.0, 50.0))}; }},
        {"pow x in 2^+-1000, |y| < 1", kx::real::pow, kx::real::accurate::pow,
         [](Sampler& s) { return Pair{s.logUniform(-1074, 1023.99), s.signed_(s.unit(s.generator))}; }},
        {"pow integer y, x of either sign", kx::real::pow, kx::real::accurate::pow,
         [](Sampler& s) { return Pair{s.signed_(s.logUniform(-30, 30)), std::floor(s.uniform(-300, 301))}; }},
        {"pow small integers", kx::real::pow, kx::real::accurate::pow,
         [](Sampler& s) { return Pair{std::floor(s.uniform(-500, 500)), std::floor(s.uniform(-20, 60))}; }},
        {"pow x = 1 +- 2^-k, large y", kx::real::pow, kx::real::accurate::pow,
         [](Sampler& s) { return Pair{1.0 + s.signed_(s.logUniform(-52, -1)), s.signed_(s.logUniform(0, 60))}; }},
        {"pow results near overflow and subnormal", kx::real::pow, kx::real::accurate::pow,
         [](Sampler& s) {
             const double x = s.logUniform(-40, 40);
             if (x == 1.0) return Pair{x, 1.0};
             const double target = (s.generator() & 1) ? s.uniform(700.0, 710.0) : s.uniform(-746.0, -700.0);
             return Pair{x, target / std::log(x)};
         }},
        {"pow random bit patterns", kx::real::pow, kx::real::accurate::pow, [](Sampler& s) { return Pair{s.bits(), s.bits()}; }},
    };
}

using kx::Complex;
using Operands = std::pair<Complex, Complex>;

struct PowerRange {
    const char* name;
    std::function<Operands(Sampler&)> draw;
};

Complex polar(double modulus, double angle) { return {modulus * std::cos(angle), modulus * std::sin(angle)}; }

// A real exponent that is not an integer (those take the exact integer power).
double fractionalExponent(Sampler& s, double largest) {
    const double u = s.uniform(-largest, largest);
    return std::nearbyint(u) == u ? u + 0.5 : u;
}

std::vector<PowerRange> powerRanges() {
    constexpr double pi = 3.141592653589793;
    return {
        {"(x+iy)^u, |x|, |y| < 4, |u| < 10",
         [](Sampler& s) { return Operands{{s.uniform(-4, 4), s.uniform(-4, 4)}, {fractionalExponent(s, 10), 0.0}}; }},
        {"(x+iy)^u on the unit circle",
         [](Sampler& s) {
             const Complex z = polar(1.0, s.uniform(-pi, pi));
             return Operands{{s.nudged(z.re, 3), s.nudged(z.im, 3)}, {fractionalExponent(s, 5), 0.0}};
         }},
        {"(x+iy)^u near an axis, u a half or a third",
         [](Sampler& s) {
             const double large = s.signed_(s.uniform(0.5, 8.0));
             const double small = s.signed_(large * s.logUniform(-80, -1));
             const double u = std::floor(s.uniform(-20, 20)) / ((s.generator() & 1) ? 2.0 : 3.0);
             const Complex z = (s.generator() & 1) ? Complex{large, small} : Complex{small, large};
             return Operands{z, {std::nearbyint(u) == u ? u + 0.25 : u, 0.0}};
         }},
        {"(x+iy)^u, parts in 2^+-1000, |u| < 1",
         [](Sampler& s) {
             return Operands{{s.signed_(s.logUniform(-1000, 1000)), s.signed_(s.logUniform(-1000, 1000))},
                             {s.signed_(s.unit(s.generator)), 0.0}};
         }},
        {"(x+iy)^u, results near overflow and below the normal range",
         [](Sampler& s) {
             const Complex z{s.signed_(s.logUniform(-20, 20)), s.signed_(s.logUniform(-20, 20))};
             const double logOfModulus = std::log(std::hypot(z.re, z.im));
             const double target = (s.generator() & 1) ? s.uniform(700.0, 712.0) : s.uniform(-750.0, -700.0);
             return Operands{z, {logOfModulus == 0.0 ? 0.5 : target / logOfModulus, 0.0}};
         }},
        {"(x+iy)^(u+iv), |parts| < 4",
         [](Sampler& s) {
             return Operands{{s.uniform(-4, 4), s.uniform(-4, 4)}, {s.uniform(-4, 4), s.uniform(-4, 4)}};
         }},
        {"(x+iy)^(u+iv), |z| near 1, |w| up to 2^12",
         [](Sampler& s) {
             const Complex z = polar(1.0 + s.signed_(s.logUniform(-50, -3)), s.uniform(-pi, pi));
             return Operands{z, {s.signed_(s.logUniform(-10, 12)), s.signed_(s.logUniform(-10, 12))}};
         }},
        {"x^(u+iv), x > 0",
         [](Sampler& s) { return Operands{{s.logUniform(-40, 40), 0.0}, {s.uniform(-20, 20), s.uniform(-20, 20)}}; }},
        {"x^(iv), |v·ln x| up to 2^24",
         [](Sampler& s) { return Operands{{s.logUniform(-10, 10), 0.0}, {0.0, s.signed_(s.logUniform(-20, 20))}}; }},
        {"(iy)^u and (x+iy)^(iv)",
         [](Sampler& s) {
             if (s.generator() & 1) return Operands{{0.0, s.signed_(s.logUniform(-30, 30))}, {fractionalExponent(s, 8), 0.0}};
             return Operands{{s.uniform(-3, 3), s.uniform(-3, 3)}, {0.0, s.uniform(-6, 6)}};
         }},
        {"random bit patterns",
         [](Sampler& s) { return Operands{{s.bits(), s.bits()}, {s.bits(), (s.generator() & 1) ? s.bits() : 0.0}}; }},
    };
}

TEST(RealFunctionsSameness, ComplexPowerMatchesItsAccuratePath) {
    const long samples = samplesPerRange() / 2;  // a power costs about two real functions
    for (const PowerRange& range : powerRanges()) {
        Sampler sampler;
        long mismatches = 0;
        for (long index = 0; index < samples; ++index) {
            const auto [z, w] = range.draw(sampler);
            const Complex fast = kx::power(z, w);
            const Complex accurate = kx::accurate::power(z, w);
            if (sameBits(fast.re, accurate.re) && sameBits(fast.im, accurate.im)) continue;
            if (++mismatches <= 5)
                ADD_FAILURE() << range.name << ": at (" << std::hexfloat << z.re << ", " << z.im << ")^(" << w.re << ", "
                              << w.im << ") fast (" << fast.re << ", " << fast.im << ") accurate (" << accurate.re << ", "
                              << accurate.im << ")";
        }
        EXPECT_EQ(mismatches, 0) << range.name << " over " << samples;
    }
}

TEST(RealFunctionsSameness, UnaryFunctionsMatchTheirAccuratePaths) {
    const long samples = samplesPerRange();
    std::vector<UnaryRange> ranges = circularRanges();
    for (UnaryRange& range : exponentialAndLogarithmRanges()) ranges.push_back(std::move(range));
    for (const UnaryRange& range : ranges) {
        Sampler sampler;
        long mismatches = 0;
        for (long index = 0; index < samples; ++index) {
            const double x = range.draw(sampler);
            const double fast = range.fast(x);
            const double accurate = range.accurate(x);
            if (sameBits(fast, accurate)) continue;
            if (++mismatches <= 5) ADD_FAILURE() << range.name << ": at " << std::hexfloat << x << " fast " << fast << " accurate " << accurate;
        }
        EXPECT_EQ(mismatches, 0) << range.name << " over " << samples;
    }
}

TEST(RealFunctionsSameness, BinaryFunctionsMatchTheirAccuratePaths) {
    const long samples = samplesPerRange();
    for (const BinaryRange& range : binaryRanges()) {
        Sampler sampler;
        long mismatches = 0;
        for (long index = 0; index < samples; ++index) {
            const auto [a, b] = range.draw(sampler);
            const double fast = range.fast(a, b);
            const double accurate = range.accurate(a, b);
            if (sameBits(fast, accurate)) continue;
            if (++mismatches <= 5) ADD_FAILURE() << range.name << ": at " << std::hexfloat << a << ", " << b << " fast " << fast << " accurate " << accurate;
        }
        EXPECT_EQ(mismatches, 0) << range.name << " over " << samples;
    }
}

}  // namespace
