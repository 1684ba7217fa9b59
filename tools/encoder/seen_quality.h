// How alike two 256 x 192 RGB pictures look from a viewing distance: both are blurred with a
// Gaussian of sigma 1.5 pixels (about what the eye averages of a dither pattern), then compared by
// PSNR and SSIM over a rectangle. Used to measure the encoder's pictures against their source.
#pragma once

#include <cstdint>
#include <span>

#include "video_encoder.h"

namespace qzm::encoder {

struct SeenQuality {
    double psnr = 0;  // dB over the three channels; 99 for identical pictures
    double ssim = 0;  // the mean of the red, green and blue SSIM
};

// Both pictures are 256 x 192 RGB24, top row first. The blur reaches past `area` into the whole
// picture (edges repeated); the scores count only the pixels inside `area`.
SeenQuality MeasureSeen(std::span<const std::uint8_t> reference, std::span<const std::uint8_t> picture,
                        const Area& area = {});

}  // namespace qzm::encoder
