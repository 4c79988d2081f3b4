// corpus_driver: every line of the corpus through kx_calc, a given number of passes, for
// instruction counts under valgrind's callgrind (which counts work, not seconds, so the
// figures repeat on a busy machine):
//
//   valgrind --tool=callgrind --toggle-collect=kx_calc corpus_driver [CORPUS] [PASSES]
//
// Prints the number of calls made.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "bench_corpus.h"
#include "kx_calc.h"

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : KX_BENCH_CORPUS;
    const int passes = argc > 2 ? std::atoi(argv[2]) : 100;
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
    long calls = 0;
    for (int pass = 0; pass < passes; ++pass) {
        for (const std::string& line : lines) {
            std::memcpy(buffer.data(), line.c_str(), line.size() + 1);
            kx_calc(buffer.data());
            ++calls;
        }
    }
    std::printf("%ld calls\n", calls);
    return 0;
}
