#include "robustness/failing_allocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

constexpr long disarmed = -1;
std::atomic<long> allowedAllocations{disarmed};
std::atomic<std::size_t> refusals{0};

void* allocate(std::size_t size) {
    long allowed = allowedAllocations.load();
    while (allowed != disarmed) {
        if (allowed == 0) {
            ++refusals;
            throw std::bad_alloc();
        }
        if (allowedAllocations.compare_exchange_weak(allowed, allowed - 1)) break;
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}

}  // namespace

namespace kx::test {

void failAllocationsAfter(std::size_t successes) {
    refusals = 0;
    allowedAllocations = static_cast<long>(successes);
}

void allowAllocations() { allowedAllocations = disarmed; }

std::size_t refusedAllocations() { return refusals; }

}  // namespace kx::test

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
