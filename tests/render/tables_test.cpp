// The weight curves, the PairTable, the BlendTable and the display geometry against worked values,
// and the BlendTable against the definition entry by entry.
#include <gtest/gtest.h>

#include <memory>

#include "blend_renderer.h"
#include "display_geometry.h"
#include "reference_render.h"

namespace qzm {
namespace {

constexpr int kBlack = 0;
constexpr int kBlue = 1;
constexpr int kRed = 2;
constexpr int kWhite = 7;

constexpr Pixel32 Grey(unsigned level) {
    return MakePixel(level, level, level);
}

TEST(WeightCurves, GiveTheRequiredWeights) {
    EXPECT_EQ(LinearWeights(), testing::kCurves[1]);
    EXPECT_EQ(QuadraticWeights(), testing::kCurves[2]);
    EXPECT_EQ(CubicWeights(), testing::kCurves[3]);
}

TEST(PairTable, RowFourOfTheLinearCurveMixesTheLowColourAtWeight145) {
    const PairTable pairs = BuildPairTable(LinearWeights());
    EXPECT_EQ(pairs[4][7], Grey(145));                // high black, low white
    EXPECT_EQ(pairs[4][56], Grey(110));               // high white, low black
    EXPECT_EQ(pairs[4][10], MakePixel(145, 0, 110));  // high blue, low red
}

// The BlendTable of a curve's renderer, built as its first Render builds it.
class BlendTableOfCurve : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { m_renderer->BuildBlendTables(); }
    std::span<const Pixel32> Table() const { return m_renderer->BlendTable(); }

    std::unique_ptr<CBlendRenderer> m_renderer{
        static_cast<CBlendRenderer*>(CreateRenderer(GetParam()).release())};
};

struct WorkedEntry {
    int rc, r1c, rc1, r1c1;  // the colours at (r, c), (r + 1, c), (r, c + 1), (r + 1, c + 1)
    unsigned v, h;
    Pixel32 expected[3];  // linear, quadratic, cubic
};

TEST_P(BlendTableOfCurve, GivesTheWorkedValues) {
    const WorkedEntry entries[] = {
        // Halfway from black to white, from white to black, and upward from white to black.
        {kBlack, kBlack, kWhite, kWhite, 0, 4, {Grey(144), Grey(82), Grey(46)}},
        {kWhite, kWhite, kBlack, kBlack, 0, 4, {Grey(111), Grey(173), Grey(209)}},
        {kWhite, kBlack, kWhite, kBlack, 4, 0, {Grey(110), Grey(172), Grey(208)}},
        // The last horizontal eighth stops one step short of the right-hand colour.
        {kBlack, kBlack, kWhite, kWhite, 0, 7, {Grey(254), Grey(254), Grey(254)}},
        {kWhite, kWhite, kBlack, kBlack, 0, 7, {Grey(1), Grey(1), Grey(1)}},
        {kBlue, kBlue, kRed, kRed, 0, 7, {MakePixel(254, 0, 1), MakePixel(254, 0, 1), MakePixel(254, 0, 1)}},
    };
    for (const WorkedEntry& e : entries) {
        const unsigned code = static_cast<unsigned>((e.rc << 9) | (e.r1c << 6) | (e.rc1 << 3) | e.r1c1);
        EXPECT_EQ(Table()[BlendIndex(code, e.v, e.h)], e.expected[GetParam() - 1])
            << "code " << code << " v " << e.v << " h " << e.h;
    }
}

TEST_P(BlendTableOfCurve, EveryEntryMatchesTheDefinition) {
    const std::span<const Pixel32> table = Table();
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
