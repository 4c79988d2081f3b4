// A call that assigns nothing allocates nothing: its stacks live inline, names are looked
// up as views, numbers are converted and the text written in place, and a fault becomes
// its message without an exception. The global allocation functions of this program are
// replaced by counting ones; they count only while a call is being measured, so the test
// framework's own allocations never show. Under a sanitizer, whose runtime owns malloc,
// only the C++ allocation functions are replaced (the library allocates only through them).
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "entry/calculate.h"
#include "tables/symbol_tables.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KX_REPLACES_MALLOC 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define KX_REPLACES_MALLOC 0
#endif
#endif
#ifndef KX_REPLACES_MALLOC
#define KX_REPLACES_MALLOC 1
#endif

#if KX_REPLACES_MALLOC
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
}
#endif

namespace {

std::atomic<bool> measuring{false};
std::atomic<long> allocations{0};

void noteAllocation() {
    if (measuring.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
}

void* rawAllocate(std::size_t size) {
#if KX_REPLACES_MALLOC
    return __libc_malloc(size == 0 ? 1 : size);
#else
    return std::malloc(size == 0 ? 1 : size);
#endif
}

void* allocateOrThrow(std::size_t size) {
    noteAllocation();
    if (void* pointer = rawAllocate(size)) return pointer;
    throw std::bad_alloc();
}

}  // namespace

#if KX_REPLACES_MALLOC
extern "C" void* malloc(std::size_t size) {
    noteAllocation();
    return __libc_malloc(size);
}
extern "C" void* calloc(std::size_t count, std::size_t size) {
    noteAllocation();
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* pointer, std::size_t size) {
    noteAllocation();
    return __libc_realloc(pointer, size);
}
#endif

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    noteAllocation();
    return rawAllocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    noteAllocation();
    return rawAllocate(size);
}
void operator delete(void* pointer) noexcept { std::free(pointer); }
void operator delete[](void* pointer) noexcept { std::free(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { std::free(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { std::free(pointer); }

namespace {

// The shipped tables, with the variables that the lines below read.
class AllocationTest : public ::testing::Test {
protected:
    AllocationTest() {
        kx::buildTables(tables_);
        for (const char* assignment : {"set x = 2+i", "set y = 3", "set rate = 0.05", "set r = 2.5"}) {
            run(assignment);
        }
    }

    // The allocations made by one call on the line, and the text it left.
    long allocationsOf(const std::string& line, std::string& text) {
        buffer_.assign(std::max<std::size_t>(64, line.size() + 1), '\0');
        std::copy(line.begin(), line.end(), buffer_.begin());
        allocations.store(0);
        measuring.store(true);
        kx::calculate(buffer_.data(), tables_);
        measuring.store(false);
        text = buffer_.data();
        return allocations.load();
    }

    std::string run(const std::string& line) {
        std::string text;
        allocationsOf(line, text);
        return text;
    }

    kx::SymbolTables tables_;
    std::vector<char> buffer_;
};

std::string repeated(std::string_view unit, int count) {
    std::string text;
    for (int k = 0; k < count; ++k) text += unit;
    return text;
}

// Lines for every path of a call that assigns nothing: each kind of token, brackets up to
// the stacks' inline depth, long lines, the number and formatting paths that fall back to
// the general conversions, and faults of every kind, with long rests of the line.
const std::vector<std::string>& linesThatAssignNothing() {
    static const std::vector<std::string> lines{
        "1+2",
        "2*sin(pi/6)",
        "(3+4*i)*(3-4*i)",
        "(1+2*i)/(3-i)",
        "x/(1-i)",
        "1000*(1+rate)^10",
        "pi*r^2",
        "sqrt(-4) + exp(1) - ln(2) * log(100) / abs(3+4*i)",
        "asinh(0.5)+acosh(2)+atanh(0.5)+sec 1+csc 1+cot 1",
        "sin(1.9824468191005438+3.2561911674763097e-09*i)",  // a part within 2^-52 ulp of a halfway point: on balls
        "[2]*{3}",
        "(1+2",
        "SIN(PI/3)",
        "foo+1",
        "tol*1e10",
        repeated("(", 30) + "1" + repeated(")", 30),
        repeated("-", 30) + "2",
        repeated("1+(", 15) + "1",
        repeated("(1.5+i)*2-.5+", 7000) + "1",
        "1d3+2.5D-1+1e3",
        std::string("1") + repeated("0", 200) + "d-200",
        "3.14159265358979323846264338327950288",
        "123456789012345678901234567890",
        "1e-310+1e309",
        "1e-400",
        "0.1+0.2",
        "1e15+1e-5*i",
        "2.000000000000005",
        "1/0",
        "7 % 3",
        "2 3",
        "2 (3)",
        "()",
        "2)",
        "2x",
        "*3",
        "2+",
        "-",
        "set = 5",
        "1.2.3",
        "2 " + repeated("7", 5000),
        "1+" + repeated("9", 300) + " 1",
        "set x 5",
    };
    return lines;
}

TEST_F(AllocationTest, calls_that_assign_nothing_allocate_nothing) {
    for (const std::string& line : linesThatAssignNothing()) {
        std::string text;
        EXPECT_EQ(allocationsOf(line, text), 0) << line.substr(0, 60) << " gave " << text;
    }
}

TEST_F(AllocationTest, no_line_of_the_benchmark_corpus_that_assigns_nothing_allocates) {
    std::ifstream corpus(KX_BENCH_CORPUS);
    ASSERT_TRUE(corpus) << KX_BENCH_CORPUS;
    int measured = 0;
    for (std::string line; std::getline(corpus, line);) {
        if (line.empty() || line.front() == '#') continue;
        std::string lowered = line;
        for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lowered.starts_with("set ") && lowered.find('=') != std::string::npos) {
            run(line);  // assignments set the variables later lines read
            continue;
        }
        std::string text;
        EXPECT_EQ(allocationsOf(line, text), 0) << line << " gave " << text;
        ++measured;
    }
    EXPECT_GT(measured, 200);
}

// A name that holds a value already is overwritten in place, so no number of assignments
// makes the memory grow.
TEST_F(AllocationTest, assignments_to_names_that_exist_allocate_nothing) {
    for (const char* line : {"set x = 5-i", "set rate = 0.07", "SET R = r*2", "set tol = 1e-12", "set y = tol"}) {
        std::string text;
        EXPECT_EQ(allocationsOf(line, text), 0) << line << " gave " << text;
    }
}

// The counter itself: lines that must reach the heap are seen to.
TEST_F(AllocationTest, lines_deeper_than_the_inline_stacks_are_counted) {
    std::string text;
    EXPECT_GT(allocationsOf(repeated("-", 100) + "2", text), 0);
    EXPECT_EQ(text, "2");
    EXPECT_GT(allocationsOf("set " + repeated("v", 40) + " = 1", text), 0);  // a new, long key
    EXPECT_EQ(text, "1");
}

}  // namespace
