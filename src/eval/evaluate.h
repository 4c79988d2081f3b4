// evaluate: one left-to-right scan of a lowered line into one Complex value.
#pragma once

#include "core/complex.h"
#include "eval/evaluation_fault.h"
#include "tables/symbol_tables.h"

namespace kx {

// Evaluates the expression that starts at text and runs to the NUL, resolving names in
// tables (read only), and reports the first fault that stops the scan; the fault's appended
// text is a view into `text`. Only std::bad_alloc (deep lines) and std::length_error (brackets
// nested deeper than a 32-bit depth counts) are thrown. A call that has read the tolerance once passes it as
// `tolerance`: the name tol then gives that value, so that one call sees one tol however
// other threads assign it meanwhile. Without it tol is read like any variable.
Evaluation evaluateOrFault(const char* text, const SymbolTables& tables, const Complex* tolerance = nullptr);

}  // namespace kx
