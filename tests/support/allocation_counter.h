// Counts the allocations made through operator new in this program, so that a test or benchmark can
// tell how many a frame costs. Include it in exactly one file of the program: it replaces the
// program's global allocation functions.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

namespace qzm::testing {
inline std::atomic<long> g_allocations{0};
}  // namespace qzm::testing

// The replacements pair malloc with free; the compiler cannot see that they belong together.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
    qzm::testing::g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
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
