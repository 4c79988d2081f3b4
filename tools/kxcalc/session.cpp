#include "session.h"

#include <algorithm>
#include <array>
#include <vector>

#include "kx_calc.h"

namespace kxcalc {

bool isMessage(std::string_view text) {
    static constexpr std::array<std::string_view, 5> starts{"Parse Error", "Syntax error", "Syntax Error",
                                                            "Ran Out of Data", "Out of memory"};
    return std::any_of(starts.begin(), starts.end(), [&](std::string_view s) { return text.starts_with(s); });
}

Answer evaluateLine(std::string_view line) {
    constexpr std::size_t minimumBuffer = 64;  // the library's contract
    std::vector<char> buffer(std::max(minimumBuffer, line.size() + 1), '\0');
    std::copy(line.begin(), line.end(), buffer.begin());
    std::string text = kx_calc(buffer.data());
    const bool message = isMessage(text);
    return {std::move(text), message};
}

}  // namespace kxcalc
