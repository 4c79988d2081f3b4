// Recognising the "set name = expression" command.
#pragma once

#include <optional>
#include <string_view>

namespace kx {

struct Assignment {
    std::string_view name;   // white space trimmed at both ends; may be empty
    const char* expression;  // the text after the first "="
};

// The name and the expression of the text after "set ", when it holds an "=".
std::optional<Assignment> splitAssignment(const char* afterSet);

// A line is an assignment when it begins with exactly "set " and holds an "=". The first
// test is inline: nearly every line fails it at its first character.
inline std::optional<Assignment> recognizeAssignment(const char* line) {
    if (line[0] != 's' || line[1] != 'e' || line[2] != 't' || line[3] != ' ') return std::nullopt;
    return splitAssignment(line + 4);
}

}  // namespace kx
