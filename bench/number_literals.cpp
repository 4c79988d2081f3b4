#include "number_literals.h"

namespace kx::bench {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::size_t skipDigits(std::string_view line, std::size_t at) {
    while (at < line.size() && isDigit(line[at])) ++at;
    return at;
}

}  // namespace

std::vector<std::string> numberLiterals(std::string_view line) {
    std::vector<std::string> literals;
    std::size_t at = 0;
    while (at < line.size()) {
        const char c = line[at];
        if (isLetter(c)) {
            while (at < line.size() && isLetter(line[at])) ++at;
            continue;
        }
        const bool startsNumber = isDigit(c) || (c == '.' && at + 1 < line.size() && isDigit(line[at + 1]));
        if (!startsNumber) {
            ++at;
            continue;
        }
        const std::size_t start = at;
        at = skipDigits(line, at);
        if (at < line.size() && line[at] == '.') at = skipDigits(line, at + 1);
        std::string literal(line.substr(start, at - start));
        if (at < line.size() && (line[at] == 'e' || line[at] == 'E' || line[at] == 'd' || line[at] == 'D')) {
            std::size_t exponent = at + 1;
            if (exponent < line.size() && (line[exponent] == '+' || line[exponent] == '-')) ++exponent;
            if (exponent < line.size() && isDigit(line[exponent])) {
                const std::size_t end = skipDigits(line, exponent);
                literal += 'e';
                literal += line.substr(at + 1, end - at - 1);
                at = end;
            }
        }
        literals.push_back(std::move(literal));
    }
    return literals;
}

}  // namespace kx::bench
