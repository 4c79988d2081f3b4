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

    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }
    T& top() { return data_[size_ - 1]; }
    const T& top() const { return data_[size_ - 1]; }
    void pop() { --size_; }

    void push(const T& value) {
        if (size_ == capacity_) grow();
        data_[size_++] = value;
    }

private:
    void grow() {
        const std::size_t capacity = capacity_ * 2;
        auto storage = std::make_unique_for_overwrite<T[]>(capacity);
        std::copy_n(data_, size_, storage.get());
        heap_ = std::move(storage);
        data_ = heap_.get();
        capacity_ = capacity;
    }

    std::array<T, InlineCapacity> inline_;
    std::unique_ptr<T[]> heap_;
    T* data_ = inline_.data();
    std::size_t size_ = 0;
    std::size_t capacity_ = InlineCapacity;
};

}  // namespace kx
