// Loads and unloads the shared library again and again, as a host that opens it for a while
// would: every load must start from the initial tables (no variable survives a dlclose), and
// the cycles must leak nothing (run under valgrind by tests/valgrind/run_memcheck.sh).
//
// Usage: dlopen_cycle LIBRARY [CYCLES]
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using CalcFunction = char* (*)(char*);

struct Exchange {
    const char* line;
    const char* expected;
};

// A fresh load knows no x and has tol at 1e-10; then x is set and used.
constexpr Exchange session[] = {
    {"x", "Ran Out of Data"},
    {"tol*1e10", "1"},
    {"set x = 2+i", "2+i"},
    {"x*x", "3+4i"},
    {"2 (3)", "Syntax error: ("},
    {"1 234567890123456789012345678901234567890123456789012345678901234567890",
     "Parse Error: 23456789012345678901234567890123456789012345678901"},
    {"set tol = 1", "1"},
    {"0.5+0.5*i", "0"},
};

std::string call(CalcFunction calc, const char* line) {
    const std::string text = line;
    std::vector<char> buffer(std::max<std::size_t>(64, text.size() + 1), '\0');
    std::copy(text.begin(), text.end(), buffer.begin());
    return calc(buffer.data());
}

// Runs the session on one fresh load; returns the number of wrong texts.
int runOneLoad(const char* library, int cycle) {
    void* handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        std::fprintf(stderr, "cycle %d: dlopen failed: %s\n", cycle, dlerror());
        return 1;
    }
    auto calc = reinterpret_cast<CalcFunction>(dlsym(handle, "kx_calc"));
    int wrong = 0;
    if (calc == nullptr) {
        std::fprintf(stderr, "cycle %d: no kx_calc in %s\n", cycle, library);
        wrong = 1;
    } else {
        for (const Exchange& exchange : session) {
            const std::string text = call(calc, exchange.line);
            if (text == exchange.expected) continue;
            std::fprintf(stderr, "cycle %d: %s gave \"%s\", expected \"%s\"\n", cycle, exchange.line,
                         text.c_str(), exchange.expected);
            ++wrong;
        }
    }
    if (dlclose(handle) != 0) {
        std::fprintf(stderr, "cycle %d: dlclose failed: %s\n", cycle, dlerror());
        ++wrong;
    }
    return wrong;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s LIBRARY [CYCLES]\n", argv[0]);
        return 2;
    }
    const int cycles = argc > 2 ? std::atoi(argv[2]) : 20;
    int wrong = 0;
    for (int cycle = 0; cycle < cycles; ++cycle) wrong += runOneLoad(argv[1], cycle);
    std::printf("%d load cycles, %d wrong texts\n", cycles, wrong);
    return wrong == 0 ? 0 : 1;
}
