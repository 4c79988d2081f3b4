// The floor: the least work a line needs, namely converting its number literals with
// std::from_chars and writing one result with std::to_chars (general, 15 digits), after
// the same copy of the line into the buffer that every call makes.
#pragma once

#include <charconv>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace kx::bench {

struct FloorLine {
    std::string text;
    std::vector<std::string> literals;  // spelled with e, as from_chars reads them
    double result;                      // the value written
};

// The floor's lines: each line's literals, and as its result the first number of the
// text the calculator gave for it (texts: line to text), or the sum of the literals when
// that text holds none (a message, "i", "nan").
std::vector<FloorLine> floorLines(const std::vector<std::string>& lines, const std::map<std::string, std::string>& texts);

// The floor's work for one line; lineBuffer holds the line, out at least 64 bytes.
inline double floorWork(const FloorLine& line, char* lineBuffer, char* out) {
    std::memcpy(lineBuffer, line.text.c_str(), line.text.size() + 1);
    double sum = 0.0;
    for (const std::string& literal : line.literals) {
        double value = 0.0;
        std::from_chars(literal.data(), literal.data() + literal.size(), value);
        sum += value;
    }
    char* end = std::to_chars(out, out + 64, line.result, std::chars_format::general, 15).ptr;
    *end = '\0';
    return sum;
}

}  // namespace kx::bench
