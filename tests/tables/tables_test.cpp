// The name tables: initial contents, their order of building, the vocabulary they and every
// other list of names come from, and the load notifications.
#include <algorithm>
#include <fstream>
#include <regex>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "complex/arithmetic.h"
#include "kxcalc/help_text.h"
#include "support/float_bits.h"
#include "tables/loader_notification.h"
#include "tables/symbol_tables.h"
#include "tables/table_entries.h"
#include "tables/vocabulary.h"

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

// The builder inserts the records in the vocabulary's order: the circular, inverse and
// exponential functions, the prefix signs; then "^" and the arithmetic operators.
TEST(build_tables, the_whole_vocabulary_in_its_fixed_order) {
    const std::vector<std::string> functions = keysOf({kx::functionEntries()});
    const std::vector<std::string> expectedFunctions{
        "sin",   "cos",   "tan",   "sec",   "csc",   "cot",   "sinh",  "cosh",  "tanh",  "sech", "csch",
        "coth",  "asin",  "acos",  "atan",  "asec",  "acsc",  "acot",  "asinh", "acosh", "atanh", "asech",
        "acsch", "acoth", "sqrt",  "exp",   "ln",    "log",   "abs",   "+",     "-"};
    EXPECT_EQ(functions, expectedFunctions);
    const std::vector<std::string> operators = keysOf({kx::operatorEntries()});
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

std::vector<std::string> asStrings(std::span<const std::string_view> names) {
    return {names.begin(), names.end()};
}

std::string projectFile(const std::string& path) {
    std::ifstream file(std::string(KX_PROJECT_DIR) + "/" + path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// What follows the first `from` in text, up to the next `to`; empty when there is no `from`.
std::string between(std::string_view text, std::string_view from, std::string_view to) {
    const std::size_t start = text.find(from);
    if (start == std::string_view::npos) return {};
    const std::size_t begin = start + from.size();
    return std::string(text.substr(begin, text.find(to, begin) - begin));
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> found;
    for (std::string word; stream >> word;)
        if (!word.starts_with(".")) found.push_back(word);  // a manual page's requests are not words
    return found;
}

std::vector<std::string> quoted(const std::string& text) {
    const std::regex quote("'([^']*)'");
    std::vector<std::string> found;
    for (auto match = std::sregex_iterator(text.begin(), text.end(), quote); match != std::sregex_iterator(); ++match)
        found.push_back((*match)[1]);
    return found;
}

// The words of a page's <code> elements; a "…" between two stands for the function names
// between them in the vocabulary.
std::vector<std::string> codeWords(const std::string& html) {
    const std::regex token("<code>([^<]*)</code>|…");
    const std::vector<std::string> functions = asStrings(kx::vocabulary::functionNames);
    std::vector<std::string> found;
    bool range = false;
    for (auto match = std::sregex_iterator(html.begin(), html.end(), token); match != std::sregex_iterator(); ++match) {
        if (!(*match)[1].matched) {
            range = !found.empty();
            continue;
        }
        for (const std::string& word : words((*match)[1])) {
            const auto from = std::find(functions.begin(), functions.end(), found.empty() ? "" : found.back());
            const auto to = std::find(functions.begin(), functions.end(), word);
            if (range && from < to) found.insert(found.end(), from + 1, to);
            range = false;
            found.push_back(word);
        }
    }
    return found;
}

// Every list of the calculator's names is the vocabulary's, so a name added in one place and
// not the others fails here: the tables' records, the page's completion and help, the host's
// help and the manual page. The hosts' completion and the Python package take their names
// from the vocabulary itself.
TEST(vocabulary, every_list_of_names_is_the_vocabulary) {
    namespace vocabulary = kx::vocabulary;
    const std::vector<std::string> functions = asStrings(vocabulary::functionNames);
    const std::vector<std::string> constants = asStrings(vocabulary::constantNames);
    const std::string tolerance(vocabulary::toleranceName);

    std::vector<std::string> prefixKeys = functions;
    prefixKeys.insert(prefixKeys.end(), vocabulary::prefixSignNames.begin(), vocabulary::prefixSignNames.end());
    EXPECT_EQ(keysOf({kx::functionEntries()}), prefixKeys);
    for (const kx::TableEntry& record : kx::functionEntries()) {
        EXPECT_EQ(record.entry.precedence, vocabulary::prefixPrecedence) << record.key;
        EXPECT_EQ(record.entry.rightAssoc != 0, vocabulary::prefixRightAssociative) << record.key;
    }
    const std::span<const kx::TableEntry> operators = kx::operatorEntries();
    ASSERT_EQ(operators.size(), vocabulary::infixOperators.size());
    for (std::size_t k = 0; k < operators.size(); ++k) {
        EXPECT_EQ(operators[k].key, vocabulary::infixOperators[k].symbol);
        EXPECT_EQ(operators[k].entry.precedence, vocabulary::infixOperators[k].precedence) << operators[k].key;
        EXPECT_EQ(operators[k].entry.rightAssoc != 0, vocabulary::infixOperators[k].rightAssociative) << operators[k].key;
    }

    const std::string script = projectFile("web/calculator.js");
    EXPECT_EQ(quoted(between(script, "const functionNames = [", "];")), functions);
    EXPECT_EQ(quoted(between(script, "const constantNames = [", "];")), constants);
    EXPECT_EQ(quoted(between(script, "const variables = new Map([[", ",")), std::vector{tolerance});
    const std::string page = projectFile("web/index.html");
    EXPECT_EQ(codeWords(between(page, "<dt>Functions</dt><dd>", "; brackets")), functions);
    EXPECT_EQ(codeWords(between(page, "<dt>Constants</dt><dd>", ";")), constants);
    EXPECT_EQ(std::ranges::count(codeWords(between(page, "<dt>Variables</dt><dd>", "</dd>")), tolerance), 1);

    const std::string help(kxcalc::helpText);
    EXPECT_EQ(words(between(help, "Functions", "brackets optional")), functions);
    EXPECT_EQ(words(between(help, "Constants", "Names ignore case")), constants);
    EXPECT_EQ(std::ranges::count(words(between(help, "Variables", "Results")), tolerance), 1);
    EXPECT_EQ(words(between(projectFile("doc/kxcalc.1"), ".B Functions\n", "\nA function takes")), functions);
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
