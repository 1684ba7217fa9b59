// The weight curves, the PairTable and the display geometry against worked values, and the
// BlendTable against the definition entry by entry.
#include <gtest/gtest.h>

#include <memory>

#include "blend_renderer.h"
#include "display_geometry.h"
#include "reference_render.h"

namespace qzm {
namespace {

TEST(WeightCurves, GiveTheRequiredWeights) {
    EXPECT_EQ(LinearWeights(), testing::kCurves[1]);
    EXPECT_EQ(QuadraticWeights(), testing::kCurves[2]);
    EXPECT_EQ(CubicWeights(), testing::kCurves[3]);
}

// PairTable's own colours (the BlendTable takes only its black and white pairs).
TEST(PairTable, RowFourOfTheLinearCurveMixesTheLowColourAtWeight145) {
    const PairTable pairs = BuildPairTable(LinearWeights());
    EXPECT_EQ(pairs[4][7], MakePixel(145, 145, 145));   // high black, low white
    EXPECT_EQ(pairs[4][56], MakePixel(110, 110, 110));  // high white, low black
    EXPECT_EQ(pairs[4][10], MakePixel(145, 0, 110));    // high blue, low red
}

// The BlendTable of a curve's renderer, built as its first Render builds it.
class BlendTableOfCurve : public ::testing::TestWithParam<int> {};

TEST_P(BlendTableOfCurve, EveryEntryMatchesTheDefinition) {
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
    static_cast<CBlendRenderer&>(*renderer).BuildBlendTables();
    const std::span<const Pixel32> table = static_cast<CBlendRenderer&>(*renderer).BlendTable();
    ASSERT_EQ(table.size(), kBlendTableEntries);
    for (unsigned a = 0; a < kBlendTableEntries; ++a) {
        const Pixel32 expected =
            testing::ReferenceMix(static_cast<int>(a >> 15), (a >> 12) & 7, (a >> 9) & 7, (a >> 6) & 7,
                                  (a >> 3) & 7, a & 7, testing::kCurves[GetParam()]);
        ASSERT_EQ(table[a], expected) << "entry " << a;
    }
}

INSTANTIATE_TEST_SUITE_P(Curves, BlendTableOfCurve, ::testing::Values(1, 2, 3),
                         testing::FilterParamName<::testing::TestParamInfo<int>>);

TEST(DisplayGeometry, FitsTheFourByThreePictureCentredInTheArea) {
    const std::pair<std::pair<int, int>, DisplayGeometry> cases[] = {
        {{256, 192}, {256, 192, 3, 18}},  {{257, 192}, {256, 192, 3, 18}}, {{256, 193}, {256, 192, 3, 18}},
        {{600, 384}, {512, 384, 47, 18}}, {{512, 500}, {512, 384, 3, 76}}, {{1000, 700}, {933, 700, 36, 18}},
    };
    for (const auto& [area, picture] : cases) {
        EXPECT_EQ(FitDisplayArea(area.first, area.second), picture) << area.first << "x" << area.second;
    }
}

}  // namespace
}  // namespace qzm
