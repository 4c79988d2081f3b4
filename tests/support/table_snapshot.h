// A copy of the four tables, compared bit for bit, to tell whether a call left them as the
// calculator's contract allows: a line that assigns nothing changes nothing, and an
// assignment adds or overwrites at most one variable.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "tables/symbol_tables.h"

namespace kx::test {

struct ValueBits {
    std::uint64_t re, im;
    bool operator==(const ValueBits&) const = default;
};

struct EntryBits {
    std::int32_t precedence, rightAssoc, depth, kind;
    std::uintptr_t function;
    bool operator==(const EntryBits&) const = default;
};

struct TableSnapshot {
    std::map<std::string, ValueBits> constants;
    std::map<std::string, ValueBits> variables;
    std::map<std::string, EntryBits> functions;
    std::map<std::string, EntryBits> operators;
};

inline ValueBits valueBits(Complex value) {
    return {std::bit_cast<std::uint64_t>(value.re), std::bit_cast<std::uint64_t>(value.im)};
}

inline EntryBits entryBits(const OperatorEntry& entry) {
    std::uintptr_t function = 0;
    static_assert(sizeof(entry.function) == sizeof(function));
    std::memcpy(&function, &entry.function, sizeof(function));
    return {entry.precedence, entry.rightAssoc, entry.depth, static_cast<std::int32_t>(entry.kind), function};
}

template <class Value, class Bits, class ToBits>
std::map<std::string, Bits> copyTable(const SymbolTable<Value>& table, ToBits toBits) {
    std::map<std::string, Bits> copy;
    table.forEachKey([&](std::string_view key) { copy.emplace(std::string(key), toBits(*table.find(key))); });
    return copy;
}

inline std::map<std::string, ValueBits> copyTable(const VariableTable& table) {
    std::map<std::string, ValueBits> copy;
    table.forEachKey([&](std::string_view key) { copy.emplace(std::string(key), valueBits(*table.find(key))); });
    return copy;
}

inline TableSnapshot snapshotOf(const SymbolTables& tables) {
    return {copyTable<Complex, ValueBits>(tables.constants, valueBits),
            copyTable(tables.variables),
            copyTable<OperatorEntry, EntryBits>(tables.functions, entryBits),
            copyTable<OperatorEntry, EntryBits>(tables.operators, entryBits)};
}

// What is wrong with `after` as the state following one call on `before`, or nothing.
inline std::optional<std::string> explainTableDamage(const TableSnapshot& before, const TableSnapshot& after,
                                                     bool lineAssigns) {
    if (after.constants != before.constants) return "the constant table changed";
    if (after.functions != before.functions) return "the function table changed";
    if (after.operators != before.operators) return "the operator table changed";
    if (!lineAssigns) {
        if (after.variables != before.variables) return "a line that assigns nothing changed the variables";
        return std::nullopt;
    }
    int changed = 0;
    for (const auto& [key, value] : before.variables) {
        const auto it = after.variables.find(key);
        if (it == after.variables.end()) return "variable '" + key + "' was lost";
        changed += it->second != value;
    }
    const auto added = after.variables.size() - before.variables.size();
    if (added + static_cast<std::size_t>(changed) > 1) return "an assignment changed more than one variable";
    return std::nullopt;
}

}  // namespace kx::test
