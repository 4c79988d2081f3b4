// The fast and accurate paths of exp, ln, log and the circular and hyperbolic functions never
// change a result: over random arguments from every region that matters, each function
// agrees bit for bit with its evaluation on balls alone (kx::accurate). KX_SAMENESS_SAMPLES
// sets the samples per region (default 300; a ball evaluation costs tens of microseconds),
// e.g. KX_SAMENESS_SAMPLES=20000 complex_test --gtest_filter='ComplexFastPathSameness.*'.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "complex/circular.h"
#include "complex/exponential.h"

namespace kx::test {
namespace {

long samplesPerRegion() {
    const char* text = std::getenv("KX_SAMENESS_SAMPLES");
    return text != nullptr ? std::atol(text) : 300;
}

bool sameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

struct Sampler {
    std::mt19937_64 generator{20261209};
    std::uniform_real_distribution<double> unit{0.0, 1.0};

    double uniform(double low, double high) { return low + (high - low) * unit(generator); }
    double logUniform(double lowExponent, double highExponent) { return std::exp2(uniform(lowExponent, highExponent)); }
    double signed_(double value) { return (generator() & 1) ? -value : value; }
};

// (growing part, other part): Re z and Im z of exp and the hyperbolic functions, Im z and
// Re z of the circular ones; ln and log take them as (Re z, Im z).
struct Region {
    const char* name;
    std::function<std::pair<double, double>(Sampler&)> draw;
};

std::vector<Region> regions() {
    return {
        {"|parts| < 4", [](Sampler& s) { return std::pair{s.uniform(-4, 4), s.uniform(-4, 4)}; }},
        {"magnitudes 2^-40 .. 2^7",
         [](Sampler& s) { return std::pair{s.signed_(s.logUniform(-40, 7)), s.signed_(s.logUniform(-40, 7))}; }},
        {"growing part to 40, other to 2^20",
         [](Sampler& s) { return std::pair{s.uniform(-40, 40), s.signed_(s.logUniform(-3, 20))}; }},
        {"growing part to 750, results near the ends of the range",
         [](Sampler& s) { return std::pair{s.uniform(-750, 750), s.uniform(-4, 4)}; }},
        {"one part 2^-30 .. 2^-1000 of the other",
         [](Sampler& s) {
             const double large = s.signed_(s.uniform(0.2, 4.0));
             const double small = large * s.signed_(s.logUniform(-1000, -30));
             return (s.generator() & 1) ? std::pair{large, small} : std::pair{small, large};
         }},
        {"|z| within 2^-50 .. 2^-3 of 1",
         [](Sampler& s) {
             const double angle = s.uniform(-3.14159, 3.14159);
             const double radius = 1.0 + s.signed_(s.logUniform(-50, -3));
             return std::pair{radius * std::cos(angle), radius * std::sin(angle)};
         }},
    };
}

struct FunctionPair {
    const char* name;
    Complex (*fast)(Complex);
    Complex (*accurate)(Complex);
    bool growingIsReal;
};

TEST(ComplexFastPathSameness, FunctionsMatchTheirEvaluationOnBalls) {
    const FunctionPair functions[] = {
        {"exp", exp, accurate::exp, true},
        {"ln", ln, accurate::ln, true},
        {"log", log, accurate::log, true},
        {"sin", sine, accurate::sine, false},
        {"cos", cosine, accurate::cosine, false},
        {"tan", tangent, accurate::tangent, false},
        {"sec", secant, accurate::secant, false},
        {"csc", cosecant, accurate::cosecant, false},
        {"cot", cotangent, accurate::cotangent, false},
        {"sinh", hyperbolicSine, accurate::hyperbolicSine, true},
        {"cosh", hyperbolicCosine, accurate::hyperbolicCosine, true},
        {"tanh", hyperbolicTangent, accurate::hyperbolicTangent, true},
        {"sech", hyperbolicSecant, accurate::hyperbolicSecant, true},
        {"csch", hyperbolicCosecant, accurate::hyperbolicCosecant, true},
        {"coth", hyperbolicCotangent, accurate::hyperbolicCotangent, true},
    };
    const long samples = samplesPerRegion();
    for (const FunctionPair& function : functions) {
        for (const Region& region : regions()) {
            Sampler sampler;
            long mismatches = 0;
            for (long index = 0; index < samples; ++index) {
                const auto [growing, other] = region.draw(sampler);
                const Complex z = function.growingIsReal ? Complex{growing, other} : Complex{other, growing};
                const Complex fast = function.fast(z);
                const Complex onBalls = function.accurate(z);
                if (sameBits(fast.re, onBalls.re) && sameBits(fast.im, onBalls.im)) continue;
                if (++mismatches <= 3)
                    ADD_FAILURE() << function.name << ", " << region.name << ": at (" << std::hexfloat << z.re << ", "
                                  << z.im << ") fast (" << fast.re << ", " << fast.im << ") on balls (" << onBalls.re
                                  << ", " << onBalls.im << ")";
            }
            EXPECT_EQ(mismatches, 0) << function.name << ", " << region.name << " over " << samples;
        }
    }
}

}  // namespace
}  // namespace kx::test
