// The eight Spectrum colours as RGB levels, and the channel weights of the colour distance the
// encoder uses to choose between them.
#pragma once

#include <array>
#include <cstdint>

namespace qzm::encoder {

// Red, green, blue: green counts most, blue least, a cheap stand-in for how strongly the eye sees
// each channel.
inline constexpr std::array<int, 3> kChannelWeight = {3, 4, 2};

// Channel c (0 red, 1 green, 2 blue) of Spectrum colour k: bit 1 red, bit 2 green, bit 0 blue.
constexpr int ChannelBit(int k, int c) {
    return c == 0 ? (k >> 1) & 1 : c == 1 ? (k >> 2) & 1 : k & 1;
}
constexpr int ChannelValue(int k, int c) {
    return ChannelBit(k, c) * 255;
}

// A cell's 64 pixels, line by line, per channel: [channel][pixel].
using CellPixels = std::array<std::array<std::uint8_t, 64>, 3>;

}  // namespace qzm::encoder
