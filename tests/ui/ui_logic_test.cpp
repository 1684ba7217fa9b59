// The window's pure functions: layout, hit zones, time counter, settings value, timer period.
#include <gtest/gtest.h>

#include "hit_zones.h"
#include "playback.h"
#include "profile_int.h"
#include "time_counter.h"
#include "window_layout.h"

namespace qzm::ui {
namespace {

TEST(WindowLayout, SmallestWindowPlacesEveryControl) {
    const WindowLayout l = LayOutWindow(267, 269);
    const std::pair<Control, Rect> expected[] = {
        {Control::Close, {245, 0, 16, 16}},     {Control::Maximize, {228, 0, 16, 16}},
        {Control::Minimize, {210, 0, 16, 16}},  {Control::Title, {75, 0, 104, 16}},
        {Control::Open, {8, 236, 24, 24}},      {Control::Play, {38, 236, 24, 24}},
        {Control::Stop, {68, 236, 24, 24}},     {Control::Info, {195, 236, 24, 24}},
        {Control::Options, {227, 236, 24, 24}}, {Control::Time, {98, 236, 68, 20}},
        {Control::Position, {8, 211, 248, 16}}, {Control::About, {0, 0, 16, 16}},
        {Control::OnTop, {16, 0, 16, 16}},
    };
    for (const auto& [control, rect] : expected) {
        EXPECT_EQ(l[control], rect) << ControlName(control);
    }
    EXPECT_EQ(l.pictureArea, (Rect{3, 18, 256, 192}));
}

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

TEST(Playback, TimerPeriodCountsDelayZeroAsOne) {
    EXPECT_EQ(TimerPeriodMs(0), 20);
    EXPECT_EQ(TimerPeriodMs(1), 20);
    EXPECT_EQ(TimerPeriodMs(2), 40);
    EXPECT_EQ(TimerPeriodMs(255), 5100);
}

}  // namespace
}  // namespace qzm::ui
