#include "reference_render.h"

#include <cstring>
#include <random>

namespace qzm::testing {

namespace {

// A channel of colour number `colour` is present: bit 0 blue, bit 1 red, bit 2 green.
constexpr int kBlueBit = 1;
constexpr int kRedBit = 2;
constexpr int kGreenBit = 4;

// The vertical mix of one channel: the colour at stored row r keeps 255 - w of it and the one at
// stored row r + 1 (the line above on screen) gives w, counted exactly in 1/255.
int VerticalChannel(int below, int above, int w, int bit) {
    const int a = (below & bit) ? 255 : 0;
    const int b = (above & bit) ? 255 : 0;
    return (a * (255 - w) + b * w) / 255;
}

int Channel(int rc, int r1c, int rc1, int r1c1, int v, int h, const std::array<std::uint8_t, 8>& weights,
            int bit) {
    const int left = VerticalChannel(rc, r1c, weights[v], bit);
    const int right = VerticalChannel(rc1, r1c1, weights[v], bit);
    const int e = (right - left) * weights[h];
    const int step = e >= 0 ? e / 256 : -((-e) / 256);
    return left + step;
}

}  // namespace

const std::array<std::uint8_t, 8>& CurveOfFilter(int filter) {
    return filter == 1 ? kLinearWeights : filter == 2 ? kQuadraticWeights : kCubicWeights;
}

TestImage::TestImage() : m_bytes(new std::uint8_t[kIndexedImageBytes]) {
    std::memset(m_bytes.get(), 0, kIndexedImageBytes);
}

std::uint8_t& TestImage::At(int row, int column) {
    return m_bytes[static_cast<std::size_t>(row) * kImageWidth + column];
}

TestImage TestImage::Random(unsigned seed) {
    TestImage image;
    std::mt19937 random(seed);
    for (std::size_t i = 0; i < kImagePixels; ++i) {
        image.m_bytes[i] = static_cast<std::uint8_t>(random() & 7u);
    }
    return image;
}

Pixel32 ReferenceMix(int rc, int r1c, int rc1, int r1c1, int v, int h,
                     const std::array<std::uint8_t, 8>& weights) {
    const auto channel = [&](int bit) {
        return static_cast<unsigned>(Channel(rc, r1c, rc1, r1c1, v, h, weights, bit));
    };
    return MakePixel(channel(kRedBit), channel(kGreenBit), channel(kBlueBit));
}

std::vector<Pixel32> ReferenceNearest(const std::uint8_t* image, int width, int height) {
    std::vector<Pixel32> out(static_cast<std::size_t>(width) * height);
    const unsigned xstep = 65536u / static_cast<unsigned>(width);
    const unsigned ystep = 49152u / static_cast<unsigned>(height);
    for (int i = 0; i < height; ++i) {
        for (int j = 0; j < width; ++j) {
            const unsigned r = (static_cast<unsigned>(i) * ystep) >> 8;
            const unsigned c = (static_cast<unsigned>(j) * xstep) >> 8;
            out[static_cast<std::size_t>(height - 1 - i) * width + j] = ColourPixel(image[r * 256 + c]);
        }
    }
    return out;
}

std::vector<Pixel32> ReferenceBlend(const std::uint8_t* image, int width, int height,
                                    const std::array<std::uint8_t, 8>& weights) {
    std::vector<Pixel32> out(static_cast<std::size_t>(width) * height);
    const unsigned xstep = 65536u / static_cast<unsigned>(width);
    const unsigned ystep = 49152u / static_cast<unsigned>(height);
    for (int i = 0; i < height; ++i) {
        const unsigned y = static_cast<unsigned>(i) * ystep;
        for (int j = 0; j < width; ++j) {
            const unsigned x = static_cast<unsigned>(j) * xstep;
            const std::size_t s = (y >> 8) * 256 + (x >> 8);
            out[static_cast<std::size_t>(height - 1 - i) * width + j] =
                ReferenceMix(image[s], image[s + 256], image[s + 1], image[s + 257],
                             static_cast<int>((y >> 5) & 7), static_cast<int>((x >> 5) & 7), weights);
        }
    }
    return out;
}

}  // namespace qzm::testing
