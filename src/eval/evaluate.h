// evaluate: one left-to-right scan of a lowered line into one Complex value.
#pragma once

#include "complex/complex.h"
#include "tables/symbol_tables.h"

namespace kx {

// Evaluates the expression that starts at text and runs to the NUL, resolving names in
// tables (read only). Throws CalcError with the complete message at the first fault.
Complex evaluate(const char* text, const SymbolTables& tables);

}  // namespace kx
