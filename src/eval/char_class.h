// The fixed character classes of the language, independent of the host's locale. Bytes at
// or above 0x80 belong to no class.
#pragma once

namespace kx {

constexpr bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool isOpeningBracket(char c) { return c == '(' || c == '[' || c == '{'; }
constexpr bool isClosingBracket(char c) { return c == ')' || c == ']' || c == '}'; }
constexpr char toLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace kx
