// The number literals of a line, found by the calculator's own number syntax, for the
// floor measurement: the least work a line needs is to convert these and write a result.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kx::bench {

// Every literal of the line (digits [. digits] or . digits, then an optional exponent of
// e or d with an optional sign), spelled with the exponent letter e so that
// std::from_chars reads it. Letters runs are names and contribute nothing.
std::vector<std::string> numberLiterals(std::string_view line);

}  // namespace kx::bench
