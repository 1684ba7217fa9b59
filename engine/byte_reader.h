// A bounded reader over loaded bytes. Every read of stream data goes through it, so the end of the
// data is handled in one place: a read that would pass the end consumes nothing and fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace qzm {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size, std::size_t position)
        : m_data(data), m_size(size), m_position(position <= size ? position : size) {}

    std::size_t Position() const { return m_position; }

    bool Byte(std::uint8_t& out) {
        if (m_position >= m_size) {
            return false;
        }
        out = m_data[m_position++];
        return true;
    }

    bool Peek(std::uint8_t& out) const {
        if (m_position >= m_size) {
            return false;
        }
        out = m_data[m_position];
        return true;
    }

    bool Bytes(std::uint8_t* out, std::size_t count) {
        if (count > m_size - m_position) {
            return false;
        }
        std::memcpy(out, m_data + m_position, count);
        m_position += count;
        return true;
    }

    bool Skip(std::size_t count) {
        if (count > m_size - m_position) {
            return false;
        }
        m_position += count;
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position;
};

}  // namespace qzm
