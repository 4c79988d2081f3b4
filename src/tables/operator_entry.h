// OperatorEntry: the record that binds a function or operator symbol to its operation.
#pragma once

#include <cstdint>

#include "core/complex.h"

namespace kx {

using UnaryFunction = Complex (*)(Complex);
using BinaryFunction = Complex (*)(Complex left, Complex right);

enum class OperatorKind : std::int32_t {
    Prefix = 1,      // one operand, written after the symbol
    Postfix = 2,     // one operand, written before the symbol
    Infix = 3,       // two operands
    InfixPower = 4,  // two operands; "^" alone, evaluated exactly like Infix
};

// The bound operation: `unary` for Prefix and Postfix, `binary` for Infix and InfixPower.
union Operation {
    UnaryFunction unary;
    BinaryFunction binary;
};

struct OperatorEntry {
    std::int32_t precedence;  // larger binds tighter
    std::int32_t rightAssoc;  // nonzero: an equal-precedence newcomer does not reduce this one
    std::int32_t depth;       // 0 in the tables; the evaluator stamps the bracket depth
    OperatorKind kind;
    Operation function;
};

constexpr bool takesOneOperand(OperatorKind kind) {
    return kind == OperatorKind::Prefix || kind == OperatorKind::Postfix;
}

}  // namespace kx
