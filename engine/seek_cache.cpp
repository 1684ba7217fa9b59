#include "seek_cache.h"

#include <algorithm>
#include <cstring>

namespace qzm {

void SeekCache::Reset(unsigned frameCount) {
    m_slotCount = frameCount / kInterval + 1;
    if (m_slotCount > m_capacity) {
        m_slots.reset();
        m_slots = std::make_unique_for_overwrite<DecoderSnapshot[]>(m_slotCount);
        m_capacity = m_slotCount;
    }
    for (std::size_t i = 0; i < m_slotCount; ++i) {
        m_slots[i].frameIndex = 0;
    }
}

void SeekCache::Clear() {
    Reset(0);
}

void SeekCache::Record(std::uint64_t frameIndex, const std::uint8_t* screen, std::size_t readOffset,
                       std::uint32_t mode) {
    std::size_t slot = 0;
    if (frameIndex != 1) {
        if (frameIndex % kInterval != 0) {
            return;
        }
        slot = frameIndex / kInterval;
    }
    if (slot >= m_slotCount || m_slots[slot].frameIndex == frameIndex) {
        return;
    }
    DecoderSnapshot& s = m_slots[slot];
    std::memcpy(s.screen.data(), screen, kScreenBytes);
    s.frameIndex = frameIndex;
    s.readOffset = readOffset;
    s.mode = mode;
}

const DecoderSnapshot* SeekCache::Nearest(std::uint64_t frameIndex) const {
    if (frameIndex == 0 || m_slotCount == 0) {
        return nullptr;
    }
    std::size_t slot =
        static_cast<std::size_t>(std::min<std::uint64_t>(frameIndex / kInterval, m_slotCount - 1));
    for (;; --slot) {
        const DecoderSnapshot& s = m_slots[slot];
        if (s.frameIndex != 0 && s.frameIndex <= frameIndex) {
            return &s;
        }
        if (slot == 0) {
            return nullptr;
        }
    }
}

}  // namespace qzm
