// The hashed name table: exact-key behaviour however many keys it holds and however they
// resemble one another (keys compare by their first eight bytes as one word, then the rest).
#include <charconv>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "core/complex.h"
#include "tables/symbol_table.h"

namespace {

using Table = kx::SymbolTable<kx::Complex>;

std::string variableName(int number) {
    char text[16] = "v";
    char* end = std::to_chars(text + 1, text + sizeof text, number).ptr;
    return std::string(text, end);
}

TEST(symbol_table, keys_that_share_a_prefix_or_differ_only_in_length_stay_apart) {
    Table table;
    const std::string keys[] = {"", "a", "ab", "abcdefgh", "abcdefghi", "abcdefghj", "abcdefghij",
                                std::string("abcdefgh\0", 9), std::string(1, '\0'), "ABCDEFGHI", std::string(300, 'q'), std::string(301, 'q')};
    double next = 1;
    for (const std::string& key : keys) EXPECT_TRUE(table.insertIfAbsent(key, {next++, 0})) << key;
    EXPECT_EQ(table.size(), std::size(keys));
    next = 1;
    for (const std::string& key : keys) {
        const auto found = table.find(key);
        ASSERT_TRUE(found) << key;
        EXPECT_EQ(found->re, next++) << key;
    }
    EXPECT_FALSE(table.find("abcdefg"));
    EXPECT_FALSE(table.find("abcdefghk"));
    EXPECT_FALSE(table.find(std::string(299, 'q')));
}

TEST(symbol_table, a_hundred_thousand_variables_are_kept_assigned_and_visited) {
    Table table;
    constexpr int count = 100000;
    for (int k = 0; k < count; ++k) table.assign(variableName(k), {static_cast<double>(k), 0});
    for (int k = 0; k < count; k += 7) table.assign(variableName(k), {-1.0 * k, 1});  // overwrite
    EXPECT_EQ(table.size(), static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        const auto found = table.find(variableName(k));
        ASSERT_TRUE(found) << k;
        EXPECT_EQ(found->re, k % 7 == 0 ? -1.0 * k : k);
    }
    std::set<std::string> visited;
    table.forEachKey([&](std::string_view key) { visited.emplace(key); });
    EXPECT_EQ(visited.size(), static_cast<std::size_t>(count));
    EXPECT_FALSE(table.find("v100000"));
}

TEST(symbol_table, one_byte_keys_are_found_after_the_table_grows_around_them) {
    Table table;
    for (const char* key : {"+", "-", "i", "e"}) table.insertIfAbsent(key, {static_cast<double>(key[0]), 0});
    for (int k = 0; k < 1000; ++k) table.assign(variableName(k), {-1, 0});
    for (const char* key : {"+", "-", "i", "e"}) {
        ASSERT_TRUE(table.find(key)) << key;
        EXPECT_EQ(table.find(key)->re, static_cast<double>(key[0]));
    }
    EXPECT_FALSE(table.find("*"));
    table.assign("-", {7, 0});
    EXPECT_EQ(table.find("-")->re, 7.0);
    EXPECT_EQ(table.size(), 1004u);
}

TEST(symbol_table, insert_if_absent_keeps_get_or_create_adds_clear_empties) {
    Table table;
    EXPECT_TRUE(table.insertIfAbsent("tol", {1e-10, 0}));
    EXPECT_FALSE(table.insertIfAbsent("tol", {5, 5}));
    EXPECT_EQ(table.find("tol")->re, 1e-10);
    EXPECT_EQ(table.getOrCreate("missing").re, 0.0);
    EXPECT_EQ(table.size(), 2u);
    table.clear();
    EXPECT_EQ(table.size(), 0u);
    EXPECT_FALSE(table.find("tol"));
    EXPECT_EQ(table.findEntry("tol"), nullptr);
    EXPECT_TRUE(table.insertIfAbsent("tol", {2, 0}));  // usable again after clearing
    EXPECT_EQ(table.find("tol")->re, 2.0);
}

}  // namespace
