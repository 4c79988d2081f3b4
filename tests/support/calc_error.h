// CalcError: a fault of the evaluator as an exception, carrying the complete user message.
#pragma once

#include <string>
#include <string_view>

namespace kx {

struct CalcError {
    std::string message;

    explicit CalcError(std::string_view fixed) : message(fixed) {}
    CalcError(std::string_view fixed, std::string_view appended) {
        message.reserve(fixed.size() + appended.size());
        message.append(fixed).append(appended);
    }
};

}  // namespace kx
