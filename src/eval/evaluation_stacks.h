// The two stacks of one evaluation and the rules that reduce them.
#pragma once

#include "core/complex.h"
#include "eval/small_stack.h"
#include "tables/operator_entry.h"

namespace kx {

// Inline capacities cover ordinary lines; deeper ones spill to the heap.
using OperandStack = SmallStack<Complex, 32>;
using OperatorStack = SmallStack<OperatorEntry, 32>;

// Whether the entry on top of the stack must be applied before `incoming` is pushed:
// deeper brackets first, then higher precedence, then, at a tie, the top entry's own
// associativity. Defined here so that the scanner's loop inlines it.
inline bool shouldReduce(const OperatorStack& operators, const OperatorEntry& incoming) {
    if (operators.empty()) return false;
    const OperatorEntry& top = operators.top();
    if (top.depth != incoming.depth) return top.depth > incoming.depth;
    if (top.precedence != incoming.precedence) return top.precedence > incoming.precedence;
    return top.rightAssoc == 0;
}

// Pops the top entry and applies it to the operand stack; false when the operands it needs
// are missing (the fault "Ran Out of Data").
inline bool applyTop(OperatorStack& operators, OperandStack& operands) {
    if (operands.empty()) return false;
    const OperatorKind kind = operators.top().kind;  // the two fields used, not the whole entry
    const Operation function = operators.top().function;
    operators.pop();
    if (takesOneOperand(kind)) {
        operands.top() = function.unary(operands.top());
        return true;
    }
    const Complex right = operands.top();
    operands.pop();
    if (operands.empty()) return false;
    operands.top() = function.binary(operands.top(), right);
    return true;
}

}  // namespace kx
