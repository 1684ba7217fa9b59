#include "render_bench_support.h"

#include <random>

#include "indexed_image.h"

namespace qzm::bench {

std::string SizeName(OutputSize size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

std::vector<std::uint8_t> ScreenLikeImage() {
    std::vector<std::uint8_t> image(kIndexedImageBytes, 0);
    std::mt19937 random(1982);
    std::uniform_int_distribution<int> colour(0, 7);
    std::bernoulli_distribution ink(0.4);
    for (int cellRow = 0; cellRow < kImageHeight / 8; ++cellRow) {
        for (int cellColumn = 0; cellColumn < kImageWidth / 8; ++cellColumn) {
            const int inkColour = colour(random);
            const int paperColour = colour(random);
            for (int r = cellRow * 8; r < cellRow * 8 + 8; ++r) {
                for (int c = cellColumn * 8; c < cellColumn * 8 + 8; ++c) {
                    image[static_cast<std::size_t>(r) * kImageWidth + c] =
                        static_cast<std::uint8_t>(ink(random) ? inkColour : paperColour);
                }
            }
        }
    }
    return image;
}

std::vector<std::uint32_t> ScreenLikePixels() {
    const std::vector<std::uint8_t> image = ScreenLikeImage();
    std::vector<std::uint32_t> pixels(kImagePixels);
    // Top row first, as true-colour libraries store pictures.
    for (int r = 0; r < kImageHeight; ++r) {
        for (int c = 0; c < kImageWidth; ++c) {
            const std::size_t from = static_cast<std::size_t>(kImageHeight - 1 - r) * kImageWidth + c;
            pixels[static_cast<std::size_t>(r) * kImageWidth + c] = ColourPixel(image[from]);
        }
    }
    return pixels;
}

}  // namespace qzm::bench
