#include "terminal_style.h"

namespace kxcalc {

namespace {

constexpr std::string_view boldRed = "\x1b[1;31m";
constexpr std::string_view resetAttributes = "\x1b[0m";
constexpr std::string_view messageMark = "! ";

}  // namespace

bool colourWanted(bool isTerminal, const char* noColor, const char* term) {
    if (!isTerminal) return false;
    if (noColor != nullptr && *noColor != '\0') return false;
    if (term == nullptr || *term == '\0') return false;
    return std::string_view(term) != "dumb";
}

std::string styledAnswer(std::string_view text, bool isMessage, MessageStyle style) {
    if (!isMessage) return std::string(text);
    switch (style) {
        case MessageStyle::colour:
            return std::string(boldRed) + std::string(text) + std::string(resetAttributes);
        case MessageStyle::marked:
            return std::string(messageMark) + std::string(text);
        case MessageStyle::plain:
            break;
    }
    return std::string(text);
}

}  // namespace kxcalc
