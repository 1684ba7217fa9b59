// Playing allocates nothing per frame: decoding, converting and rendering reuse the buffers they
// have. Every allocation of this program is counted.
#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "demo_scene.h"
#include "memory_paint_device.h"
#include "recording_host.h"
#include "stream_player.h"

namespace qzm {
namespace {

// Rendering on present, straight into a device's memory, the same.
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
