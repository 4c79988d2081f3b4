#include "eval/evaluation_stacks.h"

#include "eval/calc_error.h"
#include "eval/messages.h"

namespace kx {

bool shouldReduce(const OperatorStack& operators, const OperatorEntry& incoming) {
    if (operators.empty()) return false;
    const OperatorEntry& top = operators.top();
    if (top.depth != incoming.depth) return top.depth > incoming.depth;
    if (top.precedence != incoming.precedence) return top.precedence > incoming.precedence;
    return top.rightAssoc == 0;
}

void reduceTop(OperatorStack& operators, OperandStack& operands) {
    if (operands.empty()) throw CalcError(messages::ranOutOfData);
    const OperatorEntry entry = operators.top();
    operators.pop();
    if (takesOneOperand(entry.kind)) {
        operands.top() = entry.function.unary(operands.top());
        return;
    }
    const Complex right = operands.top();
    operands.pop();
    if (operands.empty()) throw CalcError(messages::ranOutOfData);
    operands.top() = entry.function.binary(operands.top(), right);
}

}  // namespace kx
