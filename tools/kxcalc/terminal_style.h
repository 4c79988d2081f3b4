// How the host sets error messages apart from results.
#pragma once

#include <string>
#include <string_view>

namespace kxcalc {

enum class MessageStyle {
    plain,   // exactly the library's text: pipes, files, NO_COLOR on a filter
    colour,  // the library's text in bold red
    marked,  // an interactive session without colour: the text after "! "
};

// Colour is used only on a terminal, never when NO_COLOR is set to a non-empty value, and
// not when TERM is unset, empty or "dumb".
bool colourWanted(bool isTerminal, const char* noColor, const char* term);

// The line to print for an answer: results are always printed as they are.
std::string styledAnswer(std::string_view text, bool isMessage, MessageStyle style);

}  // namespace kxcalc
