// VariableTable: the one table that calls change, shared by any number of threads at once.
//
// Readers (every lookup of a variable and of "tol") take no lock, write no shared memory
// and allocate nothing:
//   - A name is found through the index, an array of slot pointers with open addressing and
//     linear probing, reached through one atomic pointer. The reader loads that pointer and
//     each entry it probes with acquire ordering and stops at the first empty entry, or at
//     the slot that holds the name. A one-byte name is found through a direct array of slot
//     pointers instead.
//   - A slot, once published, never moves and its key never changes until the tables are
//     cleared. Its value is two 64-bit patterns under a sequence count (a seqlock): the reader
//     loads the count, both patterns and the count again, and starts over when the count was
//     odd (a write in progress) or has changed. A value read is therefore whole: both parts
//     come from one store.
// Writers:
//   - Overwriting the value of a name that is present takes no lock and allocates nothing:
//     the writer turns the slot's count odd with a compare-and-swap (which also keeps a
//     second writer of the same slot out), stores both patterns, and stores the next even
//     count with release ordering. Two writers of one slot therefore leave one value whole.
//   - Adding a name takes a mutex that only adders take. Everything that can fail is done
//     first: the slot is allocated and filled, room is made in the list that owns the slots
//     and, when the index would pass half full, a larger index is allocated and filled with
//     every slot. Only then is the slot published: by one release store into an empty entry
//     of the current index, or by one release store of the larger index's pointer. Out of
//     memory before that point leaves the table as it was.
// Reclamation: a reader may still be probing an index that a larger one has replaced, so a
//   replaced index is not freed: the new index keeps it on a chain of retired indexes, and
//   the chain is freed when the tables are cleared at unload, when no call can be running.
//   Indexes double in size, so the retired ones together are smaller than the current one;
//   slots are freed at unload too. Memory stays proportional to the number of names, and
//   overwriting a value retires nothing, so no number of assignments makes it grow.
// Why this is safe: the only memory a reader touches is an index or a slot, and neither is
//   freed or moved while the library is loaded; a slot's key and hash are written before
//   the release store that publishes it, so a reader that sees the pointer sees them; the
//   index stays at most half full, so every probe meets an empty entry; and the sequence
//   count tells a reader when the two parts it read may come from different stores. Each
//   assignment takes effect at one store (the even count, or the pointer that publishes a
//   new slot) that every later reader's acquire load sees, so assignments are atomic and
//   linearizable: a call that starts after a set has returned sees its value.
//   Every shared word is a std::atomic of pointer or 64-bit size (lock-free on every target,
//   32-bit x86 included), so there is no data race in the language's sense either.
#pragma once

#include <array>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/complex.h"
#include "tables/symbol_table.h"
#include "tables/vocabulary.h"

namespace kx {

static_assert(std::atomic<std::uint64_t>::is_always_lock_free && std::atomic<void*>::is_always_lock_free,
              "readers must never wait on a lock inside an atomic");

class VariableTable {
public:
    VariableTable();
    ~VariableTable();
    VariableTable(const VariableTable&) = delete;
    VariableTable& operator=(const VariableTable&) = delete;

    // The value under key, read whole; no lock, no allocation.
    std::optional<Complex> find(const LookupKey& key) const {
        if (const Slot* slot = locate(key)) return slot->load();
        return std::nullopt;
    }
    std::optional<Complex> find(std::string_view key) const { return find(LookupKey(key)); }

    // Adds the key unless it is present; an existing entry is left unchanged.
    bool insertIfAbsent(std::string_view key, Complex value);

    // Adds the key, or overwrites the value of an existing one (without a lock or an
    // allocation when the key is present).
    void assign(std::string_view key, Complex value);

    // The value under key; a missing key is first added with the value 0.
    Complex getOrCreate(std::string_view key);

    // getOrCreate of "tol", the one name every call reads: its slot is kept at hand.
    Complex tolerance() {
        if (const Slot* slot = toleranceSlot_.load(std::memory_order_acquire)) return slot->load();
        return getOrCreate(vocabulary::toleranceName);
    }

    // Frees every slot and index. Only while no other call uses the table.
    void clear();

    std::size_t size() const;

    // Visits every key; only while no other thread adds names.
    template <class Visit>
    void forEachKey(Visit visit) const {
        const std::lock_guard lock(adding_);
        for (const std::unique_ptr<Slot>& slot : slots_) visit(std::string_view(slot->key));
    }

private:
    class Slot {
    public:
        Slot(const LookupKey& key, Complex value);

        bool holds(const LookupKey& wanted) const {
            return hash == wanted.hash && head == wanted.head && key.size() == wanted.text.size() &&
                   (key.size() <= sizeof head || std::string_view(key).substr(sizeof head) == wanted.text.substr(sizeof head));
        }

        // The acquire loads keep the second load of the count after both parts; a part
        // written by a store that began after the first load makes the count differ.
        Complex load() const {
            for (int attempt = 0;; ++attempt) {
                const std::uint64_t before = sequence_.load(std::memory_order_acquire);
                const std::uint64_t re = re_.load(std::memory_order_acquire);
                const std::uint64_t im = im_.load(std::memory_order_acquire);
                const std::uint64_t after = sequence_.load(std::memory_order_relaxed);
                if (before == after && (before & 1) == 0) return {std::bit_cast<double>(re), std::bit_cast<double>(im)};
                waitForStore(attempt);
            }
        }

        void store(Complex value);

        const std::string key;
        const std::uint64_t head;
        const std::uint64_t hash;

    private:
        // A store in progress: tries again at once a few times, then lets the storing
        // thread run (it may have been preempted in the middle of its three stores).
        static void waitForStore(int attempt);

        std::atomic<std::uint64_t> sequence_{0};  // odd while a store is in progress
        std::atomic<std::uint64_t> re_;           // the bit patterns of the two parts
        std::atomic<std::uint64_t> im_;
    };

    // An array of slot pointers, a power of two in size, with the index it replaced.
    struct Index {
        explicit Index(std::size_t size);
        std::size_t mask;
        std::unique_ptr<std::atomic<Slot*>[]> entries;
        std::unique_ptr<Index> retired;
    };

    Slot* locate(const LookupKey& key) const {
        if (key.text.size() == 1) {
            return oneByteKeys_[static_cast<unsigned char>(key.text[0])].load(std::memory_order_acquire);
        }
        const Index* index = index_.load(std::memory_order_acquire);
        if (index == nullptr) return nullptr;
        for (std::size_t at = key.hash & index->mask;; at = (at + 1) & index->mask) {
            Slot* slot = index->entries[at].load(std::memory_order_acquire);
            if (slot == nullptr || slot->holds(key)) return slot;
        }
    }

    static void place(Index& index, Slot* slot, std::memory_order order);
    // Adds a key known to be absent; the caller holds adding_.
    void add(const LookupKey& key, Complex value);

    std::atomic<Index*> index_{nullptr};  // what readers probe; owned by newest_
    std::array<std::atomic<Slot*>, 256> oneByteKeys_{};
    std::atomic<Slot*> toleranceSlot_{nullptr};

    // Only adders (holding adding_) and clear touch these.
    mutable std::mutex adding_;
    std::unique_ptr<Index> newest_;
    std::vector<std::unique_ptr<Slot>> slots_;  // every slot, in the order of adding
    std::size_t indexed_ = 0;                   // slots in the index (all but one-byte keys)
};

}  // namespace kx
