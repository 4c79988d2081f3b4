#include "eval/evaluation_stacks.h"

#include "eval/calc_error.h"
#include "eval/messages.h"

namespace kx {

void reduceTop(OperatorStack& operators, OperandStack& operands) {
    if (!applyTop(operators, operands)) throw CalcError(messages::ranOutOfData);
}

}  // namespace kx
