// SymbolTable: one name table, mapping an exact byte-string key to a value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kx {

// A key prepared for lookups: its hash, and its first eight bytes as one word, so that a
// short key (every name of the language) is compared without a call to memcmp. The
// evaluator prepares a name once and looks it up in up to three tables.
struct LookupKey {
    std::string_view text;
    std::uint64_t head;  // the first bytes, the first in the lowest byte, zero-padded
    std::uint64_t hash;

    explicit LookupKey(std::string_view key) : text(key), head(headOf(key)), hash(hashOf(key, head)) {}

private:
    static std::uint64_t headOf(std::string_view key) {
        std::uint64_t head = 0;
        const std::size_t count = key.size() < sizeof head ? key.size() : sizeof head;
        for (std::size_t k = 0; k < count; ++k) head |= std::uint64_t{static_cast<unsigned char>(key[k])} << (8 * k);
        return head;
    }

    // A multiplicative mix of the head and the length; bytes past the eighth are folded
    // in by FNV-1a.
    static std::uint64_t hashOf(std::string_view key, std::uint64_t head) {
        std::uint64_t hash = (head ^ (std::uint64_t{key.size()} << 59)) * 0x9e3779b97f4a7c15u;
        for (std::size_t k = sizeof head; k < key.size(); ++k) {
            hash = (hash ^ static_cast<unsigned char>(key[k])) * 0x100000001b3u;
        }
        return hash ^ (hash >> 29);
    }
};

// An open-addressing hash table with linear probing, kept at most half full. A lookup
// hashes the key once and usually compares one stored key, which is what the evaluator
// needs for every name it reads; lookups take string views, so no string is built to
// find a name. It holds any number of keys and grows by doubling. Insertions give the
// strong guarantee: when memory runs out the table is unchanged. It holds the tables that
// no call changes (constants, functions, operators): an insertion must not overlap a
// lookup. The variables, which calls change, live in a VariableTable.
// Every lookup that returns a value copies it out; findEntry gives a pointer that stays
// valid until the next insertion, for readers that copy at once. A key of one byte (an
// operator, a sign, a one-letter name) is found through a direct index by that byte.
template <class Value>
class SymbolTable {
public:
    SymbolTable() = default;
    // The one-byte index points into the table's own slots.
    SymbolTable(const SymbolTable&) = delete;
    SymbolTable& operator=(const SymbolTable&) = delete;

    std::optional<Value> find(std::string_view key) const {
        if (const Value* value = findEntry(key)) return *value;
        return std::nullopt;
    }

    const Value* findEntry(std::string_view key) const { return findEntry(LookupKey(key)); }

    const Value* findEntry(const LookupKey& key) const {
        const Slot* slot = locate(key);
        return slot ? &slot->value : nullptr;
    }

    // Adds the key unless it is present; an existing entry is left unchanged.
    bool insertIfAbsent(std::string_view key, const Value& value) {
        if (findEntry(key)) return false;
        add(LookupKey(key), value);
        return true;
    }

    // Adds the key, or overwrites the value of an existing one.
    void assign(std::string_view key, const Value& value) {
        const LookupKey wanted(key);
        if (const Slot* found = locate(wanted)) {
            slots_[static_cast<std::size_t>(found - slots_.data())].value = value;
            return;
        }
        add(wanted, value);
    }

    // The value under key; a missing key is first added with a value-initialised Value.
    Value getOrCreate(std::string_view key) {
        if (const Value* found = findEntry(key)) return *found;
        add(LookupKey(key), Value{});
        return Value{};
    }

    void clear() {
        slots_.clear();
        slots_.shrink_to_fit();
        mask_ = 0;
        size_ = 0;
        oneByteSlots_.fill(nullptr);
    }
    std::size_t size() const { return size_; }

    template <class Visit>
    void forEachKey(Visit visit) const {
        for (const Slot& slot : slots_) {
            if (slot.used) visit(std::string_view(slot.key));
        }
    }

private:
    struct Slot {
        std::string key;
        Value value{};
        std::uint64_t head = 0;
        std::uint64_t hash = 0;
        bool used = false;

        bool holds(const LookupKey& wanted) const {
            return used && hash == wanted.hash && head == wanted.head && key.size() == wanted.text.size() &&
                   (key.size() <= sizeof head || std::string_view(key).substr(sizeof head) == wanted.text.substr(sizeof head));
        }
    };

    // The slot that holds key, or null.
    const Slot* locate(const LookupKey& key) const {
        if (key.text.size() == 1) return oneByteSlots_[static_cast<unsigned char>(key.text[0])];
        if (slots_.empty()) return nullptr;
        for (std::size_t at = key.hash & mask_;; at = (at + 1) & mask_) {
            const Slot& slot = slots_[at];
            if (!slot.used) return nullptr;
            if (slot.holds(key)) return &slot;
        }
    }

    // Puts the slot in the first free place of its probe sequence; returns that place.
    static std::size_t place(std::vector<Slot>& slots, Slot&& slot) {
        const std::size_t mask = slots.size() - 1;
        std::size_t at = slot.hash & mask;
        while (slots[at].used) at = (at + 1) & mask;
        slots[at] = std::move(slot);
        return at;
    }

    void noteOneByteKey(const Slot& slot) {
        if (slot.key.size() == 1) oneByteSlots_[static_cast<unsigned char>(slot.key[0])] = &slot;
    }

    // The key is known to be absent. Everything that can throw happens before the table
    // changes: the larger slot array and the key's copy are made first.
    void add(const LookupKey& key, const Value& value) {
        Slot slot{std::string(key.text), value, key.head, key.hash, true};
        if ((size_ + 1) * 2 > slots_.size()) {
            std::vector<Slot> larger(slots_.empty() ? minimumSlots : slots_.size() * 2);
            for (Slot& old : slots_) {
                if (old.used) place(larger, std::move(old));
            }
            slots_.swap(larger);
            mask_ = slots_.size() - 1;
            for (const Slot& moved : slots_) {
                if (moved.used) noteOneByteKey(moved);
            }
        }
        const std::size_t at = place(slots_, std::move(slot));
        noteOneByteKey(slots_[at]);
        ++size_;
    }

    static constexpr std::size_t minimumSlots = 16;

    std::vector<Slot> slots_;  // a power of two in size, or empty
    std::size_t mask_ = 0;     // slots_.size() - 1, kept so that a probe needs no division
    std::size_t size_ = 0;
    std::array<const Slot*, 256> oneByteSlots_{};  // the slot of each one-byte key, or null
};

}  // namespace kx
