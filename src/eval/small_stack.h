// SmallStack: a LIFO stack of trivially copyable values that lives inline for shallow
// expressions and moves to the heap only when a line nests deeper than its inline capacity.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <type_traits>

namespace kx {

template <class T, std::size_t InlineCapacity>
class SmallStack {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    SmallStack() = default;
    SmallStack(const SmallStack&) = delete;
    SmallStack& operator=(const SmallStack&) = delete;

    bool empty() const { return top_ == base_; }
    std::size_t size() const { return static_cast<std::size_t>(top_ - base_); }
    T& top() { return top_[-1]; }
    const T& top() const { return top_[-1]; }
    void pop() { --top_; }

    void push(const T& value) {
        if (top_ == limit_) grow();
        *top_++ = value;
    }

private:
    void grow() {
        const std::size_t size = this->size();
        const std::size_t capacity = 2 * static_cast<std::size_t>(limit_ - base_);
        auto storage = std::make_unique_for_overwrite<T[]>(capacity);
        std::copy_n(base_, size, storage.get());
        heap_ = std::move(storage);
        base_ = heap_.get();
        top_ = base_ + size;
        limit_ = base_ + capacity;
    }

    // The values are base_[0] up to top_[-1]; the storage ends at limit_. Pointers rather
    // than a count, so that a push or a pop is one pointer step.
    std::array<T, InlineCapacity> inline_;
    std::unique_ptr<T[]> heap_;
    T* base_ = inline_.data();
    T* top_ = base_;
    T* limit_ = base_ + InlineCapacity;
};

}  // namespace kx
