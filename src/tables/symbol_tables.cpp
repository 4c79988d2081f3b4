#include "tables/symbol_tables.h"

#include <cmath>
#include <new>
#include <span>

#include "complex/arithmetic.h"
#include "complex/circular.h"
#include "complex/exponential.h"
#include "complex/inverse.h"
#include "real/exp.h"
#include "real/inverse_circular.h"

namespace kx {
namespace {

void insertAll(SymbolTable<OperatorEntry>& table, std::span<const TableEntry> entries) {
    for (const TableEntry& record : entries) table.insertIfAbsent(record.key, record.entry);
}

}  // namespace

// A function-local object rather than a namespace-scope one: it exists before the load
// hook runs, whatever order the runtime gives the library's initialisers. It is built in
// place and never destroyed: at exit the runtime may run static destructors before the
// unload hook, which would then clear destroyed tables. The unload hook empties them, and
// empty tables hold no memory, so nothing is left behind when the library is unloaded.
SymbolTables& symbolTables() {
    alignas(SymbolTables) static unsigned char storage[sizeof(SymbolTables)];
    static SymbolTables* const tables = new (storage) SymbolTables();
    return *tables;
}

void buildTables(SymbolTables& tables) {
    tables.constants.insertIfAbsent("i", Complex{0.0, 1.0});
    tables.constants.insertIfAbsent("pi", Complex{4.0 * real::atan2(1.0, 1.0), 0.0});
    tables.constants.insertIfAbsent("e", Complex{real::exp(1.0), 0.0});
    tables.variables.insertIfAbsent(toleranceName, Complex{initialTolerance, 0.0});

    insertAll(tables.functions, circularFunctionEntries());
    insertAll(tables.functions, inverseFunctionEntries());
    insertAll(tables.functions, exponentialFunctionEntries());
    insertAll(tables.functions, prefixSignEntries());

    insertAll(tables.operators, powerOperatorEntries());
    insertAll(tables.operators, arithmeticOperatorEntries());
}

void clearTables(SymbolTables& tables) {
    tables.operators.clear();
    tables.functions.clear();
    tables.constants.clear();
    tables.variables.clear();
}

}  // namespace kx
