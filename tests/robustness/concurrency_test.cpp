// Lines that assign nothing only read the tables, so they may run on many threads at once:
// eight threads evaluate one shared set of such lines through the exported function, each
// in its own order, and every text must equal the one a single thread gets.
#include <atomic>
#include <cstdint>
#include <latch>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "golden/golden_cases.h"
#include "kx_calc.h"
#include "support/long_lines.h"
#include "support/text_checks.h"
#include "tables/loader_notification.h"

namespace {

constexpr int threadCount = 8;
constexpr int roundsPerThread = 3;

void notify(kx::LoaderReason reason) { kx::handleLoaderNotification(static_cast<std::uint32_t>(reason)); }

std::string calcText(const std::string& line) {
    std::vector<char> buffer(std::max<std::size_t>(64, line.size() + 1), '\0');
    std::copy(line.begin(), line.end(), buffer.begin());
    return kx_calc(buffer.data());
}

// Golden lines, every function name over a few arguments, the variables set before the
// threads start, messages, and some long lines that make the stacks spill to the heap.
std::vector<std::string> sharedLines() {
    std::vector<std::string> lines;
    for (const auto& group : kx::golden::allGroups) {
        for (const auto& golden : group.cases) lines.emplace_back(golden.line);
    }
    const char* const functions[] = {"sin", "cos", "tan", "sec", "csc", "cot", "sinh", "cosh", "tanh",
                                     "sech", "csch", "coth", "asin", "acos", "atan", "asec", "acsc",
                                     "acot", "asinh", "acosh", "atanh", "asech", "acsch", "acoth",
                                     "sqrt", "exp", "ln", "log", "abs"};
    const char* const arguments[] = {"0", "-0", "0.5", "-2", "i", "(1+2*i)", "(x)", "1e300", "(1/0)"};
    for (const char* function : functions) {
        for (const char* argument : arguments) lines.push_back(std::string(function) + " " + argument);
    }
    const char* const others[] = {"x*y", "x^y", "sq*sq", "y-x*2", "X+Y", "tol", "set x",
                                  "x y", "2 x", "(x+y", "x)", "  ", "1 %% 2", "set z"};
    for (const char* line : others) lines.emplace_back(line);
    using namespace kx::test::long_lines;
    lines.push_back(sumOfOnes(20'000));
    lines.push_back(nestedProducts(5'000));
    lines.push_back(prefixSigns(5'001));
    lines.push_back(joined({longName(5'000), "*x"}));
    return lines;
}

TEST(ConcurrencyTest, eight_threads_of_reading_lines_agree_with_one) {
    notify(kx::LoaderReason::ProcessAttach);
    ASSERT_EQ(calcText("set x = 2+i"), "2+i");
    ASSERT_EQ(calcText("set y = -0.5"), "-0.5");
    ASSERT_EQ(calcText("set sq = 3"), "3");
    const std::vector<std::string> lines = sharedLines();
    std::vector<std::string> expected;
    for (const std::string& line : lines) {
        ASSERT_FALSE(kx::test::assigns(line)) << line;
        expected.push_back(calcText(line));
    }

    std::atomic<int> mismatches{0};
    std::mutex firstMismatchGuard;
    std::string firstMismatch;
    std::latch start(threadCount);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            const std::size_t n = lines.size();
            for (int round = 0; round < roundsPerThread; ++round) {
                for (std::size_t k = 0; k < n; ++k) {
                    // Each thread walks all lines from its own offset, odd threads backwards.
                    const std::size_t shifted = (k + static_cast<std::size_t>(t) * n / threadCount) % n;
                    const std::size_t index = t % 2 != 0 ? n - 1 - shifted : shifted;
                    const std::string text = calcText(lines[index]);
                    if (text == expected[index]) continue;
                    if (mismatches.fetch_add(1) == 0) {
                        const std::lock_guard lock(firstMismatchGuard);
                        firstMismatch = lines[index].substr(0, 80) + " gave " + text + ", alone " + expected[index];
                    }
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(mismatches.load(), 0) << firstMismatch;
    EXPECT_EQ(calcText("x"), "2+i");
    notify(kx::LoaderReason::ProcessDetach);
}

}  // namespace
