// Compares the portable real functions with the C runtime's bit for bit over random
// samples and prints, per function and sample kind, the sample size, the number of
// results that differ and the largest difference in ulps, then the differing inputs.
//
//   real_functions_compare [SAMPLES-PER-KIND] [SEED]
//
// On glibc this measures agreement with a libm that is itself within about 0.52 ulp, so
// a difference is a case where one of the two rounds the wrong way (check with mpmath).
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "real/exp.h"
#include "real/inverse_circular.h"
#include "real/log.h"
#include "real/pow.h"
#include "real/sin_cos.h"

namespace {

std::int64_t orderedBits(double value) {
    const auto bits = std::bit_cast<std::int64_t>(value);
    return bits < 0 ? std::numeric_limits<std::int64_t>::min() - bits : bits;
}

std::uint64_t ulpDistance(double a, double b) {
    if (std::isnan(a) && std::isnan(b)) return 0;
    const std::int64_t x = orderedBits(a);
    const std::int64_t y = orderedBits(b);
    return x > y ? static_cast<std::uint64_t>(x) - static_cast<std::uint64_t>(y)
                 : static_cast<std::uint64_t>(y) - static_cast<std::uint64_t>(x);
}

struct Tally {
    std::string name;
    long samples = 0;
    long mismatches = 0;
    std::uint64_t largest = 0;
    std::vector<std::string> examples;
};

void record(Tally& tally, double ours, double theirs, const std::string& input) {
    ++tally.samples;
    if (std::bit_cast<std::uint64_t>(ours) == std::bit_cast<std::uint64_t>(theirs)) return;
    if (std::isnan(ours) && std::isnan(theirs)) return;  // NaN payloads are not compared
    ++tally.mismatches;
    const std::uint64_t distance = ulpDistance(ours, theirs);
    if (distance > tally.largest) tally.largest = distance;
    if (tally.examples.size() < 100000) {
        char text[200];
        std::snprintf(text, sizeof text, " ours %a libm %a (%llu ulp)", ours, theirs,
                      static_cast<unsigned long long>(distance));
        tally.examples.push_back(input + text);
    }
}

std::string hex(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const long samples = argc > 1 ? std::atol(argv[1]) : 100000;
    std::mt19937_64 generator(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20261208);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto logUniform = [&](double lowExponent, double highExponent) {
        return std::exp2(lowExponent + (highExponent - lowExponent) * unit(generator)) *
               (1.0 + 0.0 * unit(generator));
    };
    const auto randomSign = [&](double value) { return (generator() & 1) ? -value : value; };

    std::vector<Tally> tallies;
    const auto trigonometric = [&](const std::string& kind, const std::function<double()>& draw) {
        Tally sine{"sin " + kind, 0, 0, 0, {}};
        Tally cosine{"cos " + kind, 0, 0, 0, {}};
        for (long index = 0; index < samples; ++index) {
            const double x = draw();
            record(sine, kx::real::sin(x), std::sin(x), "sin(" + hex(x) + ")");
            record(cosine, kx::real::cos(x), std::cos(x), "cos(" + hex(x) + ")");
        }
        tallies.push_back(sine);
        tallies.push_back(cosine);
    };
    trigonometric("|x| < 10", [&] { return randomSign(10.0 * unit(generator)); });
    trigonometric("2^-30 < |x| < 2^30", [&] { return randomSign(logUniform(-30, 30)); });
    trigonometric("near k*pi/2, k < 2^20", [&] {
        const double k = std::floor(unit(generator) * 0x1p20);
        double x = k * 1.5707963267948966;
        const int steps = static_cast<int>(generator() % 9) - 4;
        for (int step = 0; step < std::abs(steps); ++step) x = std::nextafter(x, steps > 0 ? INFINITY : 0.0);
        return x;
    });
    trigonometric("2^20 < |x| < 2^1024", [&] { return randomSign(logUniform(20, 1023.99)); });

    const auto single = [&](const std::string& name, double (*ours)(double), double (*theirs)(double),
                            const std::function<double()>& draw) {
        Tally tally{name, 0, 0, 0, {}};
        const std::string prefix = name.substr(0, name.find(' '));
        for (long index = 0; index < samples; ++index) {
            const double x = draw();
            record(tally, ours(x), theirs(x), prefix + "(" + hex(x) + ")");
        }
        tallies.push_back(tally);
    };
    single("exp |x| < 745", kx::real::exp, [](double x) { return std::exp(x); },
           [&] { return 745.0 * unit(generator) * ((generator() & 1) ? -1.0 : 1.0); });
    single("log x in 2^+-1024", kx::real::log, [](double x) { return std::log(x); },
           [&] { return logUniform(-1074, 1023.99); });
    single("log x in [0.5, 2]", kx::real::log, [](double x) { return std::log(x); },
           [&] { return 0.5 + 1.5 * unit(generator); });
    single("log1p |u| < 1", kx::real::log1p, [](double x) { return std::log1p(x); },
           [&] { return randomSign(unit(generator)); });
    single("log1p 2^-60 < |u| < 2^1000", kx::real::log1p, [](double x) { return std::log1p(x); }, [&] {
        const double u = randomSign(logUniform(-60, 1000));
        return u <= -1.0 ? -u : u;
    });

    const auto angle = [&](const std::string& kind, const std::function<std::pair<double, double>()>& draw) {
        Tally tally{"atan2 " + kind, 0, 0, 0, {}};
        for (long index = 0; index < samples; ++index) {
            const auto [y, x] = draw();
            record(tally, kx::real::atan2(y, x), std::atan2(y, x), "atan2(" + hex(y) + ", " + hex(x) + ")");
        }
        tallies.push_back(tally);
    };
    angle("|y|, |x| < 1", [&] { return std::pair{randomSign(unit(generator)), randomSign(unit(generator))}; });
    angle("y, x in 2^+-1024", [&] {
        return std::pair{randomSign(logUniform(-1074, 1023.99)), randomSign(logUniform(-1074, 1023.99))};
    });
    angle("y/x near 1", [&] {
        const double x = randomSign(logUniform(-20, 20));
        return std::pair{x * (1.0 + randomSign(logUniform(-52, -1))), x};
    });

    const auto power = [&](const std::string& kind, const std::function<std::pair<double, double>()>& draw) {
        Tally tally{"pow " + kind, 0, 0, 0, {}};
        for (long index = 0; index < samples; ++index) {
            const auto [x, y] = draw();
            record(tally, kx::real::pow(x, y), std::pow(x, y), "pow(" + hex(x) + ", " + hex(y) + ")");
        }
        tallies.push_back(tally);
    };
    power("x in 2^+-20, |y| < 50", [&] {
        return std::pair{logUniform(-20, 20), randomSign(50.0 * unit(generator))};
    });
    power("x in 2^+-1000, |y| < 1", [&] {
        return std::pair{logUniform(-1074, 1023.99), randomSign(unit(generator))};
    });
    power("integer y in [-300, 300], x in 2^+-30 of either sign", [&] {
        return std::pair{randomSign(logUniform(-30, 30)),
                         std::floor(601.0 * unit(generator)) - 300.0};
    });
    power("small integer x and y", [&] {
        return std::pair{std::floor(1000.0 * unit(generator)) - 500.0,
                         std::floor(80.0 * unit(generator)) - 20.0};
    });
    power("x = 1 +- 2^-k, |y| up to 2^60", [&] {
        const double x = 1.0 + randomSign(logUniform(-52, -1));
        return std::pair{x, randomSign(logUniform(0, 60))};
    });
    power("results near overflow and in the subnormal range", [&] {
        const double x = logUniform(-40, 40);
        if (x == 1.0) return std::pair{x, 1.0};
        const double target = (generator() & 1) ? 700.0 + 10.0 * unit(generator) : -700.0 - 46.0 * unit(generator);
        return std::pair{x, target / std::log(x)};
    });
    power("random bit patterns", [&] {
        return std::pair{std::bit_cast<double>(generator()), std::bit_cast<double>(generator())};
    });

    long total = 0;
    long differing = 0;
    for (const Tally& tally : tallies) {
        std::printf("%-60s samples %8ld  differ %6ld  largest %llu ulp\n", tally.name.c_str(), tally.samples,
                    tally.mismatches, static_cast<unsigned long long>(tally.largest));
        total += tally.samples;
        differing += tally.mismatches;
    }
    std::printf("total: %ld samples, %ld differ\n", total, differing);
    for (const Tally& tally : tallies)
        for (const std::string& example : tally.examples) std::printf("%s\n", example.c_str());
}
