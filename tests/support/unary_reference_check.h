// Checking a family of one-argument functions against a committed reference table.
#pragma once

#include <algorithm>
#include <iostream>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "core/complex.h"
#include "support/reference_table.h"
#include "tables/table_entries.h"

namespace kx::test {

// The operation that a family's table records bind to name, or nullptr.
inline UnaryFunction functionNamed(std::span<const TableEntry> entries, std::string_view name) {
    for (const TableEntry& record : entries)
        if (record.key == name) return record.entry.function.unary;
    return nullptr;
}

// Evaluates every case with the family's function of that name, expects error(name, got,
// expected) within bound for each, and prints the worst error per function.
template <class ErrorInUlps>
void expectReferenceWithin(const std::vector<ReferenceCase>& cases, std::span<const TableEntry> entries,
                           double bound, ErrorInUlps error) {
    std::map<std::string, double> worst;
    for (const ReferenceCase& c : cases) {
        const UnaryFunction function = functionNamed(entries, c.function);
        ASSERT_NE(function, nullptr) << c.function;
        const Complex got = function({c.inputs[0], c.inputs[1]});
        const double caseError = error(c.function, got, c.expected);
        worst[c.function] = std::max(worst[c.function], caseError);
        EXPECT_LE(caseError, bound) << c.function << "(" << c.inputs[0] << ", " << c.inputs[1] << ") line "
                                    << c.line << ": got (" << got.re << ", " << got.im << ") expected ("
                                    << c.expected.re << ", " << c.expected.im << ")";
    }
    for (const auto& [name, value] : worst) std::cout << "worst " << name << " " << value << " ulp\n";
}

}  // namespace kx::test
