// evaluate: one left-to-right scan of a lowered line into one Complex value.
#pragma once

#include "complex/complex.h"
#include "eval/evaluation_fault.h"
#include "tables/symbol_tables.h"

namespace kx {

// Evaluates the expression that starts at text and runs to the NUL, resolving names in
// tables (read only). Throws CalcError with the complete message at the first fault.
Complex evaluate(const char* text, const SymbolTables& tables);

// The same scan, reporting the first fault instead of throwing it; the fault's appended
// text is a view into `text`. Nothing but std::bad_alloc (deep lines) is thrown.
Evaluation evaluateOrFault(const char* text, const SymbolTables& tables);

}  // namespace kx
