// The golden end-to-end tables, evaluated in-process with fresh tables.
#include <ostream>

#include <gtest/gtest.h>

#include "golden/golden_cases.h"
#include "support/calculator.h"

namespace {

}  // namespace

namespace kx::golden {
void PrintTo(const GoldenGroup& group, std::ostream* out) { *out << group.name; }
}  // namespace kx::golden

namespace {

class GoldenGroupTest : public ::testing::TestWithParam<kx::golden::GoldenGroup> {};

TEST_P(GoldenGroupTest, every_line_gives_its_exact_text) {
    kx::test::Calculator calc;
    for (const auto& golden : GetParam().cases) {
        EXPECT_EQ(calc(golden.line), golden.expected) << "line: " << golden.line;
    }
}

INSTANTIATE_TEST_SUITE_P(core, GoldenGroupTest, ::testing::ValuesIn(kx::golden::allGroups),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
