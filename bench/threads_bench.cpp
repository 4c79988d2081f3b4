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
//   threads_bench [--corpus=PATH] [--seconds=S per run, default 1] [--rounds=N, default 5]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

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
};

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (arg.starts_with("--corpus=")) {
            options.corpus = std::string(arg.substr(9));
        } else if (arg.starts_with("--seconds=")) {
            options.seconds = std::stod(std::string(arg.substr(10)));
        } else if (arg.starts_with("--rounds=")) {
            options.rounds = std::stoi(std::string(arg.substr(9)));
        } else {
            throw std::invalid_argument("unknown option " + std::string(arg));
        }
    }
    return options;
}

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

// The assignment lines in turn, each at its time on a fixed schedule; the number made.
long assignUntil(const std::vector<std::string>& assignments, const std::atomic<bool>& stop) {
    const auto interval = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / assignmentsPerSecond));
    char buffer[minimumBuffer];
    long made = 0;
    auto due = Clock::now();
    while (!stop.load(std::memory_order_relaxed)) {
        std::this_thread::sleep_until(due);
        for (const auto now = Clock::now(); due <= now; due += interval) {  // catch up after a late wake-up
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
    double assignmentsPerSecond;
};

RunResult runConfiguration(const std::vector<std::string>& lines, const std::vector<std::string>& assignments,
                           int evaluators, bool withAssigner, double seconds) {
    std::atomic<bool> stop{false};
    std::vector<long> done(static_cast<std::size_t>(evaluators), 0);
    long assigned = 0;
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    for (int k = 0; k < evaluators; ++k) {
        threads.emplace_back([&, k] { done[static_cast<std::size_t>(k)] = evaluateUntil(lines, stop); });
    }
    if (withAssigner) threads.emplace_back([&] { assigned = assignUntil(assignments, stop); });
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    stop.store(true);
    for (std::thread& thread : threads) thread.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    long total = 0;
    for (const long count : done) total += count;
    return {static_cast<double>(total) / elapsed, static_cast<double>(assigned) / elapsed};
}

struct Configuration {
    const char* name;
    int evaluators;
    bool withAssigner;
    std::vector<double> linesPerSecond;
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
    std::printf("corpus %s: %zu lines (%zu assign); %d rounds of %.1f s per configuration; %u hardware threads\n",
                options.corpus.c_str(), lines.size(), assignments.size(), options.rounds, options.seconds,
                std::thread::hardware_concurrency());
    for (const std::string& line : lines) {  // one pass settles the variables
        std::vector<char> buffer(std::max(minimumBuffer, line.size() + 1));
        std::memcpy(buffer.data(), line.c_str(), line.size() + 1);
        kx_calc(buffer.data());
    }

    Configuration configurations[] = {{"one", 1, false, {}, {}}, {"two", 2, false, {}, {}}, {"two+assign", 2, true, {}, {}}};
    for (int round = 0; round < options.rounds; ++round) {
        for (Configuration& configuration : configurations) {
            const RunResult result = runConfiguration(lines, assignments, configuration.evaluators,
                                                      configuration.withAssigner, options.seconds);
            configuration.linesPerSecond.push_back(result.linesPerSecond);
            configuration.assignmentsPerSecond.push_back(result.assignmentsPerSecond);
            std::printf("round %d %-11s %12.0f lines/s", round + 1, configuration.name, result.linesPerSecond);
            if (configuration.withAssigner) std::printf("  %8.0f assignments/s", result.assignmentsPerSecond);
            std::printf("\n");
            std::fflush(stdout);
        }
    }

    const Configuration& one = configurations[0];
    std::printf("\n%-11s %14s %14s %10s %10s\n", "threads", "best lines/s", "median", "best/one", "median/one");
    for (const Configuration& configuration : configurations) {
        std::printf("%-11s %14.0f %14.0f %10.2f %10.2f\n", configuration.name, best(configuration.linesPerSecond),
                    median(configuration.linesPerSecond), best(configuration.linesPerSecond) / best(one.linesPerSecond),
                    median(configuration.linesPerSecond) / median(one.linesPerSecond));
    }
    std::printf("assigning thread: median %.0f assignments/s\n", median(configurations[2].assignmentsPerSecond));
    return 0;
}
