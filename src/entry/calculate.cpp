#include "entry/calculate.h"

#include <algorithm>
#include <string>

#include "entry/assignment.h"
#include "entry/entry_messages.h"
#include "entry/format_result.h"
#include "eval/calc_error.h"
#include "eval/char_class.h"
#include "eval/evaluate.h"

namespace kx {
namespace {

void lowerInPlace(char* line) {
    for (char* p = line; *p; ++p) *p = toLower(*p);
}

double tolerance(SymbolTables& tables) { return tables.variables.getOrCreate("tol").re; }

// The stored value is written with the tolerance in force before the assignment.
void performAssignment(char* buffer, const Assignment& assignment, SymbolTables& tables) {
    const Complex value = evaluate(assignment.expression, tables);
    if (assignment.name.empty()) {
        writeMessage(buffer, messages::missingVariableName);
        return;
    }
    const double tol = tolerance(tables);
    tables.variables.assign(assignment.name, value);
    formatResult(buffer, value, tol);
}

}  // namespace

void writeMessage(char* buffer, std::string_view message) {
    const std::size_t length = std::min(message.size(), messages::maxMessageLength);
    std::copy_n(message.data(), length, buffer);
    buffer[length] = '\0';
}

void calculate(char* buffer, SymbolTables& tables) {
    lowerInPlace(buffer);
    try {
        if (const auto assignment = recognizeAssignment(buffer)) {
            performAssignment(buffer, *assignment, tables);
            return;
        }
        const Complex value = evaluate(buffer, tables);
        formatResult(buffer, value, tolerance(tables));
    } catch (const CalcError& error) {
        writeMessage(buffer, error.message);
    }
}

}  // namespace kx
