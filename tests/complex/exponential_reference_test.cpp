// Accuracy of the exponential family against the committed table of correctly rounded
// principal values (tests/reference/exponential.txt, made by tools/reference/generate_exponential.py).
#include <cmath>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "complex/exponential.h"
#include "complex/power.h"
#include "support/reference_table.h"

namespace kx::test {
namespace {

constexpr double partBoundUlps = 4.0;
constexpr double powerPartBoundUlps = 0.0;
constexpr double productBoundUlps = 2.0;        // E, normal results
constexpr double subnormalProductBoundUnits = 1.0;  // E, in units of the smallest subnormal

struct Worst {
    double error = 0.0;
    int line = 0;
};

// KX_EXPONENTIAL_TABLE names another table of the same form (a wider sample made by
// generate_exponential.py --sweep) in place of the committed one.
const std::vector<ReferenceCase>& referenceCases() {
    static const std::vector<ReferenceCase> cases = [] {
        const char* other = std::getenv("KX_EXPONENTIAL_TABLE");
        return loadReferenceTable(other != nullptr ? std::string(other)
                                                   : std::string(KX_REFERENCE_DIR) + "/exponential.txt");
    }();
    return cases;
}

Complex evaluate(const ReferenceCase& entry) {
    const Complex z{entry.inputs[0], entry.inputs[1]};
    if (entry.function == "abs") return abs(z);
    if (entry.function == "sqrt") return sqrt(z);
    if (entry.function == "exp") return exp(z);
    if (entry.function == "ln") return ln(z);
    if (entry.function == "log") return log(z);
    if (entry.function == "pow") return power(z, {entry.inputs[2], entry.inputs[3]});
    ADD_FAILURE() << "unknown function " << entry.function << " on line " << entry.line;
    return {};
}

// Worst error of the two parts, each in ulps of that part of the reference.
double partwiseError(Complex computed, Complex expected) {
    return std::max(ulpError(computed.re, expected.re), ulpError(computed.im, expected.im));
}

// |computed - expected| in units of the 15th significant digit of expected (0 for a
// reference part below 1e-290 or not finite; such parts are judged by partwiseError alone).
double fifteenthDigitError(double computed, double expected) {
    if (!(std::fabs(expected) >= 1e-290) || !std::isfinite(expected) || !std::isfinite(computed)) return 0.0;
    const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(expected))) - 14.0);
    return std::fabs(computed - expected) / unit;
}

TEST(exponential_reference, table_covers_every_function) {
    std::map<std::string, int> counts;
    for (const ReferenceCase& entry : referenceCases()) ++counts[entry.function];
    for (const char* name : {"abs", "sqrt", "exp", "ln", "log", "pow"}) EXPECT_GE(counts[name], 250) << name;
    EXPECT_GE(counts["E"], 150);
}

// ulpError measures a subnormal reference in units of the smallest subnormal.
TEST(exponential_reference, scaled_product_within_two_ulp_and_one_subnormal_unit) {
    Worst worstNormal, worstSubnormal;
    for (const ReferenceCase& entry : referenceCases()) {
        if (entry.function != "E") continue;
        const double computed = scaledExponentialProduct(entry.inputs[0], entry.inputs[1]);
        const double error = ulpError(computed, entry.expected.re);
        const bool subnormal = std::fabs(entry.expected.re) < std::numeric_limits<double>::min();
        EXPECT_LE(error, subnormal ? subnormalProductBoundUnits : productBoundUlps)
            << "E line " << entry.line << ": got " << computed;
        Worst& worst = subnormal ? worstSubnormal : worstNormal;
        if (error >= worst.error) worst = {error, entry.line};
    }
    std::printf("worst E    %.3f ulp, normal results (table line %d); %.3f units, subnormal results (line %d)\n",
                worstNormal.error, worstNormal.line, worstSubnormal.error, worstSubnormal.line);
}

// exp, ln and log are correctly rounded in each part; abs and sqrt keep their formulas.
TEST(exponential_reference, unary_functions_correctly_rounded_or_within_four_ulp_per_part) {
    std::map<std::string, Worst> worst;
    for (const ReferenceCase& entry : referenceCases()) {
        if (entry.function == "pow" || entry.function == "E") continue;
        const Complex computed = evaluate(entry);
        const double error = partwiseError(computed, entry.expected);
        const bool correctlyRounded = entry.function == "exp" || entry.function == "ln" || entry.function == "log";
        EXPECT_LE(error, correctlyRounded ? 0.0 : partBoundUlps)
            << entry.function << " line " << entry.line << ": got (" << computed.re << ", " << computed.im << ")";
        if (error >= worst[entry.function].error) worst[entry.function] = {error, entry.line};
    }
    for (const auto& [name, record] : worst)
        std::printf("worst %-4s %.3f ulp (table line %d)\n", name.c_str(), record.error, record.line);
}

// Each part against that part alone: the power is correctly rounded part by part, so
// every part must be the reference's double (a part that is truly zero must come out zero).
TEST(exponential_reference, power_correctly_rounded_per_part) {
    Worst worst;
    double worstDigitUnits = 0.0;
    for (const ReferenceCase& entry : referenceCases()) {
        if (entry.function != "pow") continue;
        const Complex computed = evaluate(entry);
        const double error = partwiseError(computed, entry.expected);
        EXPECT_LE(error, powerPartBoundUlps) << "pow line " << entry.line << ": got (" << computed.re << ", "
                                             << computed.im << ")";
        if (error >= worst.error) worst = {error, entry.line};
        worstDigitUnits = std::max({worstDigitUnits, fifteenthDigitError(computed.re, entry.expected.re),
                                    fifteenthDigitError(computed.im, entry.expected.im)});
    }
    std::printf("worst pow  %.3f ulp per part (table line %d); %.3f units of the 15th digit\n", worst.error,
                worst.line, worstDigitUnits);
}

}  // namespace
}  // namespace kx::test
