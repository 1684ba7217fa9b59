// The player's display operations on real renderers: choosing a renderer with SetFilter, fitting
// the picture with SetDisplayArea, and drawing it with Present.
#include <gtest/gtest.h>

#include <typeinfo>

#include "blend_renderer.h"
#include "demo_scene.h"
#include "memory_paint_device.h"
#include "nearest_renderer.h"
#include "recording_host.h"
#include "reference_render.h"
#include "stream_player.h"

namespace qzm {
namespace {

using testing::MemoryPaintDevice;
using testing::RecordingHost;

const std::type_info& RendererType(int filter) {
    switch (filter) {
        case 1: return typeid(CBlendRenderer);
        case 2: return typeid(CBiquadraticRenderer);
        case 3: return typeid(CBicubicRenderer);
        default: return typeid(CNearestRenderer);
    }
}

const std::type_info& RendererTypeOf(const CStreamPlayer& player) {
    const CRenderer& renderer = player.Renderer();
    return typeid(renderer);
}

TEST(SetFilter, BuildsTheRendererOfTheIndexAndStoresTheIndexUnchanged) {
    RecordingHost host;
    CStreamPlayer player(host);
    EXPECT_EQ(RendererTypeOf(player), typeid(CNearestRenderer));
    EXPECT_EQ(player.GetFilter(), 0);
    player.SetDisplayArea(600, 384);
    for (const int index : {0, 4, -1, 1, 2, 3, 7}) {
        player.SetFilter(index);
        EXPECT_EQ(RendererTypeOf(player), RendererType(index)) << index;
        EXPECT_EQ(player.GetFilter(), index);
        // The new renderer holds output of the current size at once.
        EXPECT_EQ(player.Renderer().OutputWidth(), 512) << index;
        EXPECT_EQ(player.Renderer().OutputHeight(), 384) << index;
        EXPECT_EQ(player.Renderer().OutputX(), 47) << index;
        EXPECT_EQ(player.Renderer().OutputY(), 18) << index;
    }
}

struct AreaCase {
    int areaWidth, areaHeight;
    DisplayGeometry picture;
};

TEST(SetDisplayArea, FitsTheFourByThreePictureAndRendersItThere) {
    const AreaCase cases[] = {
        {256, 192, {256, 192, 3, 18}},  {257, 192, {256, 192, 3, 18}}, {256, 193, {256, 192, 3, 18}},
        {600, 384, {512, 384, 47, 18}}, {512, 500, {512, 384, 3, 76}}, {1000, 700, {933, 700, 36, 18}},
    };
    RecordingHost host;
    CStreamPlayer player(host);
    player.SetFilter(FilterBicubic);
    for (const AreaCase& c : cases) {
        player.SetDisplayArea(c.areaWidth, c.areaHeight);
        EXPECT_EQ(player.Display(), c.picture) << c.areaWidth << "x" << c.areaHeight;
        EXPECT_EQ(player.Renderer().OutputWidth(), c.picture.width);
        EXPECT_EQ(player.Renderer().OutputHeight(), c.picture.height);
        EXPECT_EQ(player.Renderer().OutputX(), c.picture.x);
        EXPECT_EQ(player.Renderer().OutputY(), c.picture.y);
    }
}

// A player showing frame 120 of the demo stream, a picture with every colour in it.
class PresentDemo : public ::testing::Test {
protected:
    void SetUp() override {
        authoring::DemoStreamOptions options;
        options.frames = 200;
        m_stream = authoring::BuildDemoStream(options);
        ASSERT_EQ(m_player.StartStream(m_stream.data(), m_stream.size()), 1);
        m_player.Seek(120);
        ASSERT_EQ(m_player.CurrentFrame(), 120);
    }

    RecordingHost m_host;
    CStreamPlayer m_player{m_host};
    std::vector<std::uint8_t> m_stream;
};

TEST_F(PresentDemo, AtTheNativeSizeDrawsTheIndexedImageItself) {
    m_player.SetFilter(FilterBilinear);
    m_player.SetDisplayArea(256, 192);
    MemoryPaintDevice device;
    m_player.Present(device);
    EXPECT_EQ(device.kind, MemoryPaintDevice::Kind::Indexed);
    EXPECT_EQ(device.x, 3);
    EXPECT_EQ(device.y, 18);
}

TEST_F(PresentDemo, AtAnyOtherSizeDrawsTheRenderersPicture) {
    m_player.SetDisplayArea(600, 384);
    for (const int filter : {0, 1, 2, 3}) {
        m_player.SetFilter(filter);
        MemoryPaintDevice device;
        m_player.Present(device);
        ASSERT_EQ(device.kind, MemoryPaintDevice::Kind::Pixels);
        EXPECT_EQ(device.x, 47);
        EXPECT_EQ(device.y, 18);
        const std::uint8_t* image = m_player.IndexedImage().data();
        const std::vector<Pixel32> expected =
            filter == 0 ? testing::ReferenceNearest(image, 512, 384)
                        : testing::ReferenceBlend(image, 512, 384, testing::CurveOfFilter(filter));
        EXPECT_EQ(device.pixels, expected) << "filter " << filter;
    }
}

TEST_F(PresentDemo, EachDisplayedFrameIsRenderedAtTheCurrentSize) {
    m_player.SetFilter(FilterBiquadratic);
    m_player.SetDisplayArea(1000, 700);
    ASSERT_EQ(m_player.DecodeFrame(true), 1);
    MemoryPaintDevice device;
    m_player.Present(device);
    EXPECT_EQ(device.pixels,
              testing::ReferenceBlend(m_player.IndexedImage().data(), 933, 700, testing::kQuadraticWeights));
}

}  // namespace
}  // namespace qzm
