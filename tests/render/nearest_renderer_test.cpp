// The nearest-neighbour renderer: which source pixel each output pixel shows.
#include <gtest/gtest.h>

#include "nearest_renderer.h"
#include "reference_render.h"

namespace qzm {
namespace {

using testing::OutputPixel;
using testing::TestImage;

// An image whose pixel (r, c) has colour (r + c) % 8, so that neighbours always differ.
TestImage Diagonals() {
    TestImage image;
    for (int r = 0; r < kImageHeight; ++r) {
        for (int c = 0; c < kImageWidth; ++c) {
            image.At(r, c) = static_cast<std::uint8_t>((r + c) % 8);
        }
    }
    return image;
}

TEST(NearestRenderer, AtTheNativeSizeShowsEveryPixelOnce) {
    TestImage image = Diagonals();
    CNearestRenderer renderer;
    renderer.Render(image.data(), 256, 192, 0, 0);
    for (int r = 0; r < kImageHeight; ++r) {
        for (int c = 0; c < kImageWidth; ++c) {
            ASSERT_EQ(OutputPixel(renderer, c, r), ColourPixel(image.At(r, c))) << r << "," << c;
        }
    }
}

TEST(NearestRenderer, AtDoubleSizeTurnsEveryPixelIntoATwoByTwoBlock) {
    TestImage image = Diagonals();
    CNearestRenderer renderer;
    renderer.Render(image.data(), 512, 384, 0, 0);
    for (int i = 0; i < 384; ++i) {
        for (int j = 0; j < 512; ++j) {
            ASSERT_EQ(OutputPixel(renderer, j, i), ColourPixel(image.At(i / 2, j / 2))) << i << "," << j;
        }
    }
}

TEST(NearestRenderer, AtWidth300NeverShowsTheLastSourceColumn) {
    TestImage image;
    for (int r = 0; r < kImageHeight; ++r) {
        image.At(r, 254) = 2;
        image.At(r, 255) = 7;
    }
    CNearestRenderer renderer;
    renderer.Render(image.data(), 300, 192, 0, 0);
    for (int i = 0; i < 192; ++i) {
        ASSERT_EQ(OutputPixel(renderer, 299, i), ColourPixel(2)) << "row " << i;
        for (int j = 0; j < 300; ++j) {
            ASSERT_NE(OutputPixel(renderer, j, i), ColourPixel(7)) << i << "," << j;
        }
    }
}

TEST(NearestRenderer, AtHeight225NeverShowsTheTopSourceRow) {
    TestImage image;
    for (int c = 0; c < kImageWidth; ++c) {
        image.At(190, c) = 2;
        image.At(191, c) = 7;
    }
    CNearestRenderer renderer;
    renderer.Render(image.data(), 256, 225, 0, 0);
    for (int j = 0; j < 256; ++j) {
        ASSERT_EQ(OutputPixel(renderer, j, 224), ColourPixel(2)) << "column " << j;
        for (int i = 0; i < 225; ++i) {
            ASSERT_NE(OutputPixel(renderer, j, i), ColourPixel(7)) << i << "," << j;
        }
    }
}

TEST(NearestRenderer, AtOnePixelShowsTheBottomLeftSourcePixel) {
    TestImage image = Diagonals();
    image.At(0, 0) = 5;
    CNearestRenderer renderer;
    renderer.Render(image.data(), 1, 1, 0, 0);
    EXPECT_EQ(renderer.Pixels()[0], ColourPixel(5));
}

}  // namespace
}  // namespace qzm
