// What the render tests share: the weight curves, a test image, and a reference for the renderers
// computed pixel by pixel straight from the definitions, with none of the renderers' tables, maps or
// shortcuts: the fixed-point position of every output pixel, its four neighbours read in the
// image's memory order, and the channel mixes done in place.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "indexed_image.h"
#include "renderer.h"

namespace qzm::testing {

using Curve = std::array<std::uint8_t, 8>;

// The weights the curves of filters 1 (linear), 2 (quadratic) and 3 (cubic) must give.
inline constexpr std::array<Curve, 4> kCurves{{
    {},
    {0, 36, 72, 109, 145, 182, 218, 255},
    {0, 5, 20, 46, 83, 130, 187, 255},
    {0, 0, 5, 20, 47, 92, 160, 255},
}};

// A test name for a filter index parameter.
inline std::string FilterParamName(const ::testing::TestParamInfo<int>& info) {
    constexpr const char* kNames[] = {"Nearest", "Bilinear", "Biquadratic", "Bicubic"};
    return kNames[info.param];
}

// An IndexedImage on the heap in a block of exactly its size, so that a read past its guard is
// caught by AddressSanitizer. Starts all zero (black, guard included).
class TestImage {
public:
    std::uint8_t* data() { return m_bytes.get(); }
    const std::uint8_t* data() const { return m_bytes.get(); }
    // Colour number at stored row `row` (0 = bottom line) and column `column`.
    std::uint8_t& At(int row, int column) {
        return m_bytes[static_cast<std::size_t>(row) * kImageWidth + column];
    }
    // Every pixel of rows 0-191 random 0-7 from `seed`; the guard stays zero.
    static TestImage Random(unsigned seed) {
        TestImage image;
        std::mt19937 random(seed);
        for (std::size_t i = 0; i < kImagePixels; ++i) {
            image.m_bytes[i] = static_cast<std::uint8_t>(random() & 7u);
        }
        return image;
    }

private:
    std::unique_ptr<std::uint8_t[]> m_bytes = std::make_unique<std::uint8_t[]>(kIndexedImageBytes);
};

// One BlendTable entry from the definitions: the colour numbers at (r, c), (r + 1, c), (r, c + 1)
// and (r + 1, c + 1) mixed at eighths v and h. Each channel (colour bit 0 blue, 1 red, 2 green)
// mixes vertically in exact 255ths, weights[v] of it from row r + 1, then horizontally
// (right - left) * weights[h] / 256 toward column c + 1, the division truncating toward zero.
inline Pixel32 ReferenceMix(int rc, int r1c, int rc1, int r1c1, int v, int h, const Curve& weights) {
    const auto channel = [&](int bit) {
        const auto vertical = [&](int below, int above) {
            return ((below & bit) ? 255 - weights[v] : 0) + ((above & bit) ? weights[v] : 0);
        };
        const int left = vertical(rc, r1c);
        return static_cast<unsigned>(left + (vertical(rc1, r1c1) - left) * weights[h] / 256);
    };
    return MakePixel(channel(2), channel(4), channel(1));
}

// The output of filter `filter` (any index but 1-3 is nearest) at width x height, top row first as
// Pixels() holds it. Output pixel j of row i, rows counted from the bottom, lies at the 8.8
// fixed-point position (j * (65536 / width), i * (49152 / height)) of the picture: nearest shows
// the pixel there, the others mix it with its neighbours by the top three bits of the fractions.
inline std::vector<Pixel32> Reference(int filter, const std::uint8_t* image, int width, int height) {
    std::vector<Pixel32> out(static_cast<std::size_t>(width) * height);
    const unsigned xstep = 65536u / static_cast<unsigned>(width);
    const unsigned ystep = 49152u / static_cast<unsigned>(height);
    const bool blend = filter >= 1 && filter <= 3;
    for (int i = 0; i < height; ++i) {
        const unsigned y = static_cast<unsigned>(i) * ystep;
        for (int j = 0; j < width; ++j) {
            const unsigned x = static_cast<unsigned>(j) * xstep;
            const std::uint8_t* p = image + (y >> 8) * 256 + (x >> 8);
            const int v = static_cast<int>((y >> 5) & 7);
            const int h = static_cast<int>((x >> 5) & 7);
            out[static_cast<std::size_t>(height - 1 - i) * width + j] =
                blend ? ReferenceMix(p[0], p[256], p[1], p[257], v, h, kCurves[filter]) : ColourPixel(p[0]);
        }
    }
    return out;
}

// The pixel a renderer wrote at output column `column` of output row `row`, rows counted from the
// bottom as the scaling formulas count them.
inline Pixel32 OutputPixel(const CRenderer& renderer, int column, int row) {
    const int top = renderer.OutputHeight() - 1 - row;
    return renderer.Pixels()[static_cast<std::size_t>(top) * renderer.OutputWidth() + column];
}

}  // namespace qzm::testing
