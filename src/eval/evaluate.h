// evaluate: one left-to-right scan of a lowered line into one Complex value.
#pragma once

#include "complex/complex.h"
#include "tables/symbol_tables.h"

namespace kx {

// Evaluates the expression that starts at text and runs to the NUL, resolving names in
// tables (read only). Throws CalcError with the complete message at the first fault, and
// std::length_error for brackets nested deeper than a 32-bit depth counts.
Complex evaluate(const char* text, const SymbolTables& tables);

}  // namespace kx
