#include "render_bench_support.h"

#include <random>

#include "demo_scene.h"
#include "indexed_image.h"
#include "screen_convert.h"

namespace qzm::bench {

std::string SizeName(OutputSize size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

std::vector<std::uint8_t> DemoImage() {
    std::array<std::uint8_t, kScreenBytes> screen{};
    constexpr int kFrame = 300;
    constexpr int kColourBarsFrom = 0;
    testing::DrawDemoScreen(kFrame, kColourBarsFrom, screen);
    std::vector<std::uint8_t> image(kIndexedImageBytes, 0);
    ScreenToIndexed(screen, image.data());
    return image;
}

std::vector<std::uint8_t> NoiseImage() {
    std::vector<std::uint8_t> image(kIndexedImageBytes, 0);
    std::mt19937 random(1982);
    for (std::size_t i = 0; i < kImagePixels; ++i) {
        image[i] = static_cast<std::uint8_t>(random() & 7u);
    }
    return image;
}

std::vector<std::uint32_t> DemoPixels() {
    const std::vector<std::uint8_t> image = DemoImage();
    std::vector<std::uint32_t> pixels(kImagePixels);
    for (int r = 0; r < kImageHeight; ++r) {
        for (int c = 0; c < kImageWidth; ++c) {
            const std::size_t from = static_cast<std::size_t>(kImageHeight - 1 - r) * kImageWidth + c;
            pixels[static_cast<std::size_t>(r) * kImageWidth + c] = ColourPixel(image[from]);
        }
    }
    return pixels;
}

}  // namespace qzm::bench
