#include "entry/assignment.h"

#include <cstring>

#include "eval/char_class.h"

namespace kx {

std::optional<Assignment> splitAssignment(const char* afterSet) {
    const char* equals = std::strchr(afterSet, '=');
    if (equals == nullptr) return std::nullopt;
    const char* first = afterSet;
    while (first < equals && isWhiteSpace(*first)) ++first;
    const char* last = equals;
    while (last > first && isWhiteSpace(last[-1])) --last;
    return Assignment{{first, static_cast<std::size_t>(last - first)}, equals + 1};
}

}  // namespace kx
