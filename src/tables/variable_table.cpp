#include "tables/variable_table.h"

#include <algorithm>
#include <bit>
#include <thread>

namespace kx {
namespace {

constexpr std::size_t minimumIndexSize = 16;

}  // namespace

VariableTable::Slot::Slot(const LookupKey& key, Complex value)
    : key(key.text),
      head(key.head),
      hash(key.hash),
      re_(std::bit_cast<std::uint64_t>(value.re)),
      im_(std::bit_cast<std::uint64_t>(value.im)) {}

void VariableTable::Slot::waitForStore(int attempt) {
    if (attempt >= 64) std::this_thread::yield();
}

// The release stores of the parts keep the odd count before them; the last release store
// publishes both parts with the even count.
void VariableTable::Slot::store(Complex value) {
    std::uint64_t count = sequence_.load(std::memory_order_relaxed);
    for (int attempt = 0;; ++attempt) {
        if ((count & 1) == 0 &&
            sequence_.compare_exchange_weak(count, count + 1, std::memory_order_acquire, std::memory_order_relaxed)) {
            break;
        }
        waitForStore(attempt);
        count = sequence_.load(std::memory_order_relaxed);
    }
    re_.store(std::bit_cast<std::uint64_t>(value.re), std::memory_order_release);
    im_.store(std::bit_cast<std::uint64_t>(value.im), std::memory_order_release);
    sequence_.store(count + 2, std::memory_order_release);
}

VariableTable::Index::Index(std::size_t size) : mask(size - 1), entries(new std::atomic<Slot*>[size]()) {}

VariableTable::VariableTable() = default;
VariableTable::~VariableTable() = default;

void VariableTable::place(Index& index, Slot* slot, std::memory_order order) {
    std::size_t at = slot->hash & index.mask;
    while (index.entries[at].load(std::memory_order_relaxed) != nullptr) at = (at + 1) & index.mask;
    index.entries[at].store(slot, order);
}

void VariableTable::add(const LookupKey& key, Complex value) {
    auto slot = std::make_unique<Slot>(key, value);
    if (slots_.size() == slots_.capacity()) slots_.reserve(std::max<std::size_t>(minimumIndexSize, 2 * slots_.size()));
    Slot* const added = slot.get();
    if (key.text.size() == 1) {
        oneByteKeys_[static_cast<unsigned char>(key.text[0])].store(added, std::memory_order_release);
    } else {
        Index* const current = newest_.get();
        const std::size_t size = current == nullptr ? 0 : current->mask + 1;
        if ((indexed_ + 1) * 2 > size) {
            auto larger = std::make_unique<Index>(size == 0 ? minimumIndexSize : 2 * size);
            for (const std::unique_ptr<Slot>& old : slots_) {
                if (old->key.size() != 1) place(*larger, old.get(), std::memory_order_relaxed);
            }
            place(*larger, added, std::memory_order_relaxed);
            larger->retired = std::move(newest_);
            newest_ = std::move(larger);
            index_.store(newest_.get(), std::memory_order_release);  // publishes every entry
        } else {
            place(*current, added, std::memory_order_release);
        }
        ++indexed_;
    }
    if (key.text == vocabulary::toleranceName) toleranceSlot_.store(added, std::memory_order_release);
    slots_.push_back(std::move(slot));  // capacity was made above: cannot throw
}

bool VariableTable::insertIfAbsent(std::string_view key, Complex value) {
    const LookupKey wanted(key);
    const std::lock_guard lock(adding_);
    if (locate(wanted) != nullptr) return false;
    add(wanted, value);
    return true;
}

void VariableTable::assign(std::string_view key, Complex value) {
    const LookupKey wanted(key);
    if (Slot* slot = locate(wanted)) {
        slot->store(value);
        return;
    }
    const std::lock_guard lock(adding_);
    if (Slot* slot = locate(wanted)) {  // added by another thread meanwhile
        slot->store(value);
        return;
    }
    add(wanted, value);
}

Complex VariableTable::getOrCreate(std::string_view key) {
    const LookupKey wanted(key);
    if (const Slot* slot = locate(wanted)) return slot->load();
    const std::lock_guard lock(adding_);
    if (const Slot* slot = locate(wanted)) return slot->load();
    add(wanted, Complex{0.0, 0.0});
    return Complex{0.0, 0.0};
}

void VariableTable::clear() {
    const std::lock_guard lock(adding_);
    index_.store(nullptr, std::memory_order_relaxed);
    for (std::atomic<Slot*>& entry : oneByteKeys_) entry.store(nullptr, std::memory_order_relaxed);
    toleranceSlot_.store(nullptr, std::memory_order_relaxed);
    newest_.reset();
    slots_.clear();
    slots_.shrink_to_fit();
    indexed_ = 0;
}

std::size_t VariableTable::size() const {
    const std::lock_guard lock(adding_);
    return slots_.size();
}

}  // namespace kx
