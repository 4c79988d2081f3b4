// The name tables: initial contents, their order of building, and the load notifications.
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "complex/arithmetic.h"
#include "complex/circular.h"
#include "complex/exponential.h"
#include "complex/inverse.h"
#include "support/float_bits.h"
#include "tables/loader_notification.h"
#include "tables/symbol_tables.h"

namespace {

using kx::test::sameComplex;

TEST(build_tables, constants_and_tolerance_hold_their_initial_values) {
    kx::SymbolTables tables;
    kx::buildTables(tables);
    EXPECT_TRUE(sameComplex(*tables.constants.find("i"), {0.0, 1.0}));
    EXPECT_TRUE(sameComplex(*tables.constants.find("pi"), {3.141592653589793, 0.0}));
    EXPECT_TRUE(sameComplex(*tables.constants.find("e"), {2.718281828459045, 0.0}));
    EXPECT_TRUE(sameComplex(*tables.variables.find("tol"), {1e-10, 0.0}));
    EXPECT_EQ(tables.constants.size(), 3u);
    EXPECT_EQ(tables.variables.size(), 1u);
}

TEST(build_tables, arithmetic_records_bind_their_operations) {
    kx::SymbolTables tables;
    kx::buildTables(tables);
    const struct {
        const char* key;
        int precedence;
        int rightAssoc;
        kx::BinaryFunction function;
    } infix[] = {{"+", 2, 0, kx::add},      {"-", 2, 0, kx::subtract}, {"*", 4, 0, kx::multiply},
                 {"/", 4, 0, kx::divide},   {"%", 4, 0, kx::remainder}};
    for (const auto& expected : infix) {
        const auto entry = tables.operators.find(expected.key);
        ASSERT_TRUE(entry) << expected.key;
        EXPECT_EQ(entry->precedence, expected.precedence) << expected.key;
        EXPECT_EQ(entry->rightAssoc, expected.rightAssoc) << expected.key;
        EXPECT_EQ(entry->depth, 0) << expected.key;
        EXPECT_EQ(entry->kind, kx::OperatorKind::Infix) << expected.key;
        EXPECT_EQ(entry->function.binary, expected.function) << expected.key;
    }
    const auto plus = tables.functions.find("+");
    const auto minus = tables.functions.find("-");
    ASSERT_TRUE(plus && minus);
    EXPECT_EQ(plus->function.unary, kx::prefixPlus);
    EXPECT_EQ(minus->function.unary, kx::negate);
}

TEST(build_tables, every_function_record_is_a_right_associative_prefix_of_precedence_six) {
    kx::SymbolTables tables;
    kx::buildTables(tables);
    std::vector<std::string> keys;
    tables.functions.forEachKey([&](std::string_view key) { keys.emplace_back(key); });
    ASSERT_FALSE(keys.empty());
    for (const std::string& key : keys) {
        const auto entry = tables.functions.find(key);
        EXPECT_EQ(entry->precedence, 6) << key;
        EXPECT_EQ(entry->rightAssoc, 1) << key;
        EXPECT_EQ(entry->depth, 0) << key;
        EXPECT_EQ(entry->kind, kx::OperatorKind::Prefix) << key;
        EXPECT_NE(entry->function.unary, nullptr) << key;
    }
}

std::vector<std::string> keysOf(std::initializer_list<std::span<const kx::TableEntry>> lists) {
    std::vector<std::string> keys;
    for (const auto& list : lists)
        for (const kx::TableEntry& record : list) keys.emplace_back(record.key);
    return keys;
}

// The builder inserts the families' records in the order they list them: circular,
// inverse, exponential, the prefix signs; then "^" and the arithmetic operators.
TEST(build_tables, the_whole_vocabulary_in_its_fixed_order) {
    const std::vector<std::string> functions = keysOf({kx::circularFunctionEntries(), kx::inverseFunctionEntries(),
                                                       kx::exponentialFunctionEntries(), kx::prefixSignEntries()});
    const std::vector<std::string> expectedFunctions{
        "sin",   "cos",   "tan",   "sec",   "csc",   "cot",   "sinh",  "cosh",  "tanh",  "sech", "csch",
        "coth",  "asin",  "acos",  "atan",  "asec",  "acsc",  "acot",  "asinh", "acosh", "atanh", "asech",
        "acsch", "acoth", "sqrt",  "exp",   "ln",    "log",   "abs",   "+",     "-"};
    EXPECT_EQ(functions, expectedFunctions);
    const std::vector<std::string> operators = keysOf({kx::powerOperatorEntries(), kx::arithmeticOperatorEntries()});
    EXPECT_EQ(operators, (std::vector<std::string>{"^", "+", "-", "*", "/", "%"}));

    kx::SymbolTables tables;
    kx::buildTables(tables);
    EXPECT_EQ(tables.constants.size(), 3u);
    EXPECT_EQ(tables.variables.size(), 1u);
    EXPECT_EQ(tables.functions.size(), 31u);
    EXPECT_EQ(tables.operators.size(), 6u);
    for (const std::string& key : expectedFunctions) EXPECT_TRUE(tables.functions.find(key)) << key;
    const auto power = tables.operators.find("^");
    ASSERT_TRUE(power);
    EXPECT_EQ(power->kind, kx::OperatorKind::InfixPower);
    EXPECT_EQ(power->precedence, 6);
    EXPECT_EQ(power->rightAssoc, 1);
}

TEST(build_tables, building_twice_changes_nothing) {
    kx::SymbolTables tables;
    kx::buildTables(tables);
    tables.variables.assign("tol", {0.5, 0.0});
    kx::buildTables(tables);  // insert-if-absent leaves existing keys alone
    EXPECT_TRUE(sameComplex(*tables.variables.find("tol"), {0.5, 0.0}));
    EXPECT_EQ(tables.variables.size(), 1u);
}

TEST(clear_tables, empties_all_four) {
    kx::SymbolTables tables;
    kx::buildTables(tables);
    tables.variables.assign("x", {1, 2});
    kx::clearTables(tables);
    EXPECT_EQ(tables.constants.size(), 0u);
    EXPECT_EQ(tables.variables.size(), 0u);
    EXPECT_EQ(tables.functions.size(), 0u);
    EXPECT_EQ(tables.operators.size(), 0u);
}

struct TableSizes {
    std::size_t constants, variables, functions, operators;
    bool operator==(const TableSizes&) const = default;
};

TableSizes sizesOf(const kx::SymbolTables& tables) {
    return {tables.constants.size(), tables.variables.size(), tables.functions.size(), tables.operators.size()};
}

// The unit tests link the library's objects without its load hooks, so the library's own
// tables start empty here and only these notifications change them.
TEST(loader_notification, each_reason_does_what_the_loader_table_says) {
    kx::SymbolTables& tables = kx::symbolTables();
    ASSERT_EQ(sizesOf(tables), (TableSizes{0, 0, 0, 0}));

    EXPECT_TRUE(kx::handleLoaderNotification(1));  // process attach
    const TableSizes loaded = sizesOf(tables);
    EXPECT_EQ(loaded.constants, 3u);
    EXPECT_EQ(loaded.variables, 1u);
    EXPECT_GT(loaded.functions, 0u);
    EXPECT_GT(loaded.operators, 0u);

    tables.variables.assign("x", {7, 0});
    EXPECT_TRUE(kx::handleLoaderNotification(2));  // thread attach
    EXPECT_TRUE(kx::handleLoaderNotification(3));  // thread detach
    EXPECT_TRUE(kx::handleLoaderNotification(42));  // unknown: ignored
    EXPECT_TRUE(sameComplex(*tables.variables.find("x"), {7, 0}));
    EXPECT_EQ(sizesOf(tables).functions, loaded.functions);

    EXPECT_TRUE(kx::handleLoaderNotification(0));  // process detach
    EXPECT_EQ(sizesOf(tables), (TableSizes{0, 0, 0, 0}));

    EXPECT_TRUE(kx::handleLoaderNotification(1));  // a fresh attach starts from the initial contents
    EXPECT_EQ(sizesOf(tables), loaded);
    EXPECT_FALSE(tables.variables.find("x"));
    EXPECT_TRUE(sameComplex(*tables.variables.find("tol"), {1e-10, 0.0}));
    kx::handleLoaderNotification(0);
}

}  // namespace
