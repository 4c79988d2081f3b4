// Recognising the "set name = expression" command.
#pragma once

#include <optional>
#include <string_view>

namespace kx {

struct Assignment {
    std::string_view name;   // white space trimmed at both ends; may be empty
    const char* expression;  // the text after the first "="
};

// A line is an assignment when it begins with exactly "set " and holds an "=".
std::optional<Assignment> recognizeAssignment(const char* line);

}  // namespace kx
