// A Spectrum screen as the player shows it, worked out pixel by pixel from the screen's layout: the
// reference for the screen conversion and for the pictures that the encoder and qzmtool make.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "qzm_format.h"

namespace qzm::testing {

// The colour number of pixel (x, y), y counted from the top: the ink where its bit is set, else the paper.
inline int ShownColour(std::span<const std::uint8_t> s, int x, int y) {
    const std::size_t offset = ((y / 64) * 2048) + ((y % 8) * 256) + (((y / 8) % 8) * 32) + x / 8;
    const std::uint8_t attribute = s[kBitmapBytes + (y / 8) * 32 + x / 8];
    return ((s[offset] >> (7 - x % 8)) & 1) != 0 ? attribute & 7 : (attribute >> 3) & 7;
}

// The whole screen in RGB, top row first, each channel 0 or 255 (BRIGHT is not shown).
inline std::vector<std::uint8_t> ShownRgb(std::span<const std::uint8_t> s) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < 192; ++y) {
        for (int x = 0; x < 256; ++x) {
            const int c = ShownColour(s, x, y);
            for (const int bit : {2, 4, 1}) {
                rgb.push_back((c & bit) != 0 ? 255 : 0);
            }
        }
    }
    return rgb;
}

}  // namespace qzm::testing
