// Memory running out during a call: for every point at which an allocation can fail, the
// call writes "Out of memory.", the tables stay exactly as they were, and the next call
// works with every variable set before. Meanwhile another thread reads the variables and
// must always find them as they were.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "kx_calc.h"
#include "robustness/failing_allocator.h"
#include "support/long_lines.h"
#include "support/table_snapshot.h"
#include "tables/loader_notification.h"
#include "tables/symbol_tables.h"

namespace {

using kx::test::allowAllocations;
using kx::test::failAllocationsAfter;
using kx::test::refusedAllocations;

bool notify(kx::LoaderReason reason) { return kx::handleLoaderNotification(static_cast<std::uint32_t>(reason)); }

struct Buffer {
    explicit Buffer(const std::string& line) : bytes(std::max<std::size_t>(64, line.size() + 1), '\0') {
        std::copy(line.begin(), line.end(), bytes.begin());
    }
    std::vector<char> bytes;
};

// The buffer is prepared before arming, so only the library's own allocations can fail.
std::string calcWithAllocationLimit(const std::string& line, std::size_t successes) {
    Buffer buffer(line);
    failAllocationsAfter(successes);
    char* const result = kx_calc(buffer.bytes.data());
    allowAllocations();
    EXPECT_EQ(result, buffer.bytes.data());
    return result;
}

std::string calcText(const std::string& line) { return calcWithAllocationLimit(line, SIZE_MAX >> 2); }

// Lines that allocate in different places: a new variable, stacks that
// spill to the heap (also on a line that then fails), a long variable name, a long
// literal with a d exponent.
const std::vector<std::string>& linesThatAllocate() {
    using namespace kx::test::long_lines;
    static const std::vector<std::string> lines{
        "set freshvariablewithalongname = 3+4*i",
        nestedProducts(200),
        prefixSigns(300),
        joined({prefixSigns(300), " 2 3"}),
        joined({"set ", longName(300), " = b"}),
        joined({"1", repeated("0", 300), "d-300+a"}),  // a long d literal is rewritten in a copy
    };
    return lines;
}

// A fresh load with three variables set, and seven more names: with "tol" the variable
// table's index is then half full, so a new name makes it grow.
void startSession() {
    notify(kx::LoaderReason::ProcessDetach);
    ASSERT_TRUE(notify(kx::LoaderReason::ProcessAttach));
    ASSERT_EQ(calcText("set a = 2"), "2");
    ASSERT_EQ(calcText("set b = i"), "i");
    ASSERT_EQ(calcText("set c = -1.5"), "-1.5");
    for (const char* name : {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta"}) {
        ASSERT_EQ(calcText(std::string("set ") + name + " = 7"), "7");
    }
}

// A thread that reads a+b*c until told to stop, allocating nothing itself (the allocator
// counts every thread's allocations), and counts the texts that are not 2-1.5i.
class Reader {
public:
    Reader() : thread_([this] { run(); }) {
        while (reads_.load() == 0) std::this_thread::yield();  // reading before the line runs
    }
    ~Reader() {
        stop_ = true;
        thread_.join();
    }
    long wrongTexts() const { return wrong_.load(); }
    long reads() const { return reads_.load(); }

private:
    void run() {
        char buffer[64];
        while (!stop_) {
            std::strcpy(buffer, "a+b*c+eta*0");
            if (std::strcmp(kx_calc(buffer), "2-1.5i") != 0) ++wrong_;
            ++reads_;
        }
    }

    std::atomic<bool> stop_{false};
    std::atomic<long> wrong_{0};
    std::atomic<long> reads_{0};
    std::thread thread_;
};

class OutOfMemoryTest : public ::testing::Test {
protected:
    void TearDown() override { notify(kx::LoaderReason::ProcessDetach); }
};

TEST_F(OutOfMemoryTest, every_failing_allocation_gives_the_message_and_spares_the_tables) {
    for (const std::string& line : linesThatAllocate()) {
        startSession();
        const std::string normal = calcText(line);
        ASSERT_NE(normal, "Out of memory.");
        startSession();  // the same tables again, for the line to run out of memory on
        const kx::test::TableSnapshot before = kx::test::snapshotOf(kx::symbolTables());
        const Reader reader;
        int failedCalls = 0;
        for (std::size_t successes = 0;; ++successes) {
            const std::string text = calcWithAllocationLimit(line, successes);
            if (refusedAllocations() == 0) {
                EXPECT_EQ(text, normal) << line.substr(0, 40);
                break;
            }
            ++failedCalls;
            EXPECT_EQ(text, "Out of memory.") << line.substr(0, 40) << " after " << successes;
            const auto after = kx::test::snapshotOf(kx::symbolTables());
            EXPECT_EQ(kx::test::explainTableDamage(before, after, false), std::nullopt)
                << line.substr(0, 40) << " after " << successes;
            EXPECT_EQ(calcText("a+b*c"), "2-1.5i") << "the next call, after " << successes;
        }
        EXPECT_GT(failedCalls, 0) << line.substr(0, 40) << " allocates nothing";
        EXPECT_EQ(reader.wrongTexts(), 0) << line.substr(0, 40) << ": the reader saw other values";
    }
}

TEST(OutOfMemoryLoadTest, a_load_that_runs_out_of_memory_leaves_empty_tables_and_a_later_load_works) {
    int refusedLoads = 0;
    for (std::size_t successes = 0;; ++successes) {
        failAllocationsAfter(successes);
        const bool loaded = notify(kx::LoaderReason::ProcessAttach);
        allowAllocations();
        if (loaded) break;
        ++refusedLoads;
        const kx::SymbolTables& tables = kx::symbolTables();
        EXPECT_EQ(tables.constants.size() + tables.variables.size() + tables.functions.size() +
                      tables.operators.size(),
                  0u);
    }
    EXPECT_GT(refusedLoads, 3);
    EXPECT_EQ(calcText("pi*0+tol*1e10"), "1");
    notify(kx::LoaderReason::ProcessDetach);
}

}  // namespace
