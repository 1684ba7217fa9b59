// Conversion of the Spectrum screen into the bottom-up palette-index picture, and Present.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine_test_util.h"
#include "memory_paint_device.h"
#include "recording_host.h"
#include "screen_convert.h"

namespace qzm {
namespace {

using Screen = std::array<std::uint8_t, kScreenBytes>;
using Image = std::vector<std::uint8_t>;

Image Convert(const Screen& screen) {
    Image image(kIndexedImageBytes, 0);
    ScreenToIndexed(screen, image.data());
    return image;
}

// The conversion straight from the definition: for every pixel, its byte, bit and attribute.
std::uint8_t ReferencePixel(const Screen& s, int x, int y) {
    const std::size_t offset = ((y / 64) * 2048) + ((y % 8) * 256) + (((y / 8) % 8) * 32) + x / 8;
    const std::uint8_t attribute = s[kBitmapBytes + (y / 8) * 32 + x / 8];
    const bool ink = (s[offset] >> (7 - x % 8)) & 1;
    return static_cast<std::uint8_t>(ink ? attribute & 7 : (attribute >> 3) & 7);
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
                ASSERT_EQ(image[(191 - y) * 256 + x], ReferencePixel(screen, x, y)) << x << "," << y;
            }
        }
        EXPECT_TRUE(std::all_of(image.begin() + kImagePixels, image.end(), [](auto b) { return b == 0; }));
    }
}

TEST(ScreenToIndexed, LineOrderAndAttributeRows) {
    // One set pixel per chosen screen line, at its line number's column, each in its own row.
    const std::pair<int, std::size_t> lines[] = {{0, 0}, {1, 256}, {8, 32}, {64, 2048}, {191, 0x17E0}};
    Screen screen{};
    std::fill(screen.begin() + kBitmapBytes, screen.end(), 0x38);  // black ink on white paper
    for (const auto& [y, offset] : lines) {
        screen[offset + 3] = 0x80;
    }
    const Image image = Convert(screen);
    for (const auto& [y, offset] : lines) {
        const std::uint8_t* row = image.data() + (191 - y) * 256;
        EXPECT_EQ(row[24], 0) << "line " << y;
        EXPECT_EQ(row[25], 7) << "line " << y;
    }
    EXPECT_EQ(std::count(image.begin(), image.begin() + kImagePixels, 0), 5);
}

TEST(ScreenToIndexed, BrightAndFlashAreIgnored) {
    Screen a{};
    Screen b{};
    Screen c{};
    for (std::size_t i = 0; i < kBitmapBytes; ++i) {
        a[i] = b[i] = c[i] = static_cast<std::uint8_t>(i * 7);
    }
    std::fill(a.begin() + kBitmapBytes, a.end(), 0x07);
    std::fill(b.begin() + kBitmapBytes, b.end(), 0x47);
    std::fill(c.begin() + kBitmapBytes, c.end(), 0x87);
    EXPECT_EQ(Convert(a), Convert(b));
    EXPECT_EQ(Convert(a), Convert(c));
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

TEST(PlayerPicture, PresentDrawsTheFrameUnscaledOrThroughTheRenderer) {
    testing::RecordingHost host;
    CStreamPlayer player(host);
    // A white top-left pixel on black: 0x80 at offset 0 with white ink.
    const auto stream = testing::MakeStream([](auto& b) {
        b.Literal(0, {0x80, 0, 0, 0, 0, 0, 0, 0}).EndFrame();
    });
    ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);

    testing::MemoryPaintDevice device;
    player.SetDisplayArea(256, 192);
    player.Present(device);
    ASSERT_EQ(device.kind, testing::MemoryPaintDevice::Kind::Indexed);
    EXPECT_EQ(device.At(0, 0), MakePixel(255, 255, 255));
    EXPECT_EQ(device.At(1, 0), MakePixel(0, 0, 0));

    player.SetDisplayArea(600, 384);  // 512 x 384 at (47, 18)
    player.Present(device);
    ASSERT_EQ(device.kind, testing::MemoryPaintDevice::Kind::Pixels);
    EXPECT_EQ(device.x, 47);
    EXPECT_EQ(device.y, 18);
    EXPECT_EQ(device.width, 512);
    EXPECT_EQ(device.height, 384);
    EXPECT_EQ(device.At(1, 1), MakePixel(255, 255, 255));
    EXPECT_EQ(device.At(2, 0), MakePixel(0, 0, 0));
}

}  // namespace
}  // namespace qzm
