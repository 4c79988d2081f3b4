// The inverse circular and hyperbolic functions.
#pragma once

#include <span>

#include "tables/operator_entry.h"

namespace kx {

// FunctionTable records "asin" ... "acoth", in table order.
std::span<const TableEntry> inverseFunctionEntries();

}  // namespace kx
