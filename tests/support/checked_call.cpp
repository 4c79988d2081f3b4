#include "support/checked_call.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "kx_calc.h"
#include "support/table_snapshot.h"
#include "support/text_checks.h"

namespace kx::test {
namespace {

constexpr std::size_t minimumBuffer = 64;
constexpr std::size_t guardLength = 64;
constexpr char guardByte = static_cast<char>(0xA5);

struct Call {
    std::string text;
    std::optional<std::string> fault;
};

// The buffer is exactly the contract's size plus the guard, so a sanitizer also sees any
// write beyond the guard.
Call callOnce(std::string_view line) {
    const std::size_t size = std::max(minimumBuffer, line.size() + 1);
    std::vector<char> buffer(size + guardLength, guardByte);
    std::copy(line.begin(), line.end(), buffer.begin());
    std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(line.size()), buffer.begin() + static_cast<std::ptrdiff_t>(size), '\0');
    char* const start = buffer.data();
    if (kx_calc(start) != start) return {"", "kx_calc returned another pointer"};
    const void* terminator = std::memchr(start, '\0', size);
    if (terminator == nullptr) return {"", "no NUL within the buffer"};
    const bool guardIntact = std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(size), buffer.end(),
                                         [](char c) { return c == guardByte; });
    std::string text(start);
    if (!guardIntact) return {text, "wrote past the end of the buffer"};
    return {text, explainBadText(text, line)};
}

}  // namespace

CheckedOutcome checkedCall(std::string_view line, const SymbolTables& tables) {
    const bool lineAssigns = assigns(line);
    const TableSnapshot before = snapshotOf(tables);
    Call first = callOnce(line);
    if (first.fault) return {first.text, first.fault};
    const TableSnapshot after = snapshotOf(tables);
    if (auto damage = explainTableDamage(before, after, lineAssigns)) return {first.text, damage};
    if (lineAssigns) return {first.text, std::nullopt};
    const Call second = callOnce(line);
    if (second.fault) return {first.text, "second call: " + *second.fault};
    if (second.text != first.text) return {first.text, "second call gave \"" + second.text + "\""};
    return {first.text, std::nullopt};
}

}  // namespace kx::test
