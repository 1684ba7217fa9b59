// Streams of exact Spectrum screens decode, frame by frame, to those screens: the demo stream,
// which the frame coder codes in every form in turn, and screens whose forms and modes the video
// encoder plans.
#include <gtest/gtest.h>

#include "demo_scene.h"
#include "picture_quantizer.h"
#include "recording_host.h"
#include "stream_player.h"
#include "video_encoder.h"

namespace qzm {
namespace {

using Screens = std::vector<encoder::Screen>;

// Plays `stream` and compares each frame's bitmap, and its attributes' ink and paper, with `screens`.
void ExpectPlays(const std::vector<std::uint8_t>& stream, const Screens& screens, std::uint32_t finalMode) {
    testing::RecordingHost host;
    CStreamPlayer player(host);
    ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
    for (std::size_t f = 0; f < screens.size(); ++f) {
        ASSERT_TRUE(f == 0 || player.DecodeFrame(false) == 1) << "frame " << f + 1;
        for (std::size_t i = 0; i < kScreenBytes; ++i) {
            const int mask = i < kBitmapBytes ? 0xFF : kAttributeValueBits;
            ASSERT_EQ(player.Screen()[i] & mask, screens[f][i] & mask) << "frame " << f + 1 << " byte " << i;
        }
    }
    EXPECT_EQ(player.DecodeFrame(false), 0);
    EXPECT_EQ(player.CurrentFrame(), 0xFFFF);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(player.DecoderMode(), finalMode);
}

TEST(ScreenRoundTrip, DemoStreamInEveryFormDecodesToTheDrawnScreens) {
    testing::DemoStreamOptions options;
    options.frames = 400;
    Screens drawn(400);
    for (int f = 0; f < 400; ++f) {
        testing::DrawDemoScreen(f + 1, 400 * 65 / 100 + 2, drawn[static_cast<std::size_t>(f)]);
    }
    ExpectPlays(testing::BuildDemoStream(options), drawn, ModeMasked | ModeXor | ModePacked | ModeAttributes);
}

// 39 frames of a sprite moving along the top row suit the packed form without attributes; then
// attributes change in every frame, with BRIGHT and FLASH. The planner must switch the attributes
// on before the packed form, which has no mode commands, and the packed attribute groups must drop
// FLASH, whose bit would end their data early.
TEST(ScreenRoundTrip, PlannedScreensDecodeWhenTheFirstColourChangeComesLate) {
    encoder::VideoEncoder encoder(encoder::EncodeOptions{});
    Screens screens(60);
    encoder::Screen screen{};
    std::fill(screen.begin() + kBitmapBytes, screen.end(), kWhiteOnBlack);
    for (int f = 0; f < 60; ++f) {
        for (int line = 0; line < 8; ++line) {
            screen[encoder::BitmapOffset(line, (f + 7) % 8)] = 0;
            screen[encoder::BitmapOffset(line, f % 8)] = 0x3C;
        }
        if (f >= 39) {
            screen[kBitmapBytes + static_cast<std::size_t>(f % 5)] = static_cast<std::uint8_t>(0xC0 + f);
            screen[kBitmapBytes + 9] = static_cast<std::uint8_t>(f << 2);
        }
        screens[static_cast<std::size_t>(f)] = screen;
        encoder.AddScreen(screen);
    }
    const auto result = encoder.Finish();
    ASSERT_TRUE(std::holds_alternative<std::vector<std::uint8_t>>(result)) << std::get<std::string>(result);
    const encoder::EncodeStatistics& stats = encoder.Statistics();
    ExpectPlays(std::get<std::vector<std::uint8_t>>(result), screens, stats.finalMode);
    EXPECT_EQ(stats.finalMode & (ModePacked | ModeAttributes), ModePacked | ModeAttributes);
}

}  // namespace
}  // namespace qzm
