#include "tables/symbol_tables.h"

#include <array>
#include <cstddef>
#include <new>
#include <span>

#include "real/exp.h"
#include "real/inverse_circular.h"
#include "tables/table_entries.h"
#include "tables/vocabulary.h"

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
    // The value of each of vocabulary::constantNames: i, pi and e.
    const std::array<Complex, vocabulary::constantNames.size()> constantValues{
        Complex{0.0, 1.0}, Complex{4.0 * real::atan2(1.0, 1.0), 0.0}, Complex{real::exp(1.0), 0.0}};
    for (std::size_t k = 0; k < constantValues.size(); ++k)
        tables.constants.insertIfAbsent(vocabulary::constantNames[k], constantValues[k]);
    tables.variables.insertIfAbsent(vocabulary::toleranceName, Complex{initialTolerance, 0.0});

    insertAll(tables.functions, functionEntries());
    insertAll(tables.operators, operatorEntries());
}

void clearTables(SymbolTables& tables) {
    tables.operators.clear();
    tables.functions.clear();
    tables.constants.clear();
    tables.variables.clear();
}

}  // namespace kx
