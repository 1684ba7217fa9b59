// The player: starting a stream (header checks, the reset of screen and palette, rewinding, short
// data); seeking (where Seek lands, that it equals a replay from the start whatever it starts from, and
// that it replays a bounded number of frames); its guard against being re-entered from a host message;
// the conversion of the Spectrum screen into the bottom-up palette-index picture, and Present.
// (Opening files, with the streams their catalogues locate, is tested with the file loader.)
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "demo_scene.h"
#include "engine_test_util.h"
#include "memory_paint_device.h"
#include "recording_host.h"
#include "screen_convert.h"
#include "shown_screen.h"

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

// Versions 0 and 1 carry 2048 bytes after the header, past which the first frame is read.
TEST_F(StreamStart, BodyOffsetDependsOnVersion) {
    for (const auto& [version, body] : {std::pair{0, 2304u}, {1, 2304u}, {2, 256u}, {7, 256u}}) {
        const auto stream = TwoFrames({.version = static_cast<std::uint8_t>(version)});
        ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1) << version;
        EXPECT_EQ(player.ReadOffset(), body + 11u);  // past the first frame: 00, 8 bytes, FF 01
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
        const auto stream = TwoFrames({.defaultAttribute = given});
        ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
        const auto attributes = player.Screen().subspan(kBitmapBytes);
        EXPECT_EQ(std::count(attributes.begin(), attributes.end(), expected), 768) << int(given);
        EXPECT_EQ(player.Header().DefaultAttribute(), expected);
    }
}

// `frames` frames; frame f writes the byte f at a cell that moves with f. Every `messageEvery`-th
// frame also carries an unknown command, so the host counts the frames decoded. The header counts
// `headerCount` frames (by default, as many as there are).
std::vector<std::uint8_t> CountingStream(int frames, int messageEvery = 0, int headerCount = -1) {
    return MakeStream(
        [&](auto& b) {
            for (int f = 1; f <= frames; ++f) {
                b.Literal(static_cast<std::uint8_t>(f % 200), Fill(static_cast<std::uint8_t>(f)));
                if (messageEvery > 0 && f % messageEvery == 0) {
                    b.Command(0x0B).Bytes(Fill(0xEE));
                }
                b.EndFrame();
            }
            b.EndStream();
        },
        {.frameCount = static_cast<std::uint16_t>(headerCount < 0 ? frames : headerCount)});
}

// What a player shows and holds: everything a seek must leave as a replay would.
struct Observed {
    int counter;
    PlayerState state;
    std::size_t readOffset;
    std::uint32_t mode;
    std::vector<std::uint8_t> screen;
    std::vector<std::uint8_t> image;
    bool operator==(const Observed&) const = default;
};

Observed Observe(const CStreamPlayer& p) {
    return {p.CurrentFrame(),
            p.State(),
            p.ReadOffset(),
            p.DecoderMode(),
            {p.Screen().begin(), p.Screen().end()},
            {p.IndexedImage().begin(), p.IndexedImage().end()}};
}

// Seek(n) as a replay from the start: the first frame shown, then frames up to the target decoded
// without display but for the last.
Observed Replay(const std::vector<std::uint8_t>& stream, int n, int* messages = nullptr) {
    RecordingHost host;
    CStreamPlayer p(host);
    p.StartStream(stream.data(), stream.size());
    const int count = p.Header().FrameCount();
    const int target = std::clamp(n, 1, count);
    for (int f = 2; f <= target; ++f) {
        if (p.DecodeFrame(f == target) == 0) {
            break;
        }
    }
    if (messages != nullptr) {
        *messages = static_cast<int>(host.messages.size());
    }
    return Observe(p);
}

TEST(Seek, LandsOnTheSliderPositionClampedToTheFrames) {
    const auto stream = CountingStream(10);
    RecordingHost host;
    CStreamPlayer player(host);
    ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
    const std::pair<int, int> cases[] = {{0, 1}, {1, 1}, {5, 5}, {10, 10}, {11, 10}, {-3, 1}, {2, 2}, {9, 9}};
    for (const auto& [n, counter] : cases) {
        player.Seek(n);
        EXPECT_EQ(player.CurrentFrame(), counter) << n;
        EXPECT_EQ(Observe(player), Replay(stream, n)) << n;
    }
    // Playing on from a sought position continues with the next frame.
    player.Seek(4);
    ASSERT_EQ(player.DecodeFrame(true), 1);
    EXPECT_EQ(Observe(player), Replay(stream, 5));
}

// Random walks over long streams, with seeks in both directions and playback in between, against
// a replay from the start each time. The kept copies of the decoder state must make no difference,
// nor those kept from the stream played before.
TEST(Seek, EqualsAReplayFromTheStartWhereverItStartsFrom) {
    const std::vector<std::vector<std::uint8_t>> streams = {testing::BuildDemoStream({.frames = 1500}),
                                                            CountingStream(1200, 97, 1300)};
    std::mt19937 random(2024);
    RecordingHost host;
    CStreamPlayer player(host);
    for (const auto& stream : streams) {
        ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
        const int count = player.Header().FrameCount();
        for (int step = 0; step < 60; ++step) {
            const int n = std::uniform_int_distribution<int>(-5, count + 5)(random);
            const std::size_t messagesBefore = host.messages.size();
            player.Seek(n);
            int replayMessages = 0;
            ASSERT_EQ(Observe(player), Replay(stream, n, &replayMessages))
                << "seek " << n << " at step " << step;
            EXPECT_LE(static_cast<int>(host.messages.size() - messagesBefore), replayMessages);
            for (int play = std::uniform_int_distribution<int>(0, 40)(random); play > 0; --play) {
                player.DecodeFrame(play == 1);
            }
        }
    }
}

