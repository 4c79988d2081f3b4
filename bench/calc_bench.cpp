// calc_bench: the cost of one kx_calc call, line by line over a corpus of typed lines,
// set against two yardsticks measured in the same run:
//   floor      converting the line's number literals with std::from_chars and writing one
//              result with std::to_chars (general, 15 digits): the least work a line needs;
//   muparserx  a general expression parser, given the same lines one by one in its own
//              syntax (only when it is installed; the lines it rejects are counted and left
//              out of that comparison).
// Every call copies the line into the buffer first, as a host must, since the result
// overwrites it; the floor and the peer copy it too. A summary of ns per line, lines per
// second and the ratios follows the usual benchmark table; the best repetition counts.
//
//   calc_bench [--corpus=PATH] [benchmark options, e.g. --benchmark_repetitions=5]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "bench_corpus.h"
#include "floor_work.h"
#include "kx_calc.h"
#include "message_text.h"
#include "peer_syntax.h"

#ifdef KXCALC_HAVE_MUPARSERX
#include "muparserx_peer.h"
#endif

namespace {

using kx::bench::CorpusGroup;
using kx::bench::FloorLine;
using kx::bench::isMessage;

constexpr std::size_t minimumBuffer = 64;

// A buffer large enough for every line given and for any result or message.
std::vector<char> bufferFor(const std::vector<std::string>& lines) {
    std::size_t longest = 0;
    for (const std::string& line : lines) longest = std::max(longest, line.size());
    return std::vector<char>(std::max(minimumBuffer, longest + 1));
}

// The text kx_calc leaves for a line (and the assignment it makes, if any).
std::string calculateOnce(const std::string& line) {
    std::vector<char> buffer = bufferFor({line});
    std::memcpy(buffer.data(), line.c_str(), line.size() + 1);
    return kx_calc(buffer.data());
}

// Units of work per iteration of each benchmark (lines, or characters for the length
// runs), so that the summary can give per-unit figures.
std::map<std::string, double>& unitsPerIteration() {
    static std::map<std::string, double> units;
    return units;
}

void registerCalculator(const std::string& name, std::vector<std::string> lines) {
    unitsPerIteration()[name] = static_cast<double>(lines.size());
    benchmark::RegisterBenchmark(name.c_str(), [lines = std::move(lines)](benchmark::State& state) {
        std::vector<char> buffer = bufferFor(lines);
        for (auto _ : state) {
            for (const std::string& line : lines) {
                std::memcpy(buffer.data(), line.c_str(), line.size() + 1);
                benchmark::DoNotOptimize(kx_calc(buffer.data()));
            }
        }
        state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines.size()),
                                                       benchmark::Counter::kIsIterationInvariantRate);
    });
}

void registerFloor(const std::string& name, std::vector<FloorLine> lines) {
    unitsPerIteration()[name] = static_cast<double>(lines.size());
    benchmark::RegisterBenchmark(name.c_str(), [lines = std::move(lines)](benchmark::State& state) {
        char buffer[minimumBuffer];
        std::vector<std::string> texts;
        for (const FloorLine& line : lines) texts.push_back(line.text);
        std::vector<char> lineBuffer = bufferFor(texts);
        for (auto _ : state) {
            for (const FloorLine& line : lines) {
                benchmark::DoNotOptimize(kx::bench::floorWork(line, lineBuffer.data(), buffer));
                benchmark::DoNotOptimize(buffer);
            }
        }
        state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines.size()),
                                                       benchmark::Counter::kIsIterationInvariantRate);
    });
}

// A line of about `length` characters: a left-associative chain of complex terms, so
// the stacks stay shallow however long the line is.
std::string lineOfLength(std::size_t length) {
    constexpr std::string_view unit = "(1.5+i)*2-.5+";
    const std::size_t units = std::max<std::size_t>(1, (length + unit.size() / 2) / unit.size());
    std::string line;
    line.reserve(units * unit.size());
    for (std::size_t k = 0; k < units; ++k) line += unit;
    line.pop_back();  // the last "+"
    return line;
}

