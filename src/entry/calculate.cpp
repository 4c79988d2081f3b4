#include "entry/calculate.h"

#include <algorithm>
#include <cstring>

#include "entry/assignment.h"
#include "entry/entry_messages.h"
#include "entry/format_result.h"
#include "eval/char_class.h"
#include "eval/evaluate.h"

namespace kx {
namespace {

// The length is found first so that the loop has a known count (and is vectorised).
void lowerInPlace(char* line) {
    const std::size_t length = std::strlen(line);
    for (std::size_t k = 0; k < length; ++k) line[k] = toLower(line[k]);
}

// The fault's message, cut to 63 characters. Its appended text is a part of the same
// buffer, so it is moved into place before the fixed words are written over the start.
void writeFault(char* buffer, const EvaluationFault& fault) {
    const std::size_t fixedLength = std::min(fault.fixed.size(), messages::maxMessageLength);
    const std::string_view appended = fault.appendedText(messages::maxMessageLength - fixedLength);
    if (!appended.empty()) std::memmove(buffer + fixedLength, appended.data(), appended.size());
    std::memcpy(buffer, fault.fixed.data(), fixedLength);
    buffer[fixedLength + appended.size()] = '\0';
}

// The stored value is written with the tolerance in force before the assignment.
void performAssignment(char* buffer, const Assignment& assignment, SymbolTables& tables, const Complex& tolerance) {
    const Evaluation evaluation = evaluateOrFault(assignment.expression, tables, &tolerance);
    if (evaluation.fault) {
        writeFault(buffer, evaluation.fault);
        return;
    }
    if (assignment.name.empty()) {
        writeMessage(buffer, messages::missingVariableName);
        return;
    }
    tables.variables.assign(assignment.name, evaluation.value);
    formatResult(buffer, evaluation.value, tolerance.re);
}

}  // namespace

void writeMessage(char* buffer, std::string_view message) {
    const std::size_t length = std::min(message.size(), messages::maxMessageLength);
    std::copy_n(message.data(), length, buffer);
    buffer[length] = '\0';
}

// The tolerance is read once, before anything else: the expression's tol and the one that
// decides which parts are printed are the same value, whatever other threads assign.
void calculate(char* buffer, SymbolTables& tables) {
    lowerInPlace(buffer);
    const Complex tolerance = tables.variables.tolerance();
    if (const auto assignment = recognizeAssignment(buffer)) {
        performAssignment(buffer, *assignment, tables, tolerance);
        return;
    }
    const Evaluation evaluation = evaluateOrFault(buffer, tables, &tolerance);
    if (evaluation.fault) {
        writeFault(buffer, evaluation.fault);
        return;
    }
    formatResult(buffer, evaluation.value, tolerance.re);
}

}  // namespace kx
