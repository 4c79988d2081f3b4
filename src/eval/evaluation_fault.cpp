#include "eval/evaluation_fault.h"

#include <algorithm>
#include <cstring>

namespace kx {

std::string_view EvaluationFault::appendedText(std::size_t limit) const {
    if (appended == nullptr) return {};
    if (appendedLength != untilEnd) return {appended, std::min(appendedLength, limit)};
    if (limit == untilEnd) return {appended, std::strlen(appended)};
    const void* end = std::memchr(appended, '\0', limit);
    return {appended, end ? static_cast<std::size_t>(static_cast<const char*>(end) - appended) : limit};
}

}  // namespace kx
