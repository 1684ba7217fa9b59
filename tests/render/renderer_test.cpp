// The renderers: the PairTable and the display geometry against worked values, the BlendTable against
// the definition entry by entry (its weight curves are the reference's kCurves), every renderer against
// a per-pixel reference at many sizes and worked values at the picture's edges, their frame buffer, and
// the player's choice of renderer and drawing through it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <vector>

#include "blend_renderer.h"
#include "demo_scene.h"
#include "display_geometry.h"
#include "memory_paint_device.h"
#include "nearest_renderer.h"
#include "recording_host.h"
#include "reference_render.h"
#include "stream_player.h"

namespace qzm {
namespace {

using testing::MemoryPaintDevice;
using testing::OutputPixel;
using testing::TestImage;

constexpr std::uint8_t kRed = 2;
constexpr std::uint8_t kWhite = 7;

constexpr Pixel32 Grey(unsigned level) {
    return MakePixel(level, level, level);
}

// The renderer of a filter index: any of 0-3, or (Curve) one of the blending 1-3.
class Filter : public ::testing::TestWithParam<int> {
protected:
    CBlendRenderer& Blend() const { return static_cast<CBlendRenderer&>(*m_renderer); }
    const std::unique_ptr<CRenderer> m_renderer = CreateRenderer(GetParam());
    MemoryPaintDevice m_device;
};
class Curve : public Filter {};
INSTANTIATE_TEST_SUITE_P(Filters, Filter, ::testing::Values(0, 1, 2, 3), testing::FilterParamName);
INSTANTIATE_TEST_SUITE_P(Curves, Curve, ::testing::Values(1, 2, 3), testing::FilterParamName);

// PairTable's own colours (the BlendTable takes only its black and white pairs).
TEST(PairTable, RowFourOfTheLinearCurveMixesTheLowColourAtWeight145) {
    const PairTable pairs = BuildPairTable(LinearWeights());
    EXPECT_EQ(pairs[4][7], MakePixel(145, 145, 145));   // high black, low white
    EXPECT_EQ(pairs[4][56], MakePixel(110, 110, 110));  // high white, low black
    EXPECT_EQ(pairs[4][10], MakePixel(145, 0, 110));    // high blue, low red
}

// The BlendTable of a curve's renderer, built as its first Render builds it.
TEST_P(Curve, EveryBlendTableEntryMatchesTheDefinition) {
    Blend().BuildBlendTables();
    const std::span<const Pixel32> table = Blend().BlendTable();
    ASSERT_EQ(table.size(), kBlendTableEntries);
    for (unsigned a = 0; a < kBlendTableEntries; ++a) {
        const Pixel32 expected =
            testing::ReferenceMix(static_cast<int>(a >> 15), (a >> 12) & 7, (a >> 9) & 7, (a >> 6) & 7,
                                  (a >> 3) & 7, a & 7, testing::kCurves[GetParam()]);
        ASSERT_EQ(table[a], expected) << "entry " << a;
    }
}

TEST(DisplayGeometry, FitsTheFourByThreePictureCentredInTheArea) {
    const std::pair<std::pair<int, int>, DisplayGeometry> cases[] = {
        {{256, 192}, {256, 192, 3, 18}},  {{257, 192}, {256, 192, 3, 18}}, {{256, 193}, {256, 192, 3, 18}},
        {{600, 384}, {512, 384, 47, 18}}, {{512, 500}, {512, 384, 3, 76}}, {{1000, 700}, {933, 700, 36, 18}},
    };
    for (const auto& [area, picture] : cases) {
        EXPECT_EQ(FitDisplayArea(area.first, area.second), picture) << area.first << "x" << area.second;
    }
}

struct Size {
    int width;
    int height;
};

constexpr Size kSizes[] = {
    {1, 1},       {1, 192},     {256, 1},    {2, 3},       {7, 5},       {100, 75},    {255, 191},
    {256, 192},   {257, 193},   {300, 225},  {384, 288},   {511, 383},   {512, 384},   {640, 480},
    {933, 700},   {1023, 767},  {1024, 768}, {1920, 1440}, {2047, 1535}, {2048, 1536}, {2049, 1537},
    {2500, 1900}, {3840, 2880}, {70000, 3},  {1600, 1200}, {300, 200},   {1601, 1199}, {17, 13},
};

// Every renderer, with every kernel this processor runs, against the per-pixel reference at many
// sizes in turn on one renderer, as in a resized window: odd ones, ones below the native size where
// a step spans several source pixels, the native size, a full 4K screen (streamed into the frame
// buffer), one so wide that its step is zero, and smaller and larger ones again. Under
// AddressSanitizer a read past the image and its guard fails here too.
TEST_P(Filter, EveryKernelMatchesTheReferenceAtEverySizeInTurn) {
    EXPECT_EQ(m_renderer->Kernel(), BestKernel());
    std::vector<RenderKernel> kernels{RenderKernel::Portable};
    if (KernelSupported(RenderKernel::Avx2)) {
        kernels.push_back(RenderKernel::Avx2);
    }
    const TestImage images[] = {TestImage::Random(1), TestImage::Random(2)};
    for (const Size size : kSizes) {
        // A second image at the smaller sizes shows that nothing of the first one is kept.
        const std::size_t count = size.width * size.height <= 1024 * 768 ? 2 : 1;
        for (const TestImage& image : std::span<const TestImage>(images, count)) {
            const std::vector<Pixel32> expected =
                testing::Reference(GetParam(), image.data(), size.width, size.height);
            for (const RenderKernel kernel : kernels) {
                ASSERT_TRUE(m_renderer->UseKernel(kernel));
                m_renderer->Render(image.data(), size.width, size.height, 0, 0);
                const auto [want, got] =
                    std::mismatch(expected.begin(), expected.end(), m_renderer->Pixels());
                if (want != expected.end()) {
                    const auto at = want - expected.begin();
                    ADD_FAILURE() << "kernel " << static_cast<int>(kernel) << " at " << size.width << "x"
                                  << size.height << ": pixel (" << at % size.width << ", " << at / size.width
                                  << " from the top) is " << std::hex << *got << ", expected " << *want;
                }
            }
        }
    }
}

// Column 255 and row 191 are white, column 254 and row 190 red: at 300 x 225 the last output
// column shows column 254, the top output row shows row 190, and no pixel is white.
TEST(NearestRenderer, At300x225NeverShowsTheLastSourceColumnNorTheTopRow) {
    TestImage image;
    for (int r = 0; r < kImageHeight; ++r) {
        image.At(r, 254) = kRed;
        image.At(r, 255) = kWhite;
    }
    std::fill_n(&image.At(190, 0), kImageWidth, kRed);
    std::fill_n(&image.At(191, 0), kImageWidth, kWhite);
    CNearestRenderer renderer;
    renderer.Render(image.data(), 300, 225, 0, 0);
    EXPECT_EQ(std::count(renderer.Pixels(), renderer.Pixels() + 300 * 225, ColourPixel(kWhite)), 0);
    for (int i = 0; i < 225; ++i) {
        ASSERT_EQ(OutputPixel(renderer, 299, i), ColourPixel(kRed)) << "row " << i;
    }
    for (int j = 0; j < 300; ++j) {
        ASSERT_EQ(OutputPixel(renderer, j, 224), ColourPixel(kRed)) << "column " << j;
    }
}

// Black but for pixel (101, 0) and the whole top row 191, which are white. At 512 x 384 odd output
// rows and columns lie halfway (eighth 4) past their source row and column.
TEST_P(Curve, At512x384BlendsHalfwayAndAcrossThePicturesEdges) {
    TestImage image;
    image.At(101, 0) = kWhite;
    std::fill_n(&image.At(191, 0), kImageWidth, kWhite);
    m_renderer->Render(image.data(), 512, 384, 0, 0);
    const CRenderer& out = *m_renderer;
    const unsigned w = testing::kCurves[GetParam()][4];
    // The right-hand neighbour of column 255 is column 0 of the line above.
    EXPECT_EQ(OutputPixel(out, 510, 200), Grey(0));
    EXPECT_EQ(OutputPixel(out, 511, 200), Grey(255 * w / 256));
    EXPECT_EQ(OutputPixel(out, 511, 198), Grey(0));
    // Row 190 blends halfway up into the white top row, and that one into the black guard above
    // it, which also holds the right-hand neighbours of the top row's last column.
    for (int j = 0; j < 511; ++j) {
        ASSERT_EQ(OutputPixel(out, j, 381), Grey(w)) << j;
        ASSERT_EQ(OutputPixel(out, j, 382), Grey(255)) << j;
        ASSERT_EQ(OutputPixel(out, j, 383), Grey(255 - w)) << j;
    }
    EXPECT_EQ(OutputPixel(out, 511, 382), Grey(255 - 255 * w / 256));
    EXPECT_EQ(OutputPixel(out, 511, 383), Grey((255 - w) - (255 - w) * w / 256));
}

// The frame buffer: nothing to draw before the first render; it grows to the largest output and blits
// the last one where it was placed; an empty size leaves nothing to draw.
TEST_P(Filter, FrameBufferGrowsToTheLargestOutputAndBlitsTheLastOneWhereItWasPlaced) {
    m_renderer->Blit(m_device);
    EXPECT_EQ(m_device.draws, 0);
    const TestImage image = TestImage::Random(5);
    EXPECT_EQ(m_renderer->Capacity(), 0u);
    m_renderer->Render(image.data(), 400, 300, 0, 0);
    EXPECT_EQ(m_renderer->Capacity(), 120000u);
    const Pixel32* first = m_renderer->Pixels();
    m_renderer->Render(image.data(), 300, 400, 0, 0);
    m_renderer->Render(image.data(), 120, 90, 0, 0);
    EXPECT_EQ(m_renderer->Capacity(), 120000u);
    EXPECT_EQ(m_renderer->Pixels(), first);
    m_renderer->Render(image.data(), 1001, 751, 0, 0);
    EXPECT_EQ(m_renderer->Capacity(), 1001u * 751u);
    m_renderer->Render(image.data(), 333, 250, 17, 21);
    m_renderer->Blit(m_device);
    EXPECT_EQ(m_device.draws, 1);
    EXPECT_EQ((std::array{m_device.x, m_device.y, m_device.width, m_device.height}),
              (std::array{17, 21, 333, 250}));
    EXPECT_EQ(m_device.pixels, testing::Reference(GetParam(), image.data(), 333, 250));
    m_renderer->Render(image.data(), 0, 200, 5, 6);
    m_renderer->Blit(m_device);
    EXPECT_EQ(m_device.draws, 1);
}

// SetFilter builds the renderer of any index at once for the current size and stores the index;
// Present draws that renderer's picture, and every frame shown is rendered again. (Present at the
// native size is tested with the engine.)
TEST(PlayerDisplay, SetFilterChoosesTheRendererThatPresentDrawsEachFrameThrough) {
    const std::vector<std::uint8_t> stream = testing::BuildDemoStream({.frames = 200});
    testing::RecordingHost host;
    CStreamPlayer player(host);
    EXPECT_EQ(player.GetFilter(), 0);
    ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
    player.Seek(120);                 // a picture with every colour in it
    player.SetDisplayArea(600, 384);  // 512 x 384 at (47, 18)
    const auto expectPresented = [&](int index) {
        MemoryPaintDevice device;
        player.Present(device);
        EXPECT_EQ(device.kind, MemoryPaintDevice::Kind::Pixels);
        EXPECT_EQ(device.x, 47);
        EXPECT_EQ(device.y, 18);
        EXPECT_EQ(device.pixels, testing::Reference(index, player.IndexedImage().data(), 512, 384));
    };
    for (const int index : {0, 4, -1, 1, 2, 3}) {
        SCOPED_TRACE("filter index " + std::to_string(index));
        player.SetFilter(index);
        EXPECT_EQ(player.GetFilter(), index);
        expectPresented(index);
        ASSERT_EQ(player.DecodeFrame(true), 1);
        expectPresented(index);
    }
}

// Rendering on present: into the memory a device offers, at its stride and nowhere else, without
// drawing; for a device that offers none, into the frame buffer and drawn from there.
TEST(PlayerDisplay, RenderOnPresentWritesIntoTheDevicesPixelsWhereItOffersThem) {
    const std::vector<std::uint8_t> stream = testing::BuildDemoStream({});
    testing::RecordingHost host;
    CStreamPlayer player(host);
    player.SetRenderOnPresent(true);
    player.SetFilter(3);
    ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
    player.SetDisplayArea(600, 384);  // 512 x 384
    const std::vector<Pixel32> expected = testing::Reference(3, player.IndexedImage().data(), 512, 384);
    MemoryPaintDevice screen;
    screen.stride = 515;
    screen.target.assign(515 * 384, 0x12345678);
    player.Present(screen);
    EXPECT_EQ(screen.draws, 0);
    for (int row = 0; row < 384; ++row) {
        const auto line = screen.target.begin() + row * 515;
        ASSERT_TRUE(std::equal(line, line + 512, expected.begin() + row * 512)) << "row " << row;
        ASSERT_EQ(std::count(line + 512, line + 515, 0x12345678), 3) << "row " << row;
    }
    MemoryPaintDevice window;
    player.Present(window);
    EXPECT_EQ(window.pixels, expected);
}

}  // namespace
}  // namespace qzm
