// Shorthands for the engine tests: streams built in a few lines and views of the player's screen.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "stream_builder.h"
#include "stream_player.h"

namespace qzm::testing {

// A version-2 stream: the header, then whatever `body` writes.
inline std::vector<std::uint8_t> MakeStream(const std::function<void(StreamBuilder&)>& body,
                                            HeaderFields header = {}) {
    StreamBuilder b;
    b.Header(header);
    body(b);
    return b.Take();
}

// The eight pixel lines of the cell at bitmap address `address`.
inline CellLines CellAt(const CStreamPlayer& player, std::uint32_t address) {
    CellLines lines{};
    for (int k = 0; k < kCellLines; ++k) {
        lines[k] = player.Screen()[address + 256u * k];
    }
    return lines;
}

inline std::uint8_t AttributeAt(const CStreamPlayer& player, std::size_t index) {
    return player.Screen()[kBitmapBytes + index];
}

constexpr CellLines kZeroCell{};
constexpr CellLines Fill(std::uint8_t v) {
    return {v, v, v, v, v, v, v, v};
}

}  // namespace qzm::testing
