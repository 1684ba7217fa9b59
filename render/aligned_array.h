// A fixed-size array on a 64-byte boundary, for the frame buffer and the blend table: whole cache
// lines, and whole-register loads and stores that never straddle one.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace qzm {

template <class T>
class AlignedArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    static constexpr std::align_val_t kAlignment{64};

    AlignedArray() = default;
    // The elements start uninitialised.
    explicit AlignedArray(std::size_t count)
        : m_data(static_cast<T*>(::operator new[](count * sizeof(T), kAlignment))), m_size(count) {}
    ~AlignedArray() { Release(); }

    AlignedArray(AlignedArray&& other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)) {}
    AlignedArray& operator=(AlignedArray&& other) noexcept {
        if (this != &other) {
            Release();
            m_data = std::exchange(other.m_data, nullptr);
            m_size = std::exchange(other.m_size, 0);
        }
        return *this;
    }
    AlignedArray(const AlignedArray&) = delete;
    AlignedArray& operator=(const AlignedArray&) = delete;

    T* data() { return m_data; }
    const T* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T& operator[](std::size_t i) { return m_data[i]; }
    const T& operator[](std::size_t i) const { return m_data[i]; }

private:
    void Release() {
        if (m_data != nullptr) {
            ::operator delete[](m_data, kAlignment);
        }
        m_data = nullptr;
        m_size = 0;
    }

    T* m_data = nullptr;
    std::size_t m_size = 0;
};

}  // namespace qzm
