#include "interactive_session.h"

#include <algorithm>
#include <string>

#include "help_text.h"
#include "session.h"

namespace kxcalc {

namespace {

constexpr const char* prompt = "kx> ";

enum class Command { none, help, leave };

// A command is a whole line, blanks around it and case aside.
Command commandOf(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) return Command::none;
    std::string word(line.substr(first, line.find_last_not_of(" \t") + 1 - first));
    std::transform(word.begin(), word.end(), word.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    if (word == "help" || word == "?") return Command::help;
    if (word == "quit" || word == "exit") return Command::leave;
    return Command::none;
}

bool isBlankLine(std::string_view line) { return line.find_first_not_of(" \t\r") == std::string_view::npos; }

}  // namespace

bool runInteractiveSession(LineReader& reader, NameCompleter& completer, std::ostream& out,
                           MessageStyle style) {
    bool allResults = true;
    while (std::optional<std::string> line = reader.readLine(prompt)) {
        if (isBlankLine(*line)) continue;
        reader.remember(*line);
        const Command command = commandOf(*line);
        if (command == Command::leave) return allResults;
        if (command == Command::help) {
            out << helpText << (reader.edits() ? editingHelpText : "") << leavingHelpText << std::flush;
            continue;
        }
        const Answer reply = evaluateLine(*line);
        completer.noteLine(*line, reply.isMessage);
        out << styledAnswer(reply.text, reply.isMessage, style) << '\n' << std::flush;
        allResults &= !reply.isMessage;
    }
    out << '\n';  // leave the shell's prompt on a line of its own after Ctrl-D
    return allResults;
}

}  // namespace kxcalc
