// kxcalc: the calculator for people. Evaluates its arguments, or the lines of standard
// input, or runs an interactive session on a terminal.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "session.h"

#if defined(KXCALC_HAVE_READLINE)
#include <readline/history.h>
#include <readline/readline.h>
#endif

namespace {

constexpr int exitAllResults = 0;
constexpr int exitSomeMessage = 1;
constexpr int exitUsage = 2;

constexpr std::string_view usageText =
    "Usage: kxcalc [EXPRESSION]...\n"
    "       kxcalc --help | --version\n"
    "\n"
    "Evaluates each EXPRESSION over the complex numbers and prints one answer per line.\n"
    "With no EXPRESSION, reads lines from standard input (interactively on a terminal).\n"
    "A line \"set NAME = EXPRESSION\" stores a variable for the rest of the session.\n"
    "Use -- before an expression that begins with two minus signs and a letter.\n"
    "\n"
    "Exit status: 0 if every line gave a result, 1 if any gave an error message,\n"
    "2 for a usage error.\n";

// Prints the answer to one line; returns whether it was a result.
bool answer(std::string_view line) {
    const kxcalc::Answer reply = kxcalc::evaluateLine(line);
    std::cout << reply.text << '\n';
    return !reply.isMessage;
}

int evaluateArguments(const std::vector<std::string_view>& expressions) {
    bool allResults = true;
    for (std::string_view expression : expressions) allResults &= answer(expression);
    return allResults ? exitAllResults : exitSomeMessage;
}

int evaluateStream(std::istream& input) {
    bool allResults = true;
    for (std::string line; std::getline(input, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        allResults &= answer(line);
    }
    return allResults ? exitAllResults : exitSomeMessage;
}

int runInteractive() {
#if defined(KXCALC_HAVE_READLINE)
    bool allResults = true;
    while (char* raw = readline("kx> ")) {
        const std::string line = raw;
        std::free(raw);
        if (line == "quit" || line == "exit") break;
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        add_history(line.c_str());
        allResults &= answer(line);
        std::cout.flush();
    }
    return allResults ? exitAllResults : exitSomeMessage;
#else
    return evaluateStream(std::cin);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> expressions;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            std::cout << usageText;
            return exitAllResults;
        } else if (!optionsEnded && arg == "--version") {
            std::cout << "kxcalc " KXCALC_VERSION "\n";
            return exitAllResults;
        } else if (!optionsEnded && arg.size() > 2 && arg.starts_with("--") &&
                   ((arg[2] >= 'a' && arg[2] <= 'z') || (arg[2] >= 'A' && arg[2] <= 'Z'))) {
            std::cerr << "kxcalc: unknown option '" << arg << "'\n" << usageText;
            return exitUsage;
        } else {
            expressions.push_back(arg);
        }
    }
    if (!expressions.empty()) return evaluateArguments(expressions);
    if (isatty(STDIN_FILENO)) return runInteractive();
    return evaluateStream(std::cin);
}
