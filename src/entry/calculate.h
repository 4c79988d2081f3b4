// calculate: one call of the calculator on a line in the host's buffer.
#pragma once

#include "tables/symbol_tables.h"

namespace kx {

// Lowers the line in place, evaluates it (or performs its assignment) against tables,
// and overwrites the buffer with the result text or the error message. The buffer holds
// at least 64 bytes. Lets std::bad_alloc and std::length_error through.
void calculate(char* buffer, SymbolTables& tables);

// Copies a message into the buffer, cut to 63 characters, NUL-terminated.
void writeMessage(char* buffer, std::string_view message);

}  // namespace kx
