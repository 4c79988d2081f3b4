// Calls on many threads at once. Lines that assign nothing: eight threads evaluate one
// shared set of such lines through the exported function, each in its own order, and every
// text must equal the one a single thread gets. Assignments beside them: writers store
// values that tell the writer and a counter, into names of their own, into one name they
// share, and into fresh names (so the table grows under the readers), and one thread
// alternates tol; readers check every text they get.
#include <atomic>
#include <chrono>
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
#include "support/paired_values.h"
#include "support/text_checks.h"
#include "tables/loader_notification.h"
#include "tables/symbol_tables.h"

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

namespace paired = kx::test::paired;

constexpr int writerCount = 2;
constexpr int readerCount = 3;
constexpr auto mixedRunTime = std::chrono::seconds(2);
constexpr long freshNamesPerWriter = 50'000;

// The first broken invariant, and how many there were.
class Failures {
public:
    void note(const std::string& what) {
        if (count_.fetch_add(1) == 0) {
            const std::lock_guard lock(guard_);
            first_ = what;
        }
    }
    int count() const { return count_.load(); }
    std::string first() const {
        const std::lock_guard lock(guard_);
        return first_;
    }

private:
    std::atomic<int> count_{0};
    mutable std::mutex guard_;
    std::string first_;
};

std::string ownName(int writer) { return paired::letterName("own", writer); }
std::string freshName(int writer, long number) {
    return paired::letterName(paired::letterName("fresh", writer) + "x", number);
}

struct MixedRun {
    std::atomic<bool> stop{false};
    std::atomic<long> freshAssigned[writerCount]{};  // fresh names 1..n of each writer are set
    std::atomic<long> writes{0};
    std::atomic<long> reads{0};
    Failures failures;
};

// Own name and shared name with counters 2, 3, ...; fresh names with 1, 2, ... up to a bound.
void writeValues(MixedRun& run, int writer) {
    for (long counter = 2; !run.stop.load(std::memory_order_relaxed); ++counter) {
        const std::string value = paired::valueExpression(writer, counter);
        const std::string own = calcText("set " + ownName(writer) + " = " + value);
        if (own != paired::valueText(writer, counter)) run.failures.note("set " + ownName(writer) + " gave " + own);
        calcText("set shared = " + value);
        if (const long number = counter - 1; number <= freshNamesPerWriter) {
            const std::string fresh = calcText("set " + freshName(writer, number) + " = " +
                                               paired::valueExpression(writer, number));
            if (fresh != paired::valueText(writer, number)) run.failures.note("set fresh gave " + fresh);
            run.freshAssigned[writer].store(number, std::memory_order_release);
        }
        run.writes.fetch_add(1, std::memory_order_relaxed);
    }
}

// One value read: whole, from a writer, and never older than the last one seen from it.
void checkReading(MixedRun& run, const std::string& line, long lastSeen[], int expectedWriter = -1) {
    const std::string text = calcText(line);
    const auto reading = paired::read(text);
    if (!reading) return run.failures.note(line + " gave " + text + ": not one stored value");
    if (expectedWriter >= 0 && reading->writer != expectedWriter) return run.failures.note(line + " gave " + text);
    if (reading->counter < lastSeen[reading->writer]) {
        return run.failures.note(line + " went back from " + std::to_string(lastSeen[reading->writer]) + " to " + text);
    }
    lastSeen[reading->writer] = reading->counter;
}

void readValues(MixedRun& run, unsigned seed) {
    long lastOwn[paired::maxWriters] = {};
    long lastShared[paired::maxWriters] = {};
    while (!run.stop.load(std::memory_order_relaxed)) {
        for (int writer = 0; writer < writerCount; ++writer) {
            checkReading(run, ownName(writer), lastOwn, writer);
            checkReading(run, "shared", lastShared);
            // A fresh name whose assignment has returned is found, with its value: the
            // newest one, and one picked from the earlier ones.
            const long assigned = run.freshAssigned[writer].load(std::memory_order_acquire);
            if (assigned == 0) continue;
            seed = seed * 1103515245u + 12345u;
            for (const long number : {assigned, 1 + static_cast<long>(seed >> 8) % assigned}) {
                const std::string text = calcText(freshName(writer, number));
                if (text != paired::valueText(writer, number)) {
                    run.failures.note(freshName(writer, number) + " gave " + text);
                }
            }
        }
        // One tol for the whole call: 100 when tol is 1e-10, 1+1e-011i when it is 1e-12.
        const std::string tolerance = calcText("tol*1e12 + 1e-11*i");
        if (tolerance != "100" && tolerance != "1+1e-011i") run.failures.note("two tolerances in one call: " + tolerance);
        run.reads.fetch_add(1, std::memory_order_relaxed);
    }
}

void alternateTolerance(MixedRun& run) {
    for (bool small = true; !run.stop.load(std::memory_order_relaxed); small = !small) {
        const std::string text = calcText(small ? "set tol = 1e-12" : "set tol = 1e-10");
        if (text != "0" && text != "1e-010") run.failures.note("set tol gave " + text);
    }
}

TEST(ConcurrencyTest, assignments_beside_reads_leave_every_value_whole_and_in_order) {
    notify(kx::LoaderReason::ProcessAttach);
    for (int writer = 0; writer < writerCount; ++writer) {
        ASSERT_EQ(calcText("set " + ownName(writer) + " = " + paired::valueExpression(writer, 1)),
                  paired::valueText(writer, 1));
    }
    ASSERT_EQ(calcText("set shared = " + paired::valueExpression(0, 1)), paired::valueText(0, 1));

    MixedRun run;
    std::vector<std::thread> threads;
    for (int writer = 0; writer < writerCount; ++writer) threads.emplace_back(writeValues, std::ref(run), writer);
    for (int reader = 0; reader < readerCount; ++reader) threads.emplace_back(readValues, std::ref(run), 7u * reader + 1);
    threads.emplace_back(alternateTolerance, std::ref(run));
    std::this_thread::sleep_for(mixedRunTime);
    run.stop.store(true);
    for (std::thread& thread : threads) thread.join();

    EXPECT_EQ(run.failures.count(), 0) << run.failures.first();
    EXPECT_GT(run.writes.load(), 100);
    EXPECT_GT(run.reads.load(), 100);
    // Afterwards, on one thread: every fresh name holds its value, and nothing else was added.
    std::size_t names = 1 + writerCount + 1;  // tol, the own names, shared
    for (int writer = 0; writer < writerCount; ++writer) {
        const long assigned = run.freshAssigned[writer].load();
        names += static_cast<std::size_t>(assigned);
        for (long number = 1; number <= assigned; ++number) {
            ASSERT_EQ(calcText(freshName(writer, number)), paired::valueText(writer, number));
        }
    }
    EXPECT_EQ(kx::symbolTables().variables.size(), names);
    notify(kx::LoaderReason::ProcessDetach);
}

}  // namespace
