// Values that tell who stored them and when, for tests in which threads assign variables
// while others read them: writer w stores its n-th value as n + (16n + w)i. A text read
// back names the writer and the counter, unless its two parts do not belong together (a
// torn value) or it is no such value at all. Used by the concurrency test and the Windows
// DLL test, so it needs nothing but the standard library.
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace kx::test::paired {

inline constexpr int maxWriters = 16;

// The expression of writer's value number counter (counter >= 1).
inline std::string valueExpression(int writer, long counter) {
    return std::to_string(counter) + "+" + std::to_string(16 * counter + writer) + "*i";
}

// The text the calculator writes for that value.
inline std::string valueText(int writer, long counter) {
    return std::to_string(counter) + "+" + std::to_string(16 * counter + writer) + "i";
}

struct Reading {
    int writer;
    long counter;
};

// The writer and counter of a text "n+mi" whose parts belong together, or nothing.
inline std::optional<Reading> read(std::string_view text) {
    const char* const end = text.data() + text.size();
    long re = 0;
    long im = 0;
    auto [afterRe, reError] = std::from_chars(text.data(), end, re);
    if (reError != std::errc() || afterRe == end || *afterRe != '+') return std::nullopt;
    auto [afterIm, imError] = std::from_chars(afterRe + 1, end, im);
    if (imError != std::errc() || afterIm + 1 != end || *afterIm != 'i') return std::nullopt;
    const long writer = im - 16 * re;
    if (re < 1 || writer < 0 || writer >= maxWriters) return std::nullopt;
    return Reading{static_cast<int>(writer), re};
}

// A name for a number: names are runs of letters, so the digits are written as letters.
inline std::string letterName(std::string_view prefix, long number) {
    std::string name(prefix);
    do {
        name += static_cast<char>('a' + number % 26);
        number /= 26;
    } while (number > 0);
    return name;
}

}  // namespace kx::test::paired
