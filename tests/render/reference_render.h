// A reference for the renderers, computed pixel by pixel straight from the definitions, with none
// of the renderers' tables, maps or shortcuts: the fixed-point position of every output pixel, its
// four neighbours read in the image's memory order, and the channel mixes done in place.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "indexed_image.h"
#include "renderer.h"

namespace qzm::testing {

// The weights each curve must give.
inline constexpr std::array<std::uint8_t, 8> kLinearWeights{0, 36, 72, 109, 145, 182, 218, 255};
inline constexpr std::array<std::uint8_t, 8> kQuadraticWeights{0, 5, 20, 46, 83, 130, 187, 255};
inline constexpr std::array<std::uint8_t, 8> kCubicWeights{0, 0, 5, 20, 47, 92, 160, 255};

// A test name for a filter index parameter: "Nearest", "Bilinear", "Biquadratic" or "Bicubic".
template <class ParamInfo>
std::string FilterParamName(const ParamInfo& info) {
    constexpr const char* kNames[] = {"Nearest", "Bilinear", "Biquadratic", "Bicubic"};
    return kNames[info.param];
}

// The weights of filter 1, 2 or 3.
const std::array<std::uint8_t, 8>& CurveOfFilter(int filter);

// An IndexedImage on the heap in a block of exactly its size, so that a read past its guard is
// caught by AddressSanitizer. Starts all zero (black, guard included).
class TestImage {
public:
    TestImage();
    std::uint8_t* data() { return m_bytes.get(); }
    const std::uint8_t* data() const { return m_bytes.get(); }
    // Colour number at stored row `row` (0 = bottom line) and column `column`.
    std::uint8_t& At(int row, int column);
    // Every pixel of rows 0-191 random 0-7 from `seed`; the guard stays zero.
    static TestImage Random(unsigned seed);

private:
    std::unique_ptr<std::uint8_t[]> m_bytes;
};

// The expected output, top row first, as the renderers' Pixels() hold it.
std::vector<Pixel32> ReferenceNearest(const std::uint8_t* image, int width, int height);
std::vector<Pixel32> ReferenceBlend(const std::uint8_t* image, int width, int height,
                                    const std::array<std::uint8_t, 8>& weights);

// One BlendTable entry from the definitions: the colour numbers at (r, c), (r + 1, c), (r, c + 1)
// and (r + 1, c + 1) mixed at eighths v and h.
Pixel32 ReferenceMix(int rc, int r1c, int rc1, int r1c1, int v, int h,
                     const std::array<std::uint8_t, 8>& weights);

// The pixel a renderer wrote at output column `column` of output row `row`, rows counted from the
// bottom as the scaling formulas count them.
inline Pixel32 OutputPixel(const CRenderer& renderer, int column, int row) {
    const int top = renderer.OutputHeight() - 1 - row;
    return renderer.Pixels()[static_cast<std::size_t>(top) * renderer.OutputWidth() + column];
}

}  // namespace qzm::testing
