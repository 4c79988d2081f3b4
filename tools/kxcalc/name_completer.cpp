#include "name_completer.h"

#include <algorithm>

#include "tables/vocabulary.h"

namespace kxcalc {

namespace {

char lowered(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool startsWithIgnoringCase(std::string_view name, std::string_view prefix) {
    if (prefix.size() > name.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), name.begin(),
                      [](char a, char b) { return lowered(a) == lowered(b); });
}

}  // namespace

std::string assignedName(std::string_view line) {
    std::string text(line);
    std::transform(text.begin(), text.end(), text.begin(), lowered);
    const std::size_t equals = text.find('=');
    if (!text.starts_with("set ") || equals == std::string::npos) return {};
    std::size_t first = 4;
    std::size_t last = equals;
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

void NameCompleter::noteLine(std::string_view line, bool answerIsMessage) {
    if (answerIsMessage) return;
    std::string name = assignedName(line);
    if (name.empty() || !std::all_of(name.begin(), name.end(), isLetter)) return;
    variables_.insert(std::move(name));
}

std::vector<std::string> NameCompleter::candidates(std::string_view prefix) const {
    std::vector<std::string> found;
    auto consider = [&](std::string_view name) {
        if (startsWithIgnoringCase(name, prefix)) found.emplace_back(name);
    };
    for (std::string_view name : kx::vocabulary::functionNames) consider(name);
    for (std::string_view name : kx::vocabulary::constantNames) consider(name);
    consider(kx::vocabulary::toleranceName);
    for (const std::string& name : variables_) consider(name);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());  // "pi" may be assigned too
    return found;
}

bool isFunctionName(std::string_view name) {
    const auto& names = kx::vocabulary::functionNames;
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace kxcalc
