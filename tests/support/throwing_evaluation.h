// The evaluator's steps with the fault thrown as a CalcError, for tests that drive them one
// at a time or want the complete message of a failing line.
#pragma once

#include "core/complex.h"
#include "eval/evaluate.h"
#include "eval/evaluation_stacks.h"
#include "eval/messages.h"
#include "support/calc_error.h"
#include "tables/symbol_tables.h"

namespace kx {

// Pops the top entry and applies it to the operand stack; throws CalcError "Ran Out of Data"
// when the operands it needs are missing.
inline void reduceTop(OperatorStack& operators, OperandStack& operands) {
    if (!applyTop(operators, operands)) throw CalcError(messages::ranOutOfData);
}

// evaluateOrFault with the first fault thrown as a CalcError carrying the complete message.
inline Complex evaluate(const char* text, const SymbolTables& tables) {
    const Evaluation evaluation = evaluateOrFault(text, tables);
    if (evaluation.fault) {
        throw CalcError(evaluation.fault.fixed, evaluation.fault.appendedText(EvaluationFault::untilEnd));
    }
    return evaluation.value;
}

}  // namespace kx
