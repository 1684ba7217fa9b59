// Streams written by the screen encoder decode, frame by frame, to exactly the screens it was given:
// a check of the decoder against an independent writer of every frame form.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "demo_scene.h"
#include "recording_host.h"
#include "screen_encoder.h"
#include "stream_builder.h"
#include "stream_player.h"

namespace qzm {
namespace {

using authoring::FrameForm;

TEST(EncoderRoundTrip, DemoStreamDecodesToEveryDrawnScreen) {
    const int frames = 400;
    authoring::DemoStreamOptions options;
    options.frames = frames;
    const std::vector<std::uint8_t> stream = authoring::BuildDemoStream(options);

    testing::RecordingHost host;
    CStreamPlayer player(host);
    ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
    std::array<std::uint8_t, kScreenBytes> expected{};
    const int packedFrom = frames * 65 / 100;
    for (int f = 1; f <= frames; ++f) {
        if (f > 1) {
            ASSERT_EQ(player.DecodeFrame(false), 1) << "frame " << f;
        }
        authoring::DrawDemoScreen(f, packedFrom + 2, expected);
        ASSERT_EQ(std::memcmp(player.Screen().data(), expected.data(), kScreenBytes), 0) << "frame " << f;
        ASSERT_EQ(player.CurrentFrame(), f);
    }
    EXPECT_EQ(player.DecodeFrame(false), 0);
    EXPECT_EQ(player.CurrentFrame(), 0xFFFF);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(player.DecoderMode(), ModeMasked | ModeXor | ModePacked | ModeAttributes);
}

}  // namespace
}  // namespace qzm
