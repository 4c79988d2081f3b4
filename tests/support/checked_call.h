// One call of kx_calc under watch: the host's buffer is followed by guard bytes, and the
// call must keep every promise of the buffer contract, write a well-formed text, leave the
// tables as the line allows, and give the same text again when the line assigns nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tables/symbol_tables.h"

namespace kx::test {

struct CheckedOutcome {
    std::string text;                  // what the buffer held after the first call
    std::optional<std::string> fault;  // the first broken promise, if any
};

// Calls kx_calc on line (which holds no NUL) in a buffer of max(64, length + 1) bytes;
// `tables` are the library's own tables, which kx_calc uses.
CheckedOutcome checkedCall(std::string_view line, const SymbolTables& tables);

}  // namespace kx::test