void registerLengthRuns() {
    for (const std::size_t length : {std::size_t{10}, std::size_t{1000}, std::size_t{100000}, std::size_t{10000000}}) {
        const std::string line = lineOfLength(length);
        const std::string name = "kxcalc/length:" + std::to_string(length);
        unitsPerIteration()[name] = static_cast<double>(line.size());
        benchmark::RegisterBenchmark(name.c_str(), [line](benchmark::State& state) {
            std::vector<char> buffer = bufferFor({line});
            for (auto _ : state) {
                std::memcpy(buffer.data(), line.c_str(), line.size() + 1);
                benchmark::DoNotOptimize(kx_calc(buffer.data()));
            }
            state.counters["chars/s"] = benchmark::Counter(static_cast<double>(line.size()),
                                                           benchmark::Counter::kIsIterationInvariantRate);
        });
    }
}

// Which lines a comparison with the peer can use, and why the others are left out.
struct PeerSelection {
    std::vector<std::string> lines;          // in the calculator's syntax
    std::vector<std::string> peerLines;      // the same lines in the peer's syntax
    std::vector<std::string> assignedNames;  // variables the peer must know
    int untranslatable = 0;
    int rejectedByPeer = 0;
    int messagesHere = 0;  // lines that give a message here: no result to compare
};

#ifdef KXCALC_HAVE_MUPARSERX

PeerSelection selectPeerLines(const std::vector<std::string>& lines, const std::map<std::string, std::string>& texts,
                              kx::bench::MuparserxPeer& peer) {
    PeerSelection selection;
    std::vector<std::optional<kx::bench::PeerLine>> translated;
    for (const std::string& line : lines) {
        translated.push_back(kx::bench::translateForPeer(line));
        if (translated.back() && !translated.back()->assignedName.empty()) {
            peer.defineVariable(translated.back()->assignedName);
        }
    }
    char out[minimumBuffer];
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (isMessage(texts.at(lines[k]))) {
            ++selection.messagesHere;
        } else if (!translated[k]) {
            ++selection.untranslatable;
        } else if (!peer.calculate(translated[k]->expression, out)) {
            ++selection.rejectedByPeer;
        } else {
            selection.lines.push_back(lines[k]);
            selection.peerLines.push_back(translated[k]->expression);
        }
    }
    return selection;
}

void registerPeer(const std::string& name, std::vector<std::string> lines, kx::bench::MuparserxPeer& peer) {
    unitsPerIteration()[name] = static_cast<double>(lines.size());
    benchmark::RegisterBenchmark(name.c_str(), [lines = std::move(lines), &peer](benchmark::State& state) {
        std::vector<char> copy = bufferFor(lines);
        char out[minimumBuffer];
        for (auto _ : state) {
            for (const std::string& line : lines) {
                std::memcpy(copy.data(), line.c_str(), line.size() + 1);  // the host's copy, as for kx_calc
                benchmark::DoNotOptimize(copy.data());
                benchmark::DoNotOptimize(peer.calculate(line, out));
            }
        }
        state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines.size()),
                                                       benchmark::Counter::kIsIterationInvariantRate);
    });
}

#endif

// The console table as usual, and the best time per iteration of every benchmark kept.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
            const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            auto [it, added] = best_.try_emplace(run.benchmark_name(), seconds);
            if (!added) it->second = std::min(it->second, seconds);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Nanoseconds per unit (line or character), or a negative value when not measured.
    double nanosecondsPerUnit(const std::string& name) const {
        const auto it = best_.find(name);
        if (it == best_.end()) return -1.0;
        return it->second * 1e9 / unitsPerIteration().at(name);
    }

private:
    std::map<std::string, double> best_;
};

