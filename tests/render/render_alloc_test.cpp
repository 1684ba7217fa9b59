// Rendering allocates nothing once a renderer's frame buffer and tables exist for the sizes asked,
// and a growth that fails leaves nothing to draw. Every operator new of this program is counted.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <new>

#include "allocation_counter.h"
#include "memory_paint_device.h"
#include "reference_render.h"
#include "renderer.h"

namespace qzm {
namespace {

using testing::g_allocations;

class Allocations : public ::testing::TestWithParam<int> {
protected:
    const testing::TestImage m_image = testing::TestImage::Random(9);
    const std::unique_ptr<CRenderer> m_renderer = CreateRenderer(GetParam());
};

// The largest output comes first: too odd to stream, but large enough that later outputs are
// streamed. No size within its width and pixel count then allocates, whether seen before or not,
// streamed or not, with either kernel.
TEST_P(Allocations, NoSizeWithinTheLargestOneSeenAllocates) {
    m_renderer->Render(m_image.data(), 4001, 2001, 0, 0);
    const int sizes[][2] = {{4000, 2000}, {3840, 2080}, {1920, 1440}, {2049, 1537}, {640, 480}, {1, 1},
                            {4001, 10},   {2100, 1000}, {300, 2000},  {255, 17},    {2048, 1},  {4001, 2001}};
    for (const RenderKernel kernel : {RenderKernel::Portable, RenderKernel::Avx2}) {
        m_renderer->UseKernel(kernel);
        const long before = g_allocations.load();
        for (const auto& size : sizes) {
            m_renderer->Render(m_image.data(), size[0], size[1], 0, 0);
        }
        EXPECT_EQ(g_allocations.load() - before, 0) << "kernel " << static_cast<int>(kernel);
    }
}

TEST_P(Allocations, AFailedGrowthLeavesNothingToDraw) {
    m_renderer->Render(m_image.data(), 640, 480, 0, 0);
    testing::g_failAbove = 1u << 20;
    EXPECT_THROW(m_renderer->Render(m_image.data(), 1280, 960, 0, 0), std::bad_alloc);
    testing::g_failAbove = SIZE_MAX;
    testing::MemoryPaintDevice device;
    m_renderer->Blit(device);
    EXPECT_EQ(device.draws, 0);
    m_renderer->Render(m_image.data(), 1280, 960, 0, 0);
    m_renderer->Blit(device);
    EXPECT_EQ(device.draws, 1);
}

INSTANTIATE_TEST_SUITE_P(Filters, Allocations, ::testing::Values(0, 1, 2, 3), testing::FilterParamName);

}  // namespace
}  // namespace qzm
