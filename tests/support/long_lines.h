// Generators of very long lines, each built so that an evaluator that recursed, or that did
// more than constant work per character, would show it.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kx::test::long_lines {

inline std::string repeated(std::string_view piece, std::size_t count) {
    std::string text;
    text.reserve(piece.size() * count);
    for (std::size_t k = 0; k < count; ++k) text.append(piece);
    return text;
}

// The pieces one after another (std::string's operator+ draws a false -Wrestrict from g++ 12).
inline std::string joined(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view piece : pieces) text.append(piece);
    return text;
}

// "1+1+...+1" with `terms` ones: the operand stack never holds more than two values.
inline std::string sumOfOnes(std::size_t terms) { return joined({"1", repeated("+1", terms - 1)}); }

// `depth` brackets around 1+2, closed.
inline std::string nestedBrackets(std::size_t depth) {
    return joined({repeated("(", depth), "1+2", repeated(")", depth)});
}

// "1*(1*(...1...))": every "*" is read one bracket deeper, so the operator stack grows to `depth`.
inline std::string nestedProducts(std::size_t depth) {
    return joined({repeated("1*(", depth), "1", repeated(")", depth)});
}

// `count` prefix minus signs before 2: the operator stack holds every sign until the end.
inline std::string prefixSigns(std::size_t count) { return joined({repeated("-", count), "2"}); }

// A name of `length` letters.
inline std::string longName(std::size_t length) { return repeated("q", length); }

// The k-th name of a run of distinct all-letter names: a, b, ..., z, ba, bb, ...
inline std::string distinctName(std::size_t k) {
    std::string name;
    do {
        name.insert(name.begin(), static_cast<char>('a' + k % 26));
        k /= 26;
    } while (k != 0);
    return joined({"v", name});  // never a function, constant or "tol"
}

}  // namespace kx::test::long_lines
