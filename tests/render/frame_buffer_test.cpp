// The renderers' frame buffer and output geometry: what Blit draws, and how the buffer grows.
#include <gtest/gtest.h>

#include <memory>

#include "memory_paint_device.h"
#include "reference_render.h"
#include "renderer.h"

namespace qzm {
namespace {

using testing::MemoryPaintDevice;
using testing::TestImage;

class FrameBufferOfFilter : public ::testing::TestWithParam<int> {};

TEST_P(FrameBufferOfFilter, BlitDrawsNothingBeforeTheFirstRender) {
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
    MemoryPaintDevice device;
    renderer->Blit(device);
    EXPECT_EQ(device.draws, 0);
    EXPECT_EQ(renderer->OutputWidth(), 0);
    EXPECT_EQ(renderer->OutputHeight(), 0);
}

TEST_P(FrameBufferOfFilter, BlitDrawsTheLastOutputAtItsPositionTopRowFirst) {
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
    const TestImage image = TestImage::Random(3);
    renderer->Render(image.data(), 640, 480, 40, 58);
    renderer->Render(image.data(), 333, 250, 17, 21);
    MemoryPaintDevice device;
    renderer->Blit(device);
    EXPECT_EQ(device.draws, 1);
    EXPECT_EQ(device.kind, MemoryPaintDevice::Kind::Pixels);
    EXPECT_EQ(device.x, 17);
    EXPECT_EQ(device.y, 21);
    EXPECT_EQ(device.width, 333);
    EXPECT_EQ(device.height, 250);
    const std::vector<Pixel32> expected =
        GetParam() == FilterNearest
            ? testing::ReferenceNearest(image.data(), 333, 250)
            : testing::ReferenceBlend(image.data(), 333, 250, testing::CurveOfFilter(GetParam()));
    EXPECT_EQ(device.pixels, expected);
}

TEST_P(FrameBufferOfFilter, GrowsToTheLargestOutputAndReusesItBelowThat) {
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
    const TestImage image = TestImage::Random(5);
    EXPECT_EQ(renderer->Capacity(), 0u);
    renderer->Render(image.data(), 400, 300, 0, 0);
    EXPECT_EQ(renderer->Capacity(), 120000u);
    const Pixel32* first = renderer->Pixels();
    renderer->Render(image.data(), 300, 400, 0, 0);
    renderer->Render(image.data(), 120, 90, 0, 0);
    EXPECT_EQ(renderer->Capacity(), 120000u);
    EXPECT_EQ(renderer->Pixels(), first);
    renderer->Render(image.data(), 1001, 751, 0, 0);
    EXPECT_EQ(renderer->Capacity(), 1001u * 751u);
    const std::vector<Pixel32> expected =
        GetParam() == FilterNearest
            ? testing::ReferenceNearest(image.data(), 1001, 751)
            : testing::ReferenceBlend(image.data(), 1001, 751, testing::CurveOfFilter(GetParam()));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), renderer->Pixels()));
}

TEST_P(FrameBufferOfFilter, AnEmptySizeLeavesNothingToDraw) {
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(GetParam());
    const TestImage image;
    renderer->Render(image.data(), 300, 200, 0, 0);
    renderer->Render(image.data(), 0, 200, 5, 6);
    MemoryPaintDevice device;
    renderer->Blit(device);
    EXPECT_EQ(device.draws, 0);
    EXPECT_EQ(renderer->OutputWidth(), 0);
    EXPECT_EQ(renderer->OutputHeight(), 0);
}

TEST(RenderKernels, ThePortableKernelIsAlwaysThereAndAnUnsupportedOneIsRefused) {
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(FilterBilinear);
    EXPECT_EQ(renderer->Kernel(), BestKernel());
    EXPECT_TRUE(renderer->UseKernel(RenderKernel::Portable));
    EXPECT_EQ(renderer->Kernel(), RenderKernel::Portable);
    EXPECT_EQ(renderer->UseKernel(RenderKernel::Avx2), KernelSupported(RenderKernel::Avx2));
}

INSTANTIATE_TEST_SUITE_P(Filters, FrameBufferOfFilter, ::testing::Values(0, 1, 2, 3),
                         testing::FilterParamName<::testing::TestParamInfo<int>>);

}  // namespace
}  // namespace qzm
