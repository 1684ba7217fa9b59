#include "seek_cache.h"

#include <algorithm>
#include <cstring>

namespace qzm {

void SeekCache::Reset(unsigned frameCount) {
    const std::size_t slots = frameCount / kInterval + 1;
    if (m_slots.size() != slots) {
        m_slots.resize(slots);
    }
    for (DecoderSnapshot& slot : m_slots) {
        slot.frameIndex = 0;
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
    if (slot >= m_slots.size() || m_slots[slot].frameIndex == frameIndex) {
        return;
    }
    DecoderSnapshot& s = m_slots[slot];
    std::memcpy(s.screen.data(), screen, kScreenBytes);
    s.frameIndex = frameIndex;
    s.readOffset = readOffset;
    s.mode = mode;
}

const DecoderSnapshot* SeekCache::Nearest(std::uint64_t frameIndex) const {
    if (frameIndex == 0 || m_slots.empty()) {
        return nullptr;
    }
    std::size_t slot =
        static_cast<std::size_t>(std::min<std::uint64_t>(frameIndex / kInterval, m_slots.size() - 1));
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
