// Test access to the calculator: a private set of tables per test and the text of a line.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "entry/calculate.h"
#include "tables/symbol_tables.h"

namespace kx::test {

// A calculator with tables of its own, built as the loader builds them.
class Calculator {
public:
    Calculator() { buildTables(tables_); }

    // The text that a call leaves in the host's buffer for this line.
    std::string operator()(std::string_view line) {
        std::vector<char> buffer(std::max<std::size_t>(64, line.size() + 1), '\0');
        std::copy(line.begin(), line.end(), buffer.begin());
        calculate(buffer.data(), tables_);
        return buffer.data();
    }

    SymbolTables& tables() { return tables_; }

private:
    SymbolTables tables_;
};

}  // namespace kx::test
