// threads_bench: how kx_calc's throughput grows with threads. Lines per second over the
// benchmark corpus (its assignments included) in three configurations:
//   one         one thread;
//   two         two threads at once, each going through the whole corpus;
//   two+assign  the same two, while a third thread assigns variables 10,000 times a second
//               (the corpus's own assignment lines, in turn, at a fixed pace).
// The configurations run in turn, one after another, for a number of rounds, so that a
// change in the machine's load falls on all of them alike; each keeps its best and median
// round, and the ratios to one thread are printed at the end.
//
// Wall-clock lines per second tell the scaling only when the machine has a core free for
// every thread. On a shared machine the CPU-time figure tells more: each evaluating
// thread's lines divided by the CPU time that thread got, summed over the threads. It is
// what the threads would reach with a core each, and falls below twice one thread's only
// when the threads slow each other down (a shared lock or counter, cache lines that move
// between cores).
//
//   threads_bench [--corpus=PATH] [--seconds=S per run, default 1] [--rounds=N, default 5]
//                 [--tick-us=T: the assigning thread wakes every T microseconds, default 1000]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include <time.h>

#include "bench_corpus.h"
#include "kx_calc.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t minimumBuffer = 64;
constexpr double assignmentsPerSecond = 10'000;

struct Options {
    std::string corpus = KX_BENCH_CORPUS;
    double seconds = 1.0;
    int rounds = 5;
    std::chrono::microseconds tick{1000};
};

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (arg.starts_with("--corpus=")) {
            options.corpus = std::string(arg.substr(9));
        } else if (arg.starts_with("--seconds=")) {
            options.seconds = std::stod(std::string(arg.substr(10)));
        } else if (arg.starts_with("--tick-us=")) {
            options.tick = std::chrono::microseconds(std::stol(std::string(arg.substr(10))));
        } else if (arg.starts_with("--rounds=")) {
            options.rounds = std::stoi(std::string(arg.substr(9)));
        } else {
            throw std::invalid_argument("unknown option " + std::string(arg));
        }
    }
    return options;
}

// The CPU time that the calling thread has used, in seconds.
double threadCpuSeconds() {
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

struct Work {
    long lines = 0;
    double cpuSeconds = 0;
};

// Whole passes over the corpus until told to stop; the number of lines done.
long evaluateUntil(const std::vector<std::string>& lines, const std::atomic<bool>& stop) {
    std::size_t longest = 0;
    for (const std::string& line : lines) longest = std::max(longest, line.size());
    std::vector<char> buffer(std::max(minimumBuffer, longest + 1));
    long done = 0;
    while (!stop.load(std::memory_order_relaxed)) {
        for (const std::string& line : lines) {
            std::memcpy(buffer.data(), line.c_str(), line.size() + 1);
            kx_calc(buffer.data());
        }
        done += static_cast<long>(lines.size());
    }
    return done;
}

// The assignment lines in turn on a fixed schedule, woken once per tick for the
// assignments due by then (a wake-up per assignment would measure the scheduler rather
// than the library); the number made.
long assignUntil(const std::vector<std::string>& assignments, const std::atomic<bool>& stop,
                 std::chrono::microseconds tick) {
    const auto interval = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / assignmentsPerSecond));
    char buffer[minimumBuffer];
    long made = 0;
    auto due = Clock::now();
    while (!stop.load(std::memory_order_relaxed)) {
        std::this_thread::sleep_for(tick);
        for (const auto now = Clock::now(); due <= now; due += interval) {
            const std::string& line = assignments[static_cast<std::size_t>(made) % assignments.size()];
            std::memcpy(buffer, line.c_str(), line.size() + 1);
            kx_calc(buffer);
            ++made;
        }
    }
    return made;
}

struct RunResult {
    double linesPerSecond;
    double linesPerCpuSecond;  // summed over the evaluating threads
    double assignmentsPerSecond;
};

