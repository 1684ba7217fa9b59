// The weight curves of the interpolating renderers: a fraction of a pixel in eighths (0-7) becomes
// the share 0-255 of the far neighbour. All three curves start at 0 and end at 255.
#pragma once

#include <array>
#include <cstdint>

#include "sampling.h"

namespace qzm {

using BlendWeights = std::array<std::uint8_t, kFractionSteps>;

// (i * 255) / 7 in integers: 0, 36, 72, 109, 145, 182, 218, 255.
BlendWeights LinearWeights();
// 255 * t * t with t = i / 7, truncated: 0, 5, 20, 46, 83, 130, 187, 255.
BlendWeights QuadraticWeights();
// 255 * t * t * t with t = i / 7, truncated: 0, 0, 5, 20, 47, 92, 160, 255.
BlendWeights CubicWeights();

}  // namespace qzm
