// Where an output pixel samples the 256 x 192 picture. Positions are 8.8 fixed point: output column
// j lies at X = j * xstep with xstep = 65536 / width (truncated), so X >> 8 is the source column and
// the top three bits of the fraction byte, (X >> 5) & 7, say how many eighths of a pixel past it the
// sample lies. Output rows sample likewise with ystep = 49152 / height; like the IndexedImage they
// count from the bottom of the picture.
//
// Positions are computed from the index directly, which gives the same result as adding the step
// pixel by pixel at every size, including sizes below 256 x 192 where one step spans several
// source pixels. Because the steps are truncated, j * xstep stays below 65536 and i * ystep below
// 49152 for every index inside the output, so the source column is at most 255 and the row at most
// 191 (and the last column or row may never be sampled).
#pragma once

#include <cstdint>

namespace qzm {

inline constexpr std::uint32_t kHorizontalSpan = 65536;  // 256 source columns in 8.8 fixed point
inline constexpr std::uint32_t kVerticalSpan = 49152;    // 192 source rows in 8.8 fixed point
inline constexpr int kFractionBits = 3;                  // fractions are cut down to eighths
inline constexpr int kFractionSteps = 1 << kFractionBits;

// The steps for an output of `width` or `height` pixels, which must be at least 1.
constexpr std::uint32_t HorizontalStep(int width) {
    return kHorizontalSpan / static_cast<std::uint32_t>(width);
}
constexpr std::uint32_t VerticalStep(int height) {
    return kVerticalSpan / static_cast<std::uint32_t>(height);
}

// The source pixel an output pixel falls in and the eighth of a pixel past it.
struct SamplePoint {
    int source = 0;
    int eighth = 0;

    friend bool operator==(const SamplePoint&, const SamplePoint&) = default;
};

constexpr SamplePoint SampleAt(int index, std::uint32_t step) {
    const std::uint32_t position = static_cast<std::uint32_t>(index) * step;
    return SamplePoint{static_cast<int>(position >> 8), static_cast<int>((position >> 5) & 7u)};
}

}  // namespace qzm
