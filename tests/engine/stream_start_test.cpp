// Starting a stream: header checks, the reset of screen and palette, rewinding, and short data.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine_test_util.h"
#include "recording_host.h"

namespace qzm {
namespace {

using testing::CellAt;
using testing::CellLines;
using testing::Fill;
using testing::MakeStream;
using testing::RecordingHost;

constexpr CellLines kCell{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};

// Two frames: the first writes kCell at the top-left cell, the second fills the cell beside it.
std::vector<std::uint8_t> TwoFrames(testing::HeaderFields header = {}) {
    return MakeStream(
        [](auto& b) { b.Literal(0, kCell).EndFrame().Literal(1, Fill(0xFF)).EndFrame().EndStream(); },
        header);
}

class StreamStart : public ::testing::Test {
protected:
    RecordingHost host;
    CStreamPlayer player{host};
};

TEST_F(StreamStart, FirstFrameIsDecodedAndShownOnAClearedScreen) {
    const auto stream = TwoFrames();
    ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
    EXPECT_EQ(player.CurrentFrame(), 1);
    EXPECT_EQ(player.State(), PlayerState::Playing);
    EXPECT_EQ(CellAt(player, 0), kCell);
    const auto bitmap = player.Screen().first(kBitmapBytes);
    EXPECT_EQ(std::count(bitmap.begin(), bitmap.end(), 0), static_cast<long>(kBitmapBytes - 8));
    for (int i = 0; i < kColourCount; ++i) {
        EXPECT_EQ(player.GetPalette()[i], ColourEntry(i)) << i;
    }
    // Line 0 of the top-left cell, 0x11 with white ink on black paper, is the top stored row.
    const std::uint8_t* top = player.IndexedImage().data() + 191 * 256;
    EXPECT_EQ(std::vector<std::uint8_t>(top, top + 8), (std::vector<std::uint8_t>{0, 0, 0, 7, 0, 0, 0, 7}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(StreamStart, BodyOffsetDependsOnVersion) {
    for (int version : {0, 1}) {
        const auto stream = TwoFrames({.version = static_cast<std::uint8_t>(version)});
        ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1) << version;
        EXPECT_EQ(player.ReadOffset(), 2304u + 11u);  // past the first frame: 00, 8 bytes, FF 01
    }
    for (int version : {2, 7}) {
        const auto stream = TwoFrames({.version = static_cast<std::uint8_t>(version)});
        ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1) << version;
        EXPECT_EQ(player.ReadOffset(), 256u + 11u);
        EXPECT_EQ(CellAt(player, 0), kCell);
    }
}

// Each refusal shows its message (a null stream none), keeps the picture and the header it read,
// and leaves nothing to decode or seek. Refused: a bad magic, versions from 8, and streams shorter
// than the 256-byte header or than the 2048 bytes versions 0 and 1 carry after it.
TEST_F(StreamStart, RefusalsShowTheirMessageAndKeepThePicture) {
    const auto good = TwoFrames();
    auto badMagic = TwoFrames();
    badMagic[1] = 'X';
    const auto version8 = TwoFrames({.version = 8});
    const auto version255 = TwoFrames({.version = 255});
    const auto legacy = TwoFrames({.version = 1});
    const struct {
        const std::vector<std::uint8_t>* stream;
        std::size_t length;
        std::vector<std::string> messages;
    } cases[] = {
        {&badMagic, badMagic.size(), {"Invalid stream!"}},
        {&version8, version8.size(), {"Unsupported version!"}},
        {&version255, version255.size(), {"Unsupported version!"}},
        {&legacy, 0, {"Invalid stream!"}},
        {&legacy, 2, {"Invalid stream!"}},
        {&legacy, 255, {"Invalid stream!"}},
        {&legacy, 256, {"Invalid stream!"}},
        {&legacy, 2303, {"Invalid stream!"}},
        {nullptr, 100, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        ASSERT_EQ(player.StartStream(good.data(), good.size()), 1);
        const std::vector<std::uint8_t> screen(player.Screen().begin(), player.Screen().end());
        const auto image = player.IndexedImage();
        host.messages.clear();
        EXPECT_EQ(player.StartStream(c.stream ? c.stream->data() : nullptr, c.length), 0);
        EXPECT_EQ(host.messages, c.messages);
        EXPECT_TRUE(std::equal(screen.begin(), screen.end(), player.Screen().begin()));
        EXPECT_EQ(image, player.IndexedImage());
        if (c.stream == nullptr) {
            EXPECT_EQ(player.CurrentFrame(), 1);  // ignored: the stream plays on
            continue;
        }
        EXPECT_EQ(player.State(), PlayerState::Refused);
        EXPECT_EQ(player.Header().Version(), c.length > 2 ? (*c.stream)[2] : 0);
        EXPECT_EQ(player.DecodeFrame(true), 0);
        EXPECT_EQ(player.Rewind(), 0);
        player.Seek(1);
        EXPECT_EQ(player.CurrentFrame(), 0xFFFF);
    }
    // Exactly the header and nothing more: accepted, and the first frame meets the end of data.
    host.messages.clear();
    EXPECT_EQ(player.StartStream(legacy.data(), 2304), 0);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(player.State(), PlayerState::Ended);
}

TEST_F(StreamStart, DefaultAttributeFillsTheAttributes) {
    const std::pair<std::uint8_t, std::uint8_t> cases[] = {{0, 7}, {0xC5, 0x05}, {0x47, 0x07}, {0x38, 0x38}};
    for (const auto& [given, expected] : cases) {
        const std::uint8_t filled = expected;  // a plain local, so that the lambda can capture it
        const auto stream = TwoFrames({.defaultAttribute = given});
        ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
        const auto attributes = player.Screen().subspan(kBitmapBytes);
        EXPECT_TRUE(std::all_of(attributes.begin(), attributes.end(), [&](auto a) { return a == filled; }))
            << int(given);
        EXPECT_EQ(player.Header().DefaultAttribute(), filled);
    }
}

TEST_F(StreamStart, RewindAfterTheEndStartsOver) {
    const auto stream = TwoFrames();
    ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
    ASSERT_EQ(player.DecodeFrame(true), 1);
    EXPECT_EQ(player.DecodeFrame(true), 0);  // the end command
    EXPECT_EQ(player.CurrentFrame(), 0xFFFF);
    EXPECT_EQ(player.State(), PlayerState::Ended);
    EXPECT_EQ(player.DecodeFrame(true), 0);  // stays ended

    EXPECT_EQ(player.Rewind(), 1);
    EXPECT_EQ(player.CurrentFrame(), 1);
    EXPECT_EQ(CellAt(player, 1), testing::kZeroCell);  // the second frame's cell is gone again
    EXPECT_EQ(player.DecodeFrame(true), 1);
    EXPECT_EQ(player.CurrentFrame(), 2);
    EXPECT_EQ(CellAt(player, 1), Fill(0xFF));
}

}  // namespace
}  // namespace qzm
