// Seeking: where Seek lands, that it equals a replay from the start whatever it starts from, and
// that it replays a bounded number of frames.
#include <gtest/gtest.h>

#include <random>

#include "demo_scene.h"
#include "engine_test_util.h"
#include "recording_host.h"

namespace qzm {
namespace {

using testing::Fill;
using testing::MakeStream;
using testing::RecordingHost;

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

}  // namespace
}  // namespace qzm
