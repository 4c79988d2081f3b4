// The records of the function and operator tables: each name of the vocabulary bound to its
// complex operation and its grammar, in table order.
#pragma once

#include <span>
#include <string_view>

#include "tables/operator_entry.h"

namespace kx {

struct TableEntry {
    std::string_view key;
    OperatorEntry entry;
};

// The function table's records: vocabulary::functionNames, then vocabulary::prefixSignNames.
std::span<const TableEntry> functionEntries();
// The operator table's records: vocabulary::infixOperators.
std::span<const TableEntry> operatorEntries();

}  // namespace kx
