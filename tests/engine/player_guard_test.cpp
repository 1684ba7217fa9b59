// The player's guard against being re-entered from a host message. (Opening files, with the streams
// their catalogues locate, is tested with the file loader.)
#include <gtest/gtest.h>

#include <functional>

#include "engine_test_util.h"
#include "recording_host.h"

namespace qzm {
namespace {

using testing::CellAt;
using testing::Fill;
using testing::MakeStream;
using testing::RecordingHost;

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
