// Conversion of the Spectrum screen into the bottom-up palette-index picture, and Present.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine_test_util.h"
#include "memory_paint_device.h"
#include "recording_host.h"
#include "screen_convert.h"
#include "shown_screen.h"

namespace qzm {
namespace {

using Screen = std::array<std::uint8_t, kScreenBytes>;
using Image = std::vector<std::uint8_t>;

Image Convert(const Screen& screen) {
    Image image(kIndexedImageBytes, 0);
    ScreenToIndexed(screen, image.data());
    return image;
}

TEST(ScreenToIndexed, MatchesThePerPixelDefinitionOnRandomScreens) {
    std::mt19937 random(12345);
    for (int round = 0; round < 20; ++round) {
        Screen screen{};
        for (auto& b : screen) {
            b = static_cast<std::uint8_t>(random());
        }
        const Image image = Convert(screen);
        for (int y = 0; y < 192; ++y) {
            for (int x = 0; x < 256; ++x) {
                ASSERT_EQ(image[(191 - y) * 256 + x], testing::ShownColour(screen, x, y)) << x << "," << y;
            }
        }
        EXPECT_TRUE(std::all_of(image.begin() + kImagePixels, image.end(), [](auto b) { return b == 0; }));
    }
}

TEST(PlayerPicture, NewPlayerShowsBlackAndPresentsUnscaled) {
    testing::RecordingHost host;
    CStreamPlayer player(host);
    player.ScreenToIndexed();
    const auto& image = player.IndexedImage();
    EXPECT_TRUE(std::all_of(image.begin(), image.end(), [](auto b) { return b == 0; }));

    testing::MemoryPaintDevice device;
    player.Present(device);
    EXPECT_EQ(device.kind, testing::MemoryPaintDevice::Kind::Indexed);
    EXPECT_EQ(device.x, 3);
    EXPECT_EQ(device.y, 18);
    EXPECT_EQ(device.width, 256);
    EXPECT_EQ(device.height, 192);
}

}  // namespace
}  // namespace qzm
