// Translation of a calculator line into the syntax of the peer parser, for the comparison
// benchmark. Only what the two languages spell differently is changed: the whole line is
// lowered; every bracket becomes a round one and unclosed ones are closed; a d exponent
// becomes e; a function takes its operand in round brackets, so "sin 2^2" and "sin(2)^2"
// both become "sin((2)^2)"-like text with the same binding ("log" is spelled "log10");
// "set x = 1" becomes "x=1". Names either language lacks are left as they are.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kx::bench {

struct PeerLine {
    std::string expression;    // the line in the peer's syntax
    std::string assignedName;  // the variable the line assigns, empty when it assigns nothing
};

// The translated line, or nothing when the line cannot be put in the peer's syntax
// (a closing bracket with none open, an operand missing after a function or sign).
std::optional<PeerLine> translateForPeer(std::string_view line);

}  // namespace kx::bench
