// Spectrum screens given to the video encoder as they are come back, frame by frame, from the
// stream it plans.
#include <gtest/gtest.h>

#include "picture_quantizer.h"
#include "recording_host.h"
#include "stream_player.h"
#include "video_encoder.h"

namespace qzm::encoder {
namespace {

// 39 frames of a sprite moving along the top row suit the packed form without attributes; then
// attributes change in every frame, with BRIGHT and FLASH. The planner must switch the attributes
// on before the packed form, which has no mode commands, and the packed attribute groups must drop
// FLASH, whose bit would end their data early.
TEST(ScreenRoundTrip, PlannedScreensDecodeWhenTheFirstColourChangeComesLate) {
    VideoEncoder encoder{EncodeOptions{}};
    std::vector<Screen> screens(60);
    Screen screen{};
    std::fill(screen.begin() + kBitmapBytes, screen.end(), kWhiteOnBlack);
    for (int f = 0; f < 60; ++f) {
        for (int line = 0; line < 8; ++line) {
            screen[BitmapOffset(line, (f + 7) % 8)] = 0;
            screen[BitmapOffset(line, f % 8)] = 0x3C;
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
    const std::vector<std::uint8_t>& stream = std::get<std::vector<std::uint8_t>>(result);
    EXPECT_EQ(encoder.Statistics().finalMode & (ModePacked | ModeAttributes), ModePacked | ModeAttributes);

    testing::RecordingHost host;
    CStreamPlayer player(host);
    ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
    for (std::size_t f = 0; f < screens.size(); ++f) {
        ASSERT_TRUE(f == 0 || player.DecodeFrame(false) == 1) << "frame " << f + 1;
        for (std::size_t i = 0; i < kScreenBytes; ++i) {
            const int mask = i < kBitmapBytes ? 0xFF : kAttributeValueBits;  // the player shows no BRIGHT
            ASSERT_EQ(player.Screen()[i] & mask, screens[f][i] & mask) << "frame " << f + 1 << " byte " << i;
        }
    }
    EXPECT_EQ(player.DecodeFrame(false), 0);
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace qzm::encoder
