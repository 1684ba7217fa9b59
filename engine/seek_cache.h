// Copies of the decoder's state taken every kInterval frames while a stream is decoded, so that a
// seek replays at most kInterval frames from the nearest copy instead of the whole stream.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "qzm_format.h"

namespace qzm {

struct DecoderSnapshot {
    std::array<std::uint8_t, kScreenBytes> screen;
    std::uint64_t frameIndex;  // frames decoded since the start; 0 = slot empty
    std::size_t readOffset;
    std::uint32_t mode;
};

class SeekCache {
public:
    static constexpr std::uint64_t kInterval = 256;

    // Forgets every copy and makes room for a stream of `frameCount` frames: slot 0 holds frame 1,
    // slot i frame i * kInterval. Frames past the count are never sought, so they are not kept.
    void Reset(unsigned frameCount);
    void Clear();

    // Keeps a copy if `frameIndex` is 1 or a multiple of kInterval within the frame count.
    void Record(std::uint64_t frameIndex, const std::uint8_t* screen, std::size_t readOffset,
                std::uint32_t mode);

    // The copy with the largest frame index not above `frameIndex`, or null.
    const DecoderSnapshot* Nearest(std::uint64_t frameIndex) const;
    const DecoderSnapshot* First() const { return Nearest(1); }

private:
    // Left uninitialised but for the frame index: a stream that is never sought far touches only
    // the first slots, and the pages of the rest are never used.
    std::unique_ptr<DecoderSnapshot[]> m_slots;
    std::size_t m_slotCount = 0;
    std::size_t m_capacity = 0;
};

}  // namespace qzm
