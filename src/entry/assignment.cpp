#include "entry/assignment.h"

#include <cstring>

#include "eval/char_class.h"

namespace kx {

std::optional<Assignment> recognizeAssignment(const char* line) {
    if (line[0] != 's' || line[1] != 'e' || line[2] != 't' || line[3] != ' ') return std::nullopt;
    const char* equals = std::strchr(line + 4, '=');
    if (equals == nullptr) return std::nullopt;
    const char* first = line + 4;
    while (first < equals && isWhiteSpace(*first)) ++first;
    const char* last = equals;
    while (last > first && isWhiteSpace(last[-1])) --last;
    return Assignment{{first, static_cast<std::size_t>(last - first)}, equals + 1};
}

}  // namespace kx