TEST(Seek, ReplaysABoundedNumberOfFrames) {
    // Every frame reports a message, so the messages count the frames each seek decodes.
    const auto stream = CountingStream(3000, 1);
    RecordingHost host;
    CStreamPlayer player(host);
    ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
    player.Seek(3000);  // the first seek to the end decodes the whole stream once
    EXPECT_EQ(player.CurrentFrame(), 3000);
    const int targets[] = {1500, 2999, 10, 2048, 2049, 700, 3000, 256, 255};
    for (int n : targets) {
        host.messages.clear();
        player.Seek(n);
        ASSERT_EQ(player.CurrentFrame(), n);
        EXPECT_LE(host.messages.size(), 256u) << n;
    }
    // Scrubbing forward one position at a time decodes one frame per step.
    player.Seek(1000);
    for (int n = 1001; n < 1100; ++n) {
        host.messages.clear();
        player.Seek(n);
        ASSERT_EQ(host.messages.size(), 1u) << n;
    }
}

TEST(ScreenToIndexed, MatchesThePerPixelDefinitionOnRandomScreens) {
    std::mt19937 random(12345);
    for (int round = 0; round < 20; ++round) {
        std::array<std::uint8_t, kScreenBytes> screen{};
        for (auto& b : screen) {
            b = static_cast<std::uint8_t>(random());
        }
        std::vector<std::uint8_t> image(kIndexedImageBytes, 0);
        ScreenToIndexed(screen, image.data());
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

// Frame 1 writes cell 0; frame 2 writes cell 1, then carries an unknown command (a message) that
// skips 10 cells and writes cell 12; frame 3 writes cell 2.
std::vector<std::uint8_t> StreamWithAMessage() {
    return MakeStream(
        [](auto& b) {
            b.Literal(0, Fill(1)).EndFrame();
            b.Literal(1, Fill(2)).Command(0x0A).Bytes(Fill(3)).EndFrame();
            b.Literal(2, Fill(4)).EndFrame();
            b.EndStream();
        },
        {.frameCount = 3});
}

// Every stream operation that reaches the host (a decoder message, a refusal, the video choice)
// shows the player busy there, and every operation tried from inside is refused and changes
// nothing: a timer tick, a rewind, a seek, another stream, another file, or closing the file under
// the running decoder (which freed the buffer it was reading). Busy ends with the operation.
TEST(PlayerGuard, NothingRunsFromInsideTheHost) {
    const auto stream = StreamWithAMessage();
    const auto other = MakeStream([](auto& b) { b.Literal(0, Fill(9)).EndFrame(); }, {.frameCount = 1});
    const auto refused = MakeStream([](auto&) {}, {.version = 8});
    const auto atZero = [](auto) { return std::optional<std::size_t>(0); };
    RecordingHost host;
    CStreamPlayer player(host);
    const auto choosing = [&](auto) {
        host.ChooseVideo({});
        return std::optional<std::size_t>(0);
    };
    const struct {
        const char* name;
        const std::vector<std::uint8_t>& file;  // opened first
        std::function<int()> run;
        int result;
        int counterAfter;
    } cases[] = {
        {"Seek", stream,
         [&] {
             player.Seek(3);
             return player.CurrentFrame();
         },
         3, 3},
        {"StartStream", stream, [&] { return player.StartStream(refused.data(), refused.size()); }, 0,
         0xFFFF},
        {"Rewind", refused, [&] { return player.Rewind(); }, 0, 0xFFFF},
        {"OpenFile", stream, [&] { return player.OpenFile(stream, choosing); }, 1, 1},
        {"DecodeFrame", stream, [&] { return player.DecodeFrame(true); }, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        player.OpenFile(c.file, atZero);
        int calls = 0;
        const auto tryEverything = [&] {
            ++calls;
            EXPECT_TRUE(player.IsBusy());
            const int counter = player.CurrentFrame();
            const std::uint8_t* file = player.FileBuffer().data();
            EXPECT_EQ(player.DecodeFrame(true), 0);
            EXPECT_EQ(player.Rewind(), 0);
            player.Seek(1);
            EXPECT_EQ(player.StartStream(other.data(), other.size()), 0);
            EXPECT_EQ(player.OpenFile(other, atZero), 0);
            player.CloseFile();
            EXPECT_EQ(player.CurrentFrame(), counter);
            EXPECT_EQ(player.FileBuffer().data(), file);
        };
        host.onMessage = [&](std::string_view) { tryEverything(); };
        host.onChoose = tryEverything;
        EXPECT_EQ(c.run(), c.result);
        host.onMessage = nullptr;
        host.onChoose = nullptr;
        EXPECT_EQ(calls, 1);
        EXPECT_FALSE(player.IsBusy());
        EXPECT_EQ(player.CurrentFrame(), c.counterAfter);
    }
    // The decode (the last case) went on with the file in place: the message's cells, then the
    // next frame.
    EXPECT_EQ(CellAt(player, 1), Fill(2));
    EXPECT_EQ(CellAt(player, 12), Fill(3));
    ASSERT_EQ(player.DecodeFrame(true), 1);
    EXPECT_EQ(CellAt(player, 2), Fill(4));
    player.CloseFile();
    EXPECT_EQ(player.State(), PlayerState::Empty);
    EXPECT_TRUE(player.FileBuffer().empty());
}

}  // namespace
}  // namespace qzm
