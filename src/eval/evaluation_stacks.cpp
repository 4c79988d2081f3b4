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

bool applyTop(OperatorStack& operators, OperandStack& operands) {
    if (operands.empty()) return false;
    const OperatorEntry entry = operators.top();
    operators.pop();
    if (takesOneOperand(entry.kind)) {
        operands.top() = entry.function.unary(operands.top());
        return true;
    }
    const Complex right = operands.top();
    operands.pop();
    if (operands.empty()) return false;
    operands.top() = entry.function.binary(operands.top(), right);
    return true;
}

void reduceTop(OperatorStack& operators, OperandStack& operands) {
    if (!applyTop(operators, operands)) throw CalcError(messages::ranOutOfData);
}

}  // namespace kx
