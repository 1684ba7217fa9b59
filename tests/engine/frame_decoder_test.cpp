// The frame decoder: item forms, commands, modes, LSCREEN, the packed form and attributes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "engine_test_util.h"
#include "frame_decoder.h"
#include "recording_host.h"

namespace qzm {
namespace {

using testing::AttributeAt;
using testing::CellAt;
using testing::CellLines;
using testing::Fill;
using testing::kZeroCell;
using testing::MakeStream;
using testing::RecordingHost;

constexpr CellLines kRamp{0x01, 0x03, 0x07, 0x0F, 0x1F, 0x3F, 0x7F, 0xFF};

class Decoder : public ::testing::Test {
protected:
    // Starts `stream`; the first frame must decode.
    void Start(const std::vector<std::uint8_t>& data) {
        bytes = data;
        ASSERT_EQ(player.StartStream(bytes.data(), bytes.size()), 1);
    }
    RecordingHost host;
    CStreamPlayer player{host};
    std::vector<std::uint8_t> bytes;  // the stream being played
};

// Which cells are XORed onto the screen: masked default cells and masked runs under ModeXor; never
// literal cells, LSCREEN cells or packed cells.
TEST_F(Decoder, XorAppliesOnlyToMaskedDefaultCellsAndMaskedRuns) {
    const CellLines base = Fill(0xF0);
    Start(MakeStream([&](auto& b) {
        const CellLines bases[] = {base, base, base, base};
        b.LiteralRun(bases).EndFrame();  // frame 1: cells 0-3 = F0
        // Frame 2: XOR on, masked off: a literal default cell is stored, a masked run is XORed.
        b.SetModes(1).Literal(0, kRamp);
        const CellLines ramp[] = {kRamp};
        b.MaskedRun(ramp).EndFrame();
        // Frame 3: masked on too: a default cell is XORed; an LSCREEN repaint of cell 0 is stored.
        b.SetMasked().Masked(2, kRamp).EndFrame();
        b.LScreen().LsRepeat(1, Fill(0x0F)).LsEnd();
    }));
    ASSERT_EQ(player.DecodeFrame(false), 1);
    EXPECT_EQ(CellAt(player, 0), kRamp);
    constexpr CellLines xored{0xF1, 0xF3, 0xF7, 0xFF, 0xEF, 0xCF, 0x8F, 0x0F};  // F0 XOR the ramp
    EXPECT_EQ(CellAt(player, 1), xored);
    ASSERT_EQ(player.DecodeFrame(false), 1);
    EXPECT_EQ(CellAt(player, 2), xored);
    EXPECT_EQ(CellAt(player, 3), base);
    ASSERT_EQ(player.DecodeFrame(false), 1);
    EXPECT_EQ(CellAt(player, 0), Fill(0x0F));
    EXPECT_EQ(player.DecoderMode(), ModeMasked | ModeXor);
}

// A literal run of 255 cells from cell 699 writes 69 cells and drops the rest, as do full-screen runs
// that end at 6176: the frame fails, and the attributes that follow the bitmap in memory are
// untouched.
TEST_F(Decoder, CellsPastTheEndOfTheScreenAreDroppedAndFailTheFrame) {
    const std::vector<CellLines> cells(255, Fill(0xFF));
    const std::function<void(testing::StreamBuilder&)> frames[] = {
        [&](auto& b) { b.Skip254().Skip254().Literal(190, Fill(0xFF)).LiteralRun(cells).EndFrame(); },
        [](auto& b) {
            b.FullScreen(0xAA);
            for (int i = 0; i < 4; ++i) {
                b.FullScreenRun(200, Fill(0xFF));
            }
        },
    };
    for (const auto& frame : frames) {
        Start(MakeStream(
            [&](auto& b) {
                b.EndFrame();
                frame(b);
            },
            {.defaultAttribute = 0x38}));
        EXPECT_EQ(player.DecodeFrame(true), 0);
        EXPECT_EQ(CellAt(player, 4351), Fill(0xFF));  // the last cell of the screen was written
        const auto attributes = player.Screen().subspan(kBitmapBytes);
        EXPECT_EQ(std::count(attributes.begin(), attributes.end(), 0x38), 768);
    }
}

TEST_F(Decoder, RunsOfZeroCellsWriteNothing) {
    Start(MakeStream([](auto& b) { b.Bytes({0xFF, 5, 0, 0xFF, 6, 0}).Literal(0, Fill(9)).EndFrame(); }));
    EXPECT_EQ(CellAt(player, 0), Fill(9));
    EXPECT_EQ(CellAt(player, 1), kZeroCell);
}

TEST_F(Decoder, UnknownCommandIsReportedThenTakenAsASkip) {
    Start(MakeStream([](auto& b) { b.Command(0x0A).Bytes(Fill(0x77)).EndFrame(); }));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Wrong command!"});
    EXPECT_EQ(CellAt(player, 10), Fill(0x77));
    EXPECT_EQ(CellAt(player, 0), kZeroCell);
    // Command 0 skips nothing and writes the next cell.
    host.messages.clear();
    Start(MakeStream([](auto& b) { b.Command(0).Bytes(Fill(0x66)).EndFrame(); }));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Wrong command!"});
    EXPECT_EQ(CellAt(player, 0), Fill(0x66));
}

TEST_F(Decoder, LScreenRepeatsRunsAndCountZeroMeans256) {
    Start(MakeStream([](auto& b) {
        b.LScreen().Bytes({1, 0, 0x03, 0xAA, 0x00});  // 256 cells of AA
        const CellLines ones[] = {Fill(1)};
        b.LsCells(ones).LsEnd();
    }));
    EXPECT_EQ(CellAt(player, 0), Fill(0xAA));
    EXPECT_EQ(CellAt(player, 255), Fill(0xAA));
    EXPECT_EQ(CellAt(player, 2048), Fill(1));
    EXPECT_EQ(CellAt(player, 2049), kZeroCell);
}

TEST_F(Decoder, LScreenReportsEachUnknownMarkerAndGoesOn) {
    Start(MakeStream([](auto& b) { b.LScreen().Bytes({5, 2}).LsRepeat(2, Fill(3)).LsEnd(); }));
    EXPECT_EQ(host.messages, (std::vector<std::string>{"Wrong LSCREEN marker!", "Wrong LSCREEN marker!"}));
    EXPECT_EQ(CellAt(player, 1), Fill(3));
}

TEST_F(Decoder, LScreenAttributeRowsFollowARunInOrder) {
    // One marker-1 run over 64 cells completes two rows: both rows' data follow the cell data, and
    // attribute bytes keep all eight bits.
    Start(MakeStream([](auto& b) {
        b.SetModes(4).LScreen();
        b.Bytes({1, 64, 0x00});
        b.Bytes({0x03, 0xC1, 0x42, 0, 0, 0});  // row 0: C1 then 42 for the rest
        b.Bytes({0x01, 0x05, 0, 0, 0});        // row 1: 05
        b.LsEnd();
    }));
    EXPECT_EQ(AttributeAt(player, 0), 0xC1);
    EXPECT_EQ(AttributeAt(player, 1), 0x42);
    EXPECT_EQ(AttributeAt(player, 31), 0x42);
    EXPECT_EQ(AttributeAt(player, 32), 0x05);
    EXPECT_EQ(AttributeAt(player, 63), 0x05);
}

TEST_F(Decoder, ZeroSkipReadsAttributeGroupsUntilComplete) {
    Start(MakeStream([](auto& b) {
        b.SetModes(6).PackedEndFrame();
        b.PackedGroup(0x01).PackedSkip(0);
        b.AttributeGroup(0x00, {1, 2, 3, 4, 5, 6, 7, 8});        // eight values, none completes
        b.AttributeGroup(0xFF, {255, 255, 255, 3, 0, 0, 0, 0});  // skips to 776: past the end
        b.AttributeGroup(0x00, {0x81});                          // dropped, completes
        b.PackedEndFrame();
    }));
    ASSERT_EQ(player.DecodeFrame(false), 1);
    EXPECT_EQ(AttributeAt(player, 0), 1);
    EXPECT_EQ(AttributeAt(player, 7), 8);
    EXPECT_EQ(AttributeAt(player, 767), 7);
    EXPECT_EQ(player.CurrentFrame(), 2);
}

TEST_F(Decoder, ModeIsResetOnlyOnTheFirstFrameAfterAStart) {
    const auto stream = MakeStream([](auto& b) {
        b.SetMasked().EndFrame();
        b.Masked(0, Fill(0x18)).EndFrame();
        b.EndStream();
    });
    Start(stream);
    EXPECT_EQ(player.DecoderMode(), ModeMasked);
    ASSERT_EQ(player.DecodeFrame(true), 1);
    EXPECT_EQ(CellAt(player, 0), Fill(0x18));  // masked form kept from frame 1
    EXPECT_EQ(player.Rewind(), 1);
    EXPECT_EQ(player.DecoderMode(), ModeMasked);
    // A stream that never sets a mode starts from a clean word, whatever the last one left.
    Start(MakeStream([](auto& b) { b.Literal(0, Fill(1)).EndFrame(); }));
    EXPECT_EQ(player.DecoderMode(), 0u);
}

TEST_F(Decoder, FrameCounterWrapsWithoutResettingTheMode) {
    // 65537 packed frames: the 16-bit counter passes 0xFFFF and 0, and the packed mode holds.
    const auto stream = MakeStream([](auto& b) {
        b.SetModes(2).PackedEndFrame();
        for (int i = 0; i < 65540; ++i) {
            b.PackedEndFrame();
        }
        b.PackedGroup(0x00);
        for (int i = 0; i < 8; ++i) {
            b.PackedCell(Fill(0x5A));
        }
        b.PackedEndFrame();
    });
    Start(stream);
    for (int f = 2; f <= 65541; ++f) {
        ASSERT_EQ(player.DecodeFrame(false), 1) << f;
    }
    EXPECT_EQ(player.CurrentFrame(), 65541 & 0xFFFF);
    ASSERT_EQ(player.DecodeFrame(false), 1);
    EXPECT_EQ(player.DecoderMode(), ModePacked);
    EXPECT_EQ(CellAt(player, 0), Fill(0x5A));
}

}  // namespace
}  // namespace qzm
