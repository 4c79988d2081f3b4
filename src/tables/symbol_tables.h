// The four name tables of the calculator and their building and clearing.
#pragma once

#include "core/complex.h"
#include "tables/operator_entry.h"
#include "tables/symbol_table.h"
#include "tables/variable_table.h"

namespace kx {

// One set per loaded library. Members are created in this order and destroyed in reverse.
// Only the variables change after building; they are safe to read and assign from any
// number of threads at once (variable_table.h tells how).
struct SymbolTables {
    SymbolTable<Complex> constants;        // vocabulary::constantNames; never changed after building
    VariableTable variables;               // "tol" and every assigned variable
    SymbolTable<OperatorEntry> operators;  // infix symbols, read where an operator is expected
    SymbolTable<OperatorEntry> functions;  // prefix functions and signs, read where an operand is
};

// The library's one set of tables, created empty on first use.
SymbolTables& symbolTables();

// Fills empty tables with the initial vocabulary, in the fixed order of insertion.
void buildTables(SymbolTables& tables);
// Removes every entry: operators, functions, constants, variables.
void clearTables(SymbolTables& tables);

inline constexpr double initialTolerance = 1e-10;

}  // namespace kx
