// Time per call for lines of growing length: each family must grow linearly with the line
// (Google Benchmark fits the complexity; "BigO" near 1 per character and "RMS" small mean
// linear). Lines are evaluated in-process with tables of their own.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "entry/calculate.h"
#include "support/long_lines.h"
#include "tables/symbol_tables.h"

namespace {

using namespace kx::test::long_lines;

// Evaluates line once per iteration; the buffer is refilled outside the timing.
void timeLine(benchmark::State& state, const std::function<std::string(std::size_t)>& makeLine) {
    const std::size_t length = static_cast<std::size_t>(state.range(0));
    kx::SymbolTables tables;
    kx::buildTables(tables);
    const std::string line = makeLine(length);
    std::vector<char> buffer(std::max<std::size_t>(64, line.size() + 1));
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(buffer.data(), line.c_str(), line.size() + 1);
        state.ResumeTiming();
        kx::calculate(buffer.data(), tables);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetComplexityN(static_cast<std::int64_t>(line.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}

void sum(benchmark::State& state) { timeLine(state, [](std::size_t n) { return sumOfOnes(n / 2); }); }
void brackets(benchmark::State& state) { timeLine(state, [](std::size_t n) { return nestedBrackets(n / 2); }); }
void products(benchmark::State& state) { timeLine(state, [](std::size_t n) { return nestedProducts(n / 4); }); }
void signs(benchmark::State& state) { timeLine(state, prefixSigns); }
void name(benchmark::State& state) { timeLine(state, [](std::size_t n) { return joined({longName(n), "+1"}); }); }
void digits(benchmark::State& state) { timeLine(state, [](std::size_t n) { return repeated("7", n); }); }
void parseError(benchmark::State& state) {
    timeLine(state, [](std::size_t n) { return joined({"2 ", repeated("3", n)}); });
}

// Assigning the n-th variable: the table grows, so this one is n log n over a whole run; the
// time per assignment is reported against the number of variables already stored.
void variables(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        kx::SymbolTables tables;
        kx::buildTables(tables);
        std::vector<std::string> lines;
        for (std::size_t k = 0; k < count; ++k) {
            lines.push_back(joined({"set ", distinctName(k), " = 1"}));
            lines.back().resize(64);  // the buffer contract's minimum size
        }
        state.ResumeTiming();
        for (std::string& line : lines) kx::calculate(line.data(), tables);
        state.PauseTiming();
        lines.clear();
        state.ResumeTiming();
    }
    state.SetComplexityN(static_cast<std::int64_t>(count));
}

constexpr std::int64_t shortest = 1 << 14;
constexpr std::int64_t longest = 1 << 23;  // 8 MiB

}  // namespace

BENCHMARK(sum)->RangeMultiplier(4)->Range(shortest, longest)->Complexity(benchmark::oN);
BENCHMARK(brackets)->RangeMultiplier(4)->Range(shortest, longest)->Complexity(benchmark::oN);
BENCHMARK(products)->RangeMultiplier(4)->Range(shortest, longest)->Complexity(benchmark::oN);
BENCHMARK(signs)->RangeMultiplier(4)->Range(shortest, longest)->Complexity(benchmark::oN);
BENCHMARK(name)->RangeMultiplier(4)->Range(shortest, longest)->Complexity(benchmark::oN);
BENCHMARK(digits)->RangeMultiplier(4)->Range(shortest, longest)->Complexity(benchmark::oN);
BENCHMARK(parseError)->RangeMultiplier(4)->Range(shortest, longest)->Complexity(benchmark::oN);
BENCHMARK(variables)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity(benchmark::oNLogN);

BENCHMARK_MAIN();