void printSummary(const SummaryReporter& reporter, const std::vector<std::string>& groupNames, bool peerMeasured) {
    std::printf("\nPer line, best repetition (ns/line; lines/s; ratio to the floor%s)\n",
                peerMeasured ? "; peer over the lines it evaluates" : "");
    std::printf("%-10s %10s %12s %10s %7s", "group", "kxcalc", "lines/s", "floor", "x floor");
    if (peerMeasured) std::printf(" %10s %10s %8s", "kx(peer)", "muparserx", "peer/kx");
    std::printf("\n");
    for (const std::string& group : groupNames) {
        const double calc = reporter.nanosecondsPerUnit("kxcalc/" + group);
        const double floor = reporter.nanosecondsPerUnit("floor/" + group);
        if (calc < 0 || floor < 0) continue;
        std::printf("%-10s %10.1f %12.0f %10.1f %7.2f", group.c_str(), calc, 1e9 / calc, floor, calc / floor);
        if (peerMeasured) {
            const double calcOnPeerLines = reporter.nanosecondsPerUnit("kxcalc-peer-lines/" + group);
            const double peer = reporter.nanosecondsPerUnit("muparserx/" + group);
            if (calcOnPeerLines > 0 && peer > 0) {
                std::printf(" %10.1f %10.1f %8.1f", calcOnPeerLines, peer, peer / calcOnPeerLines);
            }
        }
        std::printf("\n");
    }
    std::vector<double> perChar;
    for (const char* length : {"10", "1000", "100000", "10000000"}) {
        const std::string name = std::string("kxcalc/length:") + length;
        const double ns = reporter.nanosecondsPerUnit(name);
        if (ns > 0) {
            std::printf("length %-9s %8.2f ns/char (a line of %.0f characters)\n", length, ns, unitsPerIteration().at(name));
            perChar.push_back(ns);
        }
    }
    if (perChar.size() > 1) {
        const auto [low, high] = std::minmax_element(perChar.begin(), perChar.end());
        std::printf("ns/char spread (highest / lowest): %.2f\n", *high / *low);
    }
}

std::string takeCorpusOption(int& argc, char** argv) {
    std::string path = KX_BENCH_CORPUS;
    constexpr std::string_view option = "--corpus=";
    int kept = 1;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (arg.starts_with(option)) {
            path = std::string(arg.substr(option.size()));
        } else {
            argv[kept++] = argv[k];
        }
    }
    argc = kept;
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string corpusPath = takeCorpusOption(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;

    std::vector<CorpusGroup> groups;
    try {
        groups = kx::bench::loadCorpus(corpusPath);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "calc_bench: %s\n", error.what());
        return 2;
    }
    groups.insert(groups.begin(), CorpusGroup{"all", kx::bench::allLines(groups)});

    // One pass in file order settles the variables and gives every line's text.
    std::map<std::string, std::string> texts;
    int messageLines = 0;
    for (const std::string& line : groups.front().lines) {
        texts[line] = calculateOnce(line);
        messageLines += isMessage(texts[line]) ? 1 : 0;
    }
    std::printf("corpus %s: %zu lines in %zu groups, %d give a message\n", corpusPath.c_str(),
                groups.front().lines.size(), groups.size() - 1, messageLines);

    std::vector<std::string> groupNames;
    for (const CorpusGroup& group : groups) {
        groupNames.push_back(group.name);
        registerCalculator("kxcalc/" + group.name, group.lines);
        registerFloor("floor/" + group.name, kx::bench::floorLines(group.lines, texts));
    }
    registerLengthRuns();

    bool peerMeasured = false;
#ifdef KXCALC_HAVE_MUPARSERX
    kx::bench::MuparserxPeer peer;
    for (const CorpusGroup& group : groups) {
        PeerSelection selection = selectPeerLines(group.lines, texts, peer);
        if (group.name == "all") {
            std::printf("muparserx: compared on %zu lines; left out: %d that give a message here, %d it cannot be "
                        "given, %d it rejects\n",
                        selection.lines.size(), selection.messagesHere, selection.untranslatable,
                        selection.rejectedByPeer);
        }
        if (selection.lines.empty()) continue;
        registerCalculator("kxcalc-peer-lines/" + group.name, std::move(selection.lines));
        registerPeer("muparserx/" + group.name, std::move(selection.peerLines), peer);
    }
    peerMeasured = true;
#else
    std::printf("muparserx: not installed, the peer comparison is skipped (bench/run.sh installs it)\n");
#endif

    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printSummary(reporter, groupNames, peerMeasured);
    benchmark::Shutdown();
    return 0;
}
