// The interpolating renderers: where the fractions fall, how the picture's edges blend, and how
// output rows share their source row's neighbourhood codes.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "blend_renderer.h"
#include "nearest_renderer.h"
#include "reference_render.h"

namespace qzm {
namespace {

using testing::OutputPixel;
using testing::TestImage;

constexpr int kBlack = 0;
constexpr int kWhite = 7;

Pixel32 Grey(unsigned level) {
    return MakePixel(level, level, level);
}

class BlendRendererOfCurve : public ::testing::TestWithParam<int> {
protected:
    std::unique_ptr<CBlendRenderer> MakeRenderer() const {
        std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
        return std::unique_ptr<CBlendRenderer>(static_cast<CBlendRenderer*>(renderer.release()));
    }
    unsigned Weight(int eighth) const { return testing::CurveOfFilter(GetParam())[eighth]; }
};

TEST_P(BlendRendererOfCurve, BuildsItsTablesOnTheFirstRender) {
    auto renderer = MakeRenderer();
    EXPECT_EQ(renderer->Weights(), nullptr);
    EXPECT_TRUE(renderer->BlendTable().empty());
    TestImage image;
    renderer->Render(image.data(), 300, 200, 0, 0);
    ASSERT_NE(renderer->Weights(), nullptr);
    EXPECT_EQ(*renderer->Weights(), testing::CurveOfFilter(GetParam()));
    EXPECT_EQ(renderer->BlendTable().size(), kBlendTableEntries);
}

TEST_P(BlendRendererOfCurve, AtTheNativeSizeEqualsTheNearestRenderer) {
    const TestImage image = TestImage::Random(7);
    auto blend = MakeRenderer();
    CNearestRenderer nearest;
    blend->Render(image.data(), 256, 192, 0, 0);
    nearest.Render(image.data(), 256, 192, 0, 0);
    EXPECT_TRUE(std::equal(blend->Pixels(), blend->Pixels() + kImagePixels, nearest.Pixels()));
}

// Vertical stripes, white in odd columns: at 512 x 384 even output columns (h = 0) show their own
// column, odd ones (h = 4) blend halfway toward the next column.
TEST_P(BlendRendererOfCurve, AtDoubleWidthOddColumnsBlendHalfwayToTheRight) {
    TestImage image;
    for (int r = 0; r < kImageHeight; ++r) {
        for (int c = 1; c < kImageWidth; c += 2) {
            image.At(r, c) = kWhite;
        }
    }
    auto renderer = MakeRenderer();
    renderer->Render(image.data(), 512, 384, 0, 0);
    const Pixel32 towardWhite = Grey(255 * Weight(4) / 256);
    const Pixel32 towardBlack = Grey(255 - 255 * Weight(4) / 256);
    for (int i = 0; i < 383; i += 2) {
        for (int j = 0; j < 512; ++j) {
            const int c = j / 2;
            const Pixel32 expected =
                j % 2 == 0 ? ColourPixel(image.At(i / 2, c)) : (c % 2 == 0 ? towardWhite : towardBlack);
            ASSERT_EQ(OutputPixel(*renderer, j, i), expected) << "row " << i << " column " << j;
        }
    }
}

// Horizontal stripes, white in odd rows: odd output rows (v = 4) blend toward the row above, which
// for the top row 191 is the black guard.
TEST_P(BlendRendererOfCurve, AtDoubleHeightOddRowsBlendHalfwayUpward) {
    TestImage image;
    for (int r = 1; r < kImageHeight; r += 2) {
        for (int c = 0; c < kImageWidth; ++c) {
            image.At(r, c) = kWhite;
        }
    }
    auto renderer = MakeRenderer();
    renderer->Render(image.data(), 512, 384, 0, 0);
    for (int i = 0; i < 384; ++i) {
        const int r = i / 2;
        const Pixel32 expected =
            i % 2 == 0 ? ColourPixel(image.At(r, 0)) : (r % 2 == 0 ? Grey(Weight(4)) : Grey(255 - Weight(4)));
        for (int j = 0; j < 512; j += 2) {
            ASSERT_EQ(OutputPixel(*renderer, j, i), expected) << "row " << i << " column " << j;
        }
    }
}

// The right-hand neighbour of column 255 is column 0 of the next stored row.
TEST_P(BlendRendererOfCurve, TheLastColumnBlendsTowardTheFirstPixelOfTheLineAbove) {
    TestImage image;
    image.At(101, 0) = kWhite;
    auto renderer = MakeRenderer();
    renderer->Render(image.data(), 512, 384, 0, 0);
    EXPECT_EQ(OutputPixel(*renderer, 510, 200), Grey(kBlack));                 // c = 255, h = 0
    EXPECT_EQ(OutputPixel(*renderer, 511, 200), Grey(255 * Weight(4) / 256));  // c = 255, h = 4
    EXPECT_EQ(OutputPixel(*renderer, 511, 198), Grey(kBlack));                 // row 99 is all black
}

TEST_P(BlendRendererOfCurve, TheTopLineBlendsTowardBlack) {
    TestImage image;
    for (std::size_t i = 0; i < kImagePixels; ++i) {
        image.data()[i] = kWhite;
    }
    auto renderer = MakeRenderer();
    renderer->Render(image.data(), 512, 384, 0, 0);
    const unsigned w = Weight(4);
    for (int j = 0; j < 511; ++j) {
        ASSERT_EQ(OutputPixel(*renderer, j, 382), Grey(255)) << j;
        ASSERT_EQ(OutputPixel(*renderer, j, 383), Grey(255 - w)) << j;
    }
    // The last column's right-hand neighbours lie in the guard too.
    EXPECT_EQ(OutputPixel(*renderer, 511, 382), Grey(255 - 255 * w / 256));
    EXPECT_EQ(OutputPixel(*renderer, 511, 383), Grey((255 - w) - (255 - w) * w / 256));
}

// At height 384 output rows 2k and 2k + 1 both sample source row k: row 2k + 1 shows the same
// neighbourhood codes at v = 4, from its leftmost pixel on.
TEST_P(BlendRendererOfCurve, RowPairsAtHeight384ShareTheirNeighbourhoodCodes) {
    const TestImage image = TestImage::Random(11);
    auto renderer = MakeRenderer();
    renderer->Render(image.data(), 256, 384, 0, 0);
    const std::span<const Pixel32> table = renderer->BlendTable();
    const std::uint8_t* img = image.data();
    for (int k = 0; k < kImageHeight; ++k) {
        for (int c = 0; c < kImageWidth; ++c) {
            const std::size_t s = static_cast<std::size_t>(k) * 256 + c;
            const unsigned code = (img[s] << 9) | (img[s + 256] << 6) | (img[s + 1] << 3) | img[s + 257];
            ASSERT_EQ(OutputPixel(*renderer, c, 2 * k), table[BlendIndex(code, 0, 0)]) << k << "," << c;
            ASSERT_EQ(OutputPixel(*renderer, c, 2 * k + 1), table[BlendIndex(code, 4, 0)]) << k << "," << c;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Curves, BlendRendererOfCurve, ::testing::Values(1, 2, 3),
                         testing::FilterParamName<::testing::TestParamInfo<int>>);

}  // namespace
}  // namespace qzm
