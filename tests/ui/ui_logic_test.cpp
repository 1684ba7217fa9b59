// The window's pure functions: layout and its scales, hit zones, time counter, settings value, the
// names of frame grabs.
#include <gtest/gtest.h>

#include "device_scale.h"
#include "grab_name.h"
#include "hit_zones.h"
#include "profile_int.h"
#include "time_counter.h"
#include "window_layout.h"

namespace qzm::ui {
namespace {

TEST(WindowLayout, LargerWindowMovesRightAndBottomControlsOnly) {
    const WindowLayout l = LayOutWindow(1001, 700);
    EXPECT_EQ(l[Control::Close], (Rect{979, 0, 16, 16}));
    EXPECT_EQ(l[Control::Title], (Rect{442, 0, 104, 16}));  // 1001 / 2 - 58, truncated
    EXPECT_EQ(l[Control::Options], (Rect{961, 667, 24, 24}));
    EXPECT_EQ(l[Control::Position], (Rect{8, 642, 982, 16}));
    EXPECT_EQ(l[Control::About], (Rect{0, 0, 16, 16}));
    EXPECT_EQ(l.pictureArea, (Rect{3, 18, 990, 623}));
    EXPECT_EQ(InitialWindowSize(), (Size{267, 269}));  // 261 x 263 from the template, raised
}

// The skin's whole factor, the smallest window that holds 267 x 269 skin pixels, and the on-top
// button (16..32 skin pixels across) on the device and covered in logical pixels.
TEST(DeviceScale, SkinFactorSmallestWindowAndCover) {
    const struct {
        double ratio;
        int skin;
        Size smallest;
        Rect logical;
    } cases[] = {{1.0, 1, {267, 269}, {16, 0, 16, 16}},
                 {1.25, 1, {214, 216}, {12, 0, 14, 13}},
                 {1.5, 2, {356, 359}, {21, 0, 22, 22}},
                 {2.0, 2, {267, 269}, {16, 0, 16, 16}},
                 {3.0, 3, {267, 269}, {16, 0, 16, 16}}};
    for (const auto& c : cases) {
        const DeviceScale scale = DeviceScale::ForRatio(c.ratio);
        const Size held = scale.SkinSize(c.smallest.width, c.smallest.height);
        const Size less = scale.SkinSize(c.smallest.width - 1, c.smallest.height - 1);
        EXPECT_EQ(scale.skin, c.skin) << c.ratio;
        EXPECT_EQ(scale.LogicalSize({267, 269}), c.smallest) << c.ratio;
        EXPECT_TRUE(held.width >= 267 && held.height >= 269 && less.width < 267 && less.height < 269)
            << c.ratio;
        EXPECT_EQ(scale.LogicalCover(scale.ToDevice(LayOutWindow(267, 269)[Control::OnTop])), c.logical)
            << c.ratio;
    }
}

TEST(HitZones, BandsCornersAndPanels) {
    const int w = 400, h = 300;
    const struct {
        int x, y;
        HitZone zone;
    } cases[] = {
        {2, 100, HitZone::Left},         {3, 100, HitZone::None},
        {w - 2, 100, HitZone::Right},    {w - 3, 100, HitZone::None},
        {w - 3, 10, HitZone::Move},      {w - 3, h - 10, HitZone::Move},
        {2, 2, HitZone::TopLeft},        {w - 1, 0, HitZone::TopRight},
        {0, h - 1, HitZone::BottomLeft}, {w - 2, h - 2, HitZone::BottomRight},
        {100, 2, HitZone::Top},          {100, h - 2, HitZone::Bottom},
        {100, h - 3, HitZone::Move},     {100, 3, HitZone::Move},
        {100, 18, HitZone::Move},        {100, 19, HitZone::None},
        {100, h - 59, HitZone::None},    {100, h - 58, HitZone::Move},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HitTest(c.x, c.y, w, h), c.zone) << c.x << "," << c.y;
    }
}

TEST(TimeCounter, TextAndGlyphs) {
    const struct {
        int frame, delay;
        const char* text;
    } cases[] = {
        {0, 1, "00:00:00"},    {0xFFFF, 2, "00:00:00"},    {75, 2, "00:03:00"},   {75, 0, "00:01:25"},
        {3001, 1, "01:00:01"}, {65534, 255, "5570:23:20"}, {1234, 3, "01:14:02"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimeText(c.frame, c.delay), c.text) << c.frame << " x " << c.delay;
    }
    EXPECT_EQ(TimeGlyphs(75, 2), (std::array<int, 8>{0, 0, 10, 0, 3, 10, 0, 0}));
    EXPECT_EQ(TimeGlyphs(65534, 255), (std::array<int, 8>{5, 5, 7, 0, 10, 2, 3, 10}));  // first 8 only
    EXPECT_EQ(GlyphX(7), 57);
}

TEST(ProfileInt, SignDigitsAndJunk) {
    const std::pair<const char*, int> cases[] = {
        {"", 0},
        {"abc", 0},
        {"7", 7},
        {"  3", 3},
        {"-1", -1},
        {"+2", 2},
        {"3x", 3},
        {"- 3", 0},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
        {"0012", 12},
        {"1 2", 1},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseProfileInt(text), value) << '"' << text << '"';
    }
}

// A name from a header may hold anything: it must not reach into another folder, hide the file or
// leave it nameless.
TEST(GrabName, VideoNameElseFileNameMadeSafe) {
    const struct {
        const char* video;
        const char* stem;
        int frame;
        const char* name;
    } cases[] = {
        {"DEMO    ", "demo", 3, "DEMO-00003"},
        {"   ", "my clip", 12, "my clip-00012"},
        {"../a\\b:", "x", 1, "_._a_b_-00001"},
        {"\x01\x7f*?", "", 0, "____-00000"},
        {"", ".hidden", 7, "_hidden-00007"},
        {"", "", 65535, "frame-65535"},
        {"\xd0\x92\xd0\x98", "", 9, "\xd0\x92\xd0\x98-00009"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GrabBaseName(c.video, c.stem, c.frame), c.name) << c.video << " / " << c.stem;
    }
    EXPECT_EQ(GrabFileName("DEMO-00003", 1), "DEMO-00003.png");
    EXPECT_EQ(GrabFileName("DEMO-00003", 3), "DEMO-00003-3.png");
}

}  // namespace
}  // namespace qzm::ui
