// EvaluationFault: the first fault of a scan, described without building any text, so
// that a failing line costs no more than a succeeding one. The entry writes it into the
// host's buffer.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/complex.h"

namespace kx {

struct EvaluationFault {
    std::string_view fixed;          // the message's fixed words; empty when there is no fault
    const char* appended = nullptr;  // what follows them: a view into the evaluated text
    std::size_t appendedLength = 0;  // its length; untilEnd for the rest of the text

    static constexpr std::size_t untilEnd = static_cast<std::size_t>(-1);

    explicit operator bool() const { return !fixed.empty(); }

    // The appended text, up to at most `limit` characters (the whole text when limit is
    // untilEnd): a rest of the line is measured only as far as it can be shown.
    std::string_view appendedText(std::size_t limit) const;
};

// The value of an expression, or the fault that stopped its scan.
struct Evaluation {
    Complex value{0.0, 0.0};
    EvaluationFault fault;
};

}  // namespace kx
