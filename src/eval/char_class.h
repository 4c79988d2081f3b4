// The fixed character classes of the language, independent of the host's locale. Bytes at
// or above 0x80 belong to no class.
#pragma once

#include <array>
#include <cstdint>

namespace kx {

constexpr bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool isOpeningBracket(char c) { return c == '(' || c == '[' || c == '{'; }
constexpr bool isClosingBracket(char c) { return c == ')' || c == ']' || c == '}'; }
constexpr char toLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// What the scanner does with a character, decided by one table read.
enum class CharacterClass : std::uint8_t {
    Other,           // a one-character token
    WhiteSpace,
    NumberStart,     // a digit or a full stop
    OpeningBracket,
    ClosingBracket,
    Letter,          // the start of a name
    End,             // the NUL that ends the text
};

namespace detail {

constexpr CharacterClass classify(char c) {
    if (c == '\0') return CharacterClass::End;
    if (isWhiteSpace(c)) return CharacterClass::WhiteSpace;
    if (isDigit(c) || c == '.') return CharacterClass::NumberStart;
    if (isOpeningBracket(c)) return CharacterClass::OpeningBracket;
    if (isClosingBracket(c)) return CharacterClass::ClosingBracket;
    if (isLetter(c)) return CharacterClass::Letter;
    return CharacterClass::Other;
}

constexpr std::array<CharacterClass, 256> characterClasses = [] {
    std::array<CharacterClass, 256> classes{};
    for (int byte = 0; byte < 256; ++byte) classes[byte] = classify(static_cast<char>(byte));
    return classes;
}();

}  // namespace detail

constexpr CharacterClass characterClass(char c) {
    return detail::characterClasses[static_cast<unsigned char>(c)];
}

}  // namespace kx
