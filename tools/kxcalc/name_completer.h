// Tab completion for the interactive host: the functions, the constants, "tol" and every
// variable this session has assigned with "set".
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kxcalc {

class NameCompleter {
public:
    // Records the variable that a line assigned. `answerIsMessage` tells whether the library
    // answered with a message, in which case nothing was stored. Only names that are a run of
    // letters are kept: the calculator stores other names but can never read them back.
    void noteLine(std::string_view line, bool answerIsMessage);

    // Every known name that begins with `prefix` (ignoring case), in lower case, sorted,
    // each once.
    std::vector<std::string> candidates(std::string_view prefix) const;

private:
    std::set<std::string, std::less<>> variables_;
};

// Whether `name` (lower case) is one of the calculator's functions.
bool isFunctionName(std::string_view name);

// The name that an assignment line stores a value under, lowered and with the blanks around
// it cut, as the library cuts it; empty when the line is not an assignment.
std::string assignedName(std::string_view line);

}  // namespace kxcalc
