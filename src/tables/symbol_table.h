// SymbolTable: one name table, mapping an exact byte-string key to a value.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kx {

// Keys compare byte by byte (std::string's ordering); lookups take string views so that
// the evaluator never builds a string to find a name. Every lookup copies the value out.
template <class Value>
class SymbolTable {
public:
    std::optional<Value> find(std::string_view key) const {
        const auto it = entries_.find(key);
        if (it == entries_.end()) return std::nullopt;
        return it->second;
    }

    // Adds the key unless it is present; an existing entry is left unchanged.
    bool insertIfAbsent(std::string_view key, const Value& value) {
        return entries_.try_emplace(std::string(key), value).second;
    }

    // Adds the key, or overwrites the value of an existing one.
    void assign(std::string_view key, const Value& value) {
        const auto it = entries_.find(key);
        if (it != entries_.end()) {
            it->second = value;
            return;
        }
        entries_.emplace(std::string(key), value);
    }

    // The value under key; a missing key is first added with a value-initialised Value.
    Value getOrCreate(std::string_view key) {
        if (auto found = find(key)) return *found;
        return entries_.emplace(std::string(key), Value{}).first->second;
    }

    void clear() { entries_.clear(); }
    std::size_t size() const { return entries_.size(); }

    template <class Visit>
    void forEachKey(Visit visit) const {
        for (const auto& [key, value] : entries_) visit(std::string_view(key));
    }

private:
    std::map<std::string, Value, std::less<>> entries_;
};

}  // namespace kx