RunResult runConfiguration(const std::vector<std::string>& lines, const std::vector<std::string>& assignments,
                           int evaluators, bool withAssigner, double seconds, std::chrono::microseconds tick) {
    std::atomic<bool> stop{false};
    std::vector<Work> done(static_cast<std::size_t>(evaluators));
    long assigned = 0;
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    for (int k = 0; k < evaluators; ++k) {
        threads.emplace_back([&, k] {
            const double cpuStart = threadCpuSeconds();
            Work& work = done[static_cast<std::size_t>(k)];
            work.lines = evaluateUntil(lines, stop);
            work.cpuSeconds = threadCpuSeconds() - cpuStart;
        });
    }
    if (withAssigner) threads.emplace_back([&] { assigned = assignUntil(assignments, stop, tick); });
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    stop.store(true);
    for (std::thread& thread : threads) thread.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    long total = 0;
    double perCpuSecond = 0;
    for (const Work& work : done) {
        total += work.lines;
        perCpuSecond += static_cast<double>(work.lines) / work.cpuSeconds;
    }
    return {static_cast<double>(total) / elapsed, perCpuSecond, static_cast<double>(assigned) / elapsed};
}

struct Configuration {
    const char* name;
    int evaluators;
    bool withAssigner;
    std::vector<double> linesPerSecond;
    std::vector<double> linesPerCpuSecond;
    std::vector<double> assignmentsPerSecond;
};

double best(const std::vector<double>& values) { return *std::max_element(values.begin(), values.end()); }

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::vector<std::string> lines;
    try {
        options = parseOptions(argc, argv);
        lines = kx::bench::allLines(kx::bench::loadCorpus(options.corpus));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "threads_bench: %s\n", error.what());
        return 2;
    }
    std::vector<std::string> assignments;
    for (const std::string& line : lines) {
        std::string lowered = line;
        for (char& c : lowered) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (lowered.starts_with("set ") && lowered.find('=') != std::string::npos) assignments.push_back(line);
    }
    if (assignments.empty()) assignments.push_back("set x = 2+i");
    std::printf("corpus %s: %zu lines (%zu assign); %d rounds of %.1f s per configuration; assigner tick %ld us; "
                "%u hardware threads\n",
                options.corpus.c_str(), lines.size(), assignments.size(), options.rounds, options.seconds,
                static_cast<long>(options.tick.count()), std::thread::hardware_concurrency());
    for (const std::string& line : lines) {  // one pass settles the variables
        std::vector<char> buffer(std::max(minimumBuffer, line.size() + 1));
        std::memcpy(buffer.data(), line.c_str(), line.size() + 1);
        kx_calc(buffer.data());
    }

    Configuration configurations[] = {{"one", 1, false, {}, {}, {}}, {"two", 2, false, {}, {}, {}},
                                      {"two+assign", 2, true, {}, {}, {}}};
    for (int round = 0; round < options.rounds; ++round) {
        for (Configuration& configuration : configurations) {
            const RunResult result = runConfiguration(lines, assignments, configuration.evaluators,
                                                      configuration.withAssigner, options.seconds, options.tick);
            configuration.linesPerSecond.push_back(result.linesPerSecond);
            configuration.linesPerCpuSecond.push_back(result.linesPerCpuSecond);
            configuration.assignmentsPerSecond.push_back(result.assignmentsPerSecond);
            std::printf("round %d %-11s %12.0f lines/s %12.0f lines/CPU-s", round + 1, configuration.name,
                        result.linesPerSecond, result.linesPerCpuSecond);
            if (configuration.withAssigner) std::printf("  %8.0f assignments/s", result.assignmentsPerSecond);
            std::printf("\n");
            std::fflush(stdout);
        }
    }

    const Configuration& one = configurations[0];
    for (const auto& [title, series] : {std::pair{"wall clock, lines/s", &Configuration::linesPerSecond},
                                        std::pair{"CPU time, lines per CPU-second of each thread, summed", &Configuration::linesPerCpuSecond}}) {
        std::printf("\n%s\n%-11s %14s %14s %10s %10s\n", title, "threads", "best", "median", "best/one", "median/one");
        for (const Configuration& configuration : configurations) {
            const std::vector<double>& values = configuration.*series;
            const std::vector<double>& ones = one.*series;
            std::printf("%-11s %14.0f %14.0f %10.2f %10.2f\n", configuration.name, best(values), median(values),
                        best(values) / best(ones), median(values) / median(ones));
        }
    }
    std::printf("assigning thread: median %.0f assignments/s\n", median(configurations[2].assignmentsPerSecond));
    return 0;
}
