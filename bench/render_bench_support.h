// What the render benchmarks share: the output sizes, a screen-like picture to scale, and how a
// benchmark names its output size.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qzm::bench {

struct OutputSize {
    int width;
    int height;
};

// 1024 x 768 (a small window), 1920 x 1440 and 3840 x 2880 (full screens, where the goals apply).
inline constexpr std::array<OutputSize, 3> kOutputSizes{{{1024, 768}, {1920, 1440}, {3840, 2880}}};

// "1920x1440".
std::string SizeName(OutputSize size);

// An IndexedImage (guard included) of a frame of the demo scene with its colour bars: the
// realistic input.
std::vector<std::uint8_t> DemoImage();

// An IndexedImage of random colours, pixel by pixel: the worst case for the interpolating
// renderers, whose every output row then reads table entries of all 4096 neighbourhood codes.
std::vector<std::uint8_t> NoiseImage();

// The demo picture as 32-bit pixels (0xFFRRGGBB, top row first), for libraries that scale
// true-colour pictures.
std::vector<std::uint32_t> DemoPixels();

}  // namespace qzm::bench
