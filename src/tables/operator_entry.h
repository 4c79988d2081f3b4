// OperatorEntry: the record that binds a function or operator symbol to its operation.
#pragma once

#include <cstdint>
#include <string_view>

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

// One record as a complex-function unit supplies it to the table builder.
struct TableEntry {
    std::string_view key;
    OperatorEntry entry;
};

// Every prefix function and prefix sign binds as tightly as "^" and associates to the right.
constexpr TableEntry prefixEntry(std::string_view key, UnaryFunction function) {
    return {key, {6, 1, 0, OperatorKind::Prefix, {.unary = function}}};
}

constexpr TableEntry infixEntry(std::string_view key, std::int32_t precedence, std::int32_t rightAssoc,
                                OperatorKind kind, BinaryFunction function) {
    return {key, {precedence, rightAssoc, 0, kind, {.binary = function}}};
}

}  // namespace kx
