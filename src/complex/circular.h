// The circular and hyperbolic functions and their reciprocals.
#pragma once

#include <span>

#include "tables/operator_entry.h"

namespace kx {

// FunctionTable records "sin" ... "coth", in table order.
std::span<const TableEntry> circularFunctionEntries();

}  // namespace kx
