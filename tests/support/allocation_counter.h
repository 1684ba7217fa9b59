// Counts the allocations made through operator new in this program, aligned ones included, so that
// a test or benchmark can tell how many a frame costs; and can make large ones fail, as on a machine
// out of memory. Include it in exactly one file of the program: it replaces the program's global
// allocation functions.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace qzm::testing {
inline std::atomic<long> g_allocations{0};
// Allocations of more bytes than this throw std::bad_alloc.
inline std::atomic<std::size_t> g_failAbove{SIZE_MAX};

inline void* CountedAllocation(std::size_t size, std::size_t alignment) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (size > g_failAbove.load(std::memory_order_relaxed)) {
        throw std::bad_alloc();
    }
    size = size == 0 ? 1 : size;
    void* p = alignment > alignof(std::max_align_t)
                  ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
                  : std::malloc(size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}
}  // namespace qzm::testing

// The replacements pair malloc with free; the compiler cannot see that they belong together.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
    return qzm::testing::CountedAllocation(size, 0);
}
void* operator new[](std::size_t size) {
    return qzm::testing::CountedAllocation(size, 0);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return qzm::testing::CountedAllocation(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return qzm::testing::CountedAllocation(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
