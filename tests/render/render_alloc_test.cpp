// Rendering allocates nothing once a renderer's frame buffer and tables exist for the sizes asked, and
// a growth that fails leaves nothing to draw; playing allocates nothing per frame: decoding, converting
// and rendering reuse the buffers they have. Every operator new of this program is counted.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <new>

#include "allocation_counter.h"
#include "demo_scene.h"
#include "memory_paint_device.h"
#include "recording_host.h"
#include "reference_render.h"
#include "renderer.h"
#include "stream_player.h"

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

// Playing with every filter, and rendering on present straight into a device's memory.
TEST(NoAllocation, DecodeConvertAndRenderReuseTheirBuffers) {
    const auto stream = testing::BuildDemoStream({.frames = 600});
    testing::RecordingHost host;
    CStreamPlayer player(host);
    testing::MemoryPaintDevice screen;
    screen.stride = 1400;
    screen.target.resize(1400 * 1000);
    for (int run = 0; run <= 4; ++run) {
        const int filter = run % 4;
        const bool onPresent = run == 4;
        player.SetRenderOnPresent(onPresent);
        player.SetFilter(filter);
        // Renders at a large size first, then plays at smaller and equal sizes.
        player.SetDisplayArea(1400, 1000);
        if (onPresent) {
            player.Present(screen);
        }
        player.SetDisplayArea(800, 600);
        ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
        const long before = testing::g_allocations.load();
        int frames = 1;
        while (player.DecodeFrame(true) == 1) {
            if (onPresent) {
                player.Present(screen);
            }
            frames = player.CurrentFrame();
            if (frames == 300) {
                player.SetDisplayArea(1000, 700);  // a resize within the largest size so far
                player.Seek(100);
                player.Seek(450);
            }
        }
        const int lastFrame = frames;
        player.Rewind();
        const long allocations = testing::g_allocations.load() - before;
        EXPECT_EQ(allocations, 0) << "filter " << filter << (onPresent ? ", rendered on present" : "");
        EXPECT_EQ(lastFrame, 600);
    }
}

}  // namespace
}  // namespace qzm
