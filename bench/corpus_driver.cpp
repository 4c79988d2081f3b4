// corpus_driver: every line of the corpus through kx_calc (or through the floor's work),
// a given number of passes, for instruction counts under valgrind's callgrind, which
// counts work rather than seconds, so the figures repeat on a busy machine:
//
//   valgrind --tool=callgrind --toggle-collect=calc_call corpus_driver [CORPUS] [PASSES]
//   valgrind --tool=callgrind --toggle-collect=floor_call corpus_driver --floor [CORPUS] [PASSES]
//
// Prints the number of calls made.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "bench_corpus.h"
#include "floor_work.h"
#include "kx_calc.h"

// One measured call, out of line so that callgrind counts the measured passes alone (and
// not the first pass, which settles the variables).
extern "C" __attribute__((noinline)) char* calc_call(char* buffer) { return kx_calc(buffer); }

// One line's floor work, out of line so that callgrind can count it alone.
extern "C" __attribute__((noinline)) double floor_call(const kx::bench::FloorLine* line, char* lineBuffer, char* out) {
    return kx::bench::floorWork(*line, lineBuffer, out);
}

int main(int argc, char** argv) {
    int first = 1;
    const bool floor = argc > 1 && std::string_view(argv[1]) == "--floor";
    if (floor) ++first;
    const std::string path = argc > first ? argv[first] : KX_BENCH_CORPUS;
    const int passes = argc > first + 1 ? std::atoi(argv[first + 1]) : 100;
    std::vector<std::string> lines;
    try {
        lines = kx::bench::allLines(kx::bench::loadCorpus(path));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "corpus_driver: %s\n", error.what());
        return 2;
    }
    std::size_t longest = 64;
    for (const std::string& line : lines) longest = std::max(longest, line.size() + 1);
    std::vector<char> buffer(longest);

    std::map<std::string, std::string> texts;  // one pass in file order settles the variables
    for (const std::string& line : lines) {
        std::memcpy(buffer.data(), line.c_str(), line.size() + 1);
        texts[line] = kx_calc(buffer.data());
    }
    const std::vector<kx::bench::FloorLine> floorLines = kx::bench::floorLines(lines, texts);

    long calls = 0;
    double sink = 0.0;
    char out[64];
    for (int pass = 0; pass < passes; ++pass) {
        for (std::size_t k = 0; k < lines.size(); ++k) {
            if (floor) {
                sink += floor_call(&floorLines[k], buffer.data(), out);
            } else {
                std::memcpy(buffer.data(), lines[k].c_str(), lines[k].size() + 1);
                calc_call(buffer.data());
            }
            ++calls;
        }
    }
    std::printf("%ld calls%s\n", calls, sink == 1.5 ? " " : "");
    return 0;
}
