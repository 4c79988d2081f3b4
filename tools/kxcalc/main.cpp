// kxcalc: the calculator for people. Evaluates its arguments, or the lines of standard
// input, or runs an interactive session on a terminal.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "history_file.h"
#include "interactive_session.h"
#include "line_reader.h"
#include "name_completer.h"
#include "session.h"
#include "terminal_style.h"

namespace {

constexpr int exitAllResults = 0;
constexpr int exitSomeMessage = 1;
constexpr int exitUsage = 2;

constexpr std::string_view usageText =
    "Usage: kxcalc [EXPRESSION]...\n"
    "       kxcalc --help | --version\n"
    "\n"
    "Evaluates each EXPRESSION over the complex numbers and prints one answer per line.\n"
    "With no EXPRESSION, reads lines from standard input and prints one answer per line;\n"
    "on a terminal it runs an interactive session (type help there for the language).\n"
    "A line \"set NAME = EXPRESSION\" stores a variable for the rest of the session.\n"
    "Use -- before an expression that begins with two minus signs and a letter.\n"
    "\n"
    "Exit status: 0 if every line gave a result, 1 if any gave an error message,\n"
    "2 for a usage error.\n";

int exitStatus(bool allResults) { return allResults ? exitAllResults : exitSomeMessage; }

// Messages are coloured when standard output is a terminal that takes colour; the text of
// every answer is otherwise exactly the library's.
kxcalc::MessageStyle outputStyle() {
    const bool colour = kxcalc::colourWanted(isatty(STDOUT_FILENO) != 0, std::getenv("NO_COLOR"),
                                             std::getenv("TERM"));
    return colour ? kxcalc::MessageStyle::colour : kxcalc::MessageStyle::plain;
}

bool answer(std::string_view line, kxcalc::MessageStyle style) {
    const kxcalc::Answer reply = kxcalc::evaluateLine(line);
    std::cout << kxcalc::styledAnswer(reply.text, reply.isMessage, style) << '\n';
    return !reply.isMessage;
}

int evaluateArguments(const std::vector<std::string_view>& expressions) {
    const kxcalc::MessageStyle style = outputStyle();
    bool allResults = true;
    for (std::string_view expression : expressions) allResults &= answer(expression, style);
    return exitStatus(allResults);
}

// A filter: exactly one line out for every line in, messages included, in order, so that a
// script can pair answers with lines. Words such as help and quit are lines like any other.
int evaluateStream(std::istream& input) {
    const kxcalc::MessageStyle style = outputStyle();
    const bool someoneWatches = isatty(STDIN_FILENO) != 0 || isatty(STDOUT_FILENO) != 0;
    bool allResults = true;
    for (std::string line; std::getline(input, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        allResults &= answer(line, style);
        if (someoneWatches) std::cout.flush();  // an answer as soon as its line is typed
    }
    return exitStatus(allResults);
}

int runInteractive() {
    const kxcalc::MessageStyle style =
        outputStyle() == kxcalc::MessageStyle::colour ? kxcalc::MessageStyle::colour : kxcalc::MessageStyle::marked;
    kxcalc::NameCompleter completer;
    auto reader = kxcalc::makeTerminalReader(
        completer, kxcalc::historyFilePath(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")));
    std::cout << "kxcalc " KXCALC_VERSION ": type help for the language, quit or Ctrl-D to leave.\n" << std::flush;
    return exitStatus(kxcalc::runInteractiveSession(*reader, completer, std::cout, style));
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
    if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) return runInteractive();
    return evaluateStream(std::cin);
}
