// The exponential family: sqrt, exp, ln, log, abs and the power operator "^".
#pragma once

#include <span>

#include "tables/operator_entry.h"

namespace kx {

// FunctionTable records "sqrt", "exp", "ln", "log", "abs", in table order.
std::span<const TableEntry> exponentialFunctionEntries();
// OperatorTable record "^".
std::span<const TableEntry> powerOperatorEntries();

}  // namespace kx
