// The two stacks of one evaluation and the rules that reduce them.
#pragma once

#include "complex/complex.h"
#include "eval/small_stack.h"
#include "tables/operator_entry.h"

namespace kx {

// Inline capacities cover ordinary lines; deeper ones spill to the heap.
using OperandStack = SmallStack<Complex, 32>;
using OperatorStack = SmallStack<OperatorEntry, 32>;

// Whether the entry on top of the stack must be applied before `incoming` is pushed:
// deeper brackets first, then higher precedence, then, at a tie, the top entry's own
// associativity.
bool shouldReduce(const OperatorStack& operators, const OperatorEntry& incoming);

// Pops the top entry and applies it to the operand stack; throws CalcError
// "Ran Out of Data" when the operands it needs are missing.
void reduceTop(OperatorStack& operators, OperandStack& operands);

// reduceTop without the exception: false where reduceTop throws "Ran Out of Data".
bool applyTop(OperatorStack& operators, OperandStack& operands);

}  // namespace kx
