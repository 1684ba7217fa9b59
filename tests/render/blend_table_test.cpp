// The weight curves, the PairTable and the BlendTable, checked against the worked values and
// against the definitions entry by entry.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "blend_table.h"
#include "blend_weights.h"
#include "reference_render.h"

namespace qzm {
namespace {

using testing::kCubicWeights;
using testing::kLinearWeights;
using testing::kQuadraticWeights;

constexpr int kBlack = 0;
constexpr int kBlue = 1;
constexpr int kRed = 2;
constexpr int kWhite = 7;

TEST(WeightCurves, GiveTheRequiredWeights) {
    EXPECT_EQ(LinearWeights(), kLinearWeights);
    EXPECT_EQ(QuadraticWeights(), kQuadraticWeights);
    EXPECT_EQ(CubicWeights(), kCubicWeights);
}

TEST(PairTable, RowFourOfTheLinearCurveMixesLowColourAtWeight145) {
    const PairTable pairs = BuildPairTable(LinearWeights());
    EXPECT_EQ(pairs[4][7], MakePixel(145, 145, 145));   // high black, low white
    EXPECT_EQ(pairs[4][56], MakePixel(110, 110, 110));  // high white, low black
    EXPECT_EQ(pairs[4][10], MakePixel(145, 0, 110));    // high blue, low red
}

TEST(PairTable, RowZeroIsTheHighColourAndRowSevenTheLowOne) {
    const PairTable pairs = BuildPairTable(CubicWeights());
    for (unsigned p = 0; p < kPairCodes; ++p) {
        EXPECT_EQ(pairs[0][p], ColourPixel(static_cast<int>(p >> 3))) << p;
        EXPECT_EQ(pairs[7][p], ColourPixel(static_cast<int>(p & 7))) << p;
    }
}

// A BlendTable for each curve, built once.
class BlendTableOfCurve : public ::testing::TestWithParam<int> {
protected:
    static const std::vector<Pixel32>& Table(int filter) {
        static std::vector<Pixel32> tables[4];
        std::vector<Pixel32>& table = tables[filter];
        if (table.empty()) {
            table.resize(kBlendTableEntries);
            const BlendWeights weights = filter == 1   ? LinearWeights()
                                         : filter == 2 ? QuadraticWeights()
                                                       : CubicWeights();
            FillBlendTable(BuildPairTable(weights), weights, std::span<Pixel32, kBlendTableEntries>(table));
        }
        return table;
    }

    // The entry for colours (r, c), (r + 1, c), (r, c + 1), (r + 1, c + 1) at eighths v and h.
    Pixel32 Entry(int rc, int r1c, int rc1, int r1c1, unsigned v, unsigned h) const {
        const unsigned code = static_cast<unsigned>((rc << 9) | (r1c << 6) | (rc1 << 3) | r1c1);
        return Table(GetParam())[BlendIndex(code, v, h)];
    }

    static Pixel32 Grey(unsigned level) { return MakePixel(level, level, level); }
};

TEST_P(BlendTableOfCurve, HalfwayBetweenBlackAndWhiteFollowsTheCurve) {
    const unsigned rising[] = {0, 144, 82, 46};
    const unsigned falling[] = {0, 111, 173, 209};
    const unsigned upward[] = {0, 110, 172, 208};
    const int f = GetParam();
    EXPECT_EQ(Entry(kBlack, kBlack, kWhite, kWhite, 0, 4), Grey(rising[f]));
    EXPECT_EQ(Entry(kWhite, kWhite, kBlack, kBlack, 0, 4), Grey(falling[f]));
    EXPECT_EQ(Entry(kWhite, kBlack, kWhite, kBlack, 4, 0), Grey(upward[f]));
}

TEST_P(BlendTableOfCurve, TheLastHorizontalEighthStopsOneStepShort) {
    EXPECT_EQ(Entry(kBlack, kBlack, kWhite, kWhite, 0, 7), Grey(254));
    EXPECT_EQ(Entry(kWhite, kWhite, kBlack, kBlack, 0, 7), Grey(1));
    EXPECT_EQ(Entry(kBlue, kBlue, kRed, kRed, 0, 7), MakePixel(254, 0, 1));
}

TEST_P(BlendTableOfCurve, FourEqualNeighboursGiveTheirColourAtEveryFraction) {
    for (int colour = 0; colour < kColourCount; ++colour) {
        for (unsigned vh = 0; vh < kEntriesPerCode; ++vh) {
            ASSERT_EQ(Entry(colour, colour, colour, colour, vh >> 3, vh & 7), ColourPixel(colour))
                << "colour " << colour << " v " << (vh >> 3) << " h " << (vh & 7);
        }
    }
}

TEST_P(BlendTableOfCurve, EveryEntryMatchesTheDefinition) {
    const std::vector<Pixel32>& table = Table(GetParam());
    const auto& weights = testing::CurveOfFilter(GetParam());
    for (unsigned a = 0; a < kBlendTableEntries; ++a) {
        const Pixel32 expected = testing::ReferenceMix(static_cast<int>(a >> 15), (a >> 12) & 7, (a >> 9) & 7,
                                                       (a >> 6) & 7, (a >> 3) & 7, a & 7, weights);
        ASSERT_EQ(table[a], expected) << "entry " << a;
    }
}

INSTANTIATE_TEST_SUITE_P(Curves, BlendTableOfCurve, ::testing::Values(1, 2, 3),
                         testing::FilterParamName<::testing::TestParamInfo<int>>);

}  // namespace
}  // namespace qzm
