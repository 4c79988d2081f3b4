#include "floor_work.h"

#include <string_view>

#include "message_text.h"
#include "number_literals.h"

namespace kx::bench {
namespace {

double floorResult(std::string_view text, const std::vector<std::string>& literals) {
    double value = 0.0;
    if (!isMessage(text)) {
        const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
        if (parsed.ec == std::errc()) return value;
    }
    double sum = 0.0;
    for (const std::string& literal : literals) {
        std::from_chars(literal.data(), literal.data() + literal.size(), value);
        sum += value;
    }
    return sum;
}

}  // namespace

std::vector<FloorLine> floorLines(const std::vector<std::string>& lines, const std::map<std::string, std::string>& texts) {
    std::vector<FloorLine> floor;
    for (const std::string& line : lines) {
        std::vector<std::string> literals = numberLiterals(line);
        const double result = floorResult(texts.at(line), literals);
        floor.push_back({line, std::move(literals), result});
    }
    return floor;
}

}  // namespace kx::bench
