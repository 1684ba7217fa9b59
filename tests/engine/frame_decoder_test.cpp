// The frame decoder: item forms, commands, modes, LSCREEN, the packed form and attributes; and one
// stream through every item form and command, checked against a screen derived by hand, and every
// truncation of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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

// An unknown command is reported, then its number is taken as a skip (command 10 in the guard test's
// stream): command 0 skips nothing and writes the next cell.
TEST_F(Decoder, UnknownCommandIsReportedThenTakenAsASkip) {
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

constexpr CellLines kPattern{0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81};
constexpr CellLines kL1{1, 2, 3, 4, 5, 6, 7, 8};
constexpr CellLines kL2{0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80};
constexpr CellLines kL3{0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8};
constexpr CellLines kL4{0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8};

// Nine frames, each in another form; the raw bytes are spelled out so that nothing but the decoder
// interprets them.
std::vector<std::uint8_t> EveryFormStream() {
    return MakeStream(
        [](auto& b) {
            // 1: CmdFullScreen, marker AA, three runs of 256 cells of the pattern.
            b.Bytes({0xFF, 0x04, 0xAA});
            for (int i = 0; i < 3; ++i) {
                b.Bytes({0xAA, 0x00}).Bytes(kPattern);
            }
            // 2: LSCREEN in the default form: cells 0-1 all AA, cell 2 blank.
            b.Bytes({0xFF, 0x07, 0x01, 0x02, 0x03, 0xAA, 0x00, 0x00, 0x01, 0x00, 0xFF});
            // 3: literal cells: skip 37 -> cell 37; FE -> 2084; cell 2084; a literal run at 2085-2086.
            b.Byte(37).Bytes(kL1).Byte(0xFE).Byte(0x00).Bytes(kL2);
            b.Bytes({0xFF, 0x05, 0x02}).Bytes(kL3).Bytes(kL4).Bytes({0xFF, 0x03, 0xFF, 0x01});
            // 4: masked: skip 63 -> cell 63, mask 81 with 0F, F0.
            b.Bytes({0xFF, 0x08, 0x3F, 0x81, 0x0F, 0xF0, 0xFF, 0x01});
            // 5: XOR: a ramp onto cell 64, a masked run of one onto cell 65.
            b.Bytes({0xFF, 0x09, 0x01, 0x40, 0xFF, 1, 2, 4, 8, 16, 32, 64, 128});
            b.Bytes({0xFF, 0x06, 0x01, 0x01, 0xAA, 0xFF, 0x01});
            // 6: packed and attributes on; skip 96, seven cells 3C 00 3C 00 ... at 96-102.
            b.Bytes({0xFF, 0x09, 0x06, 0x01, 0x60});
            for (int i = 0; i < 7; ++i) {
                b.Bytes({0x01, 0x3C});
            }
            b.Byte(0x1F);
            // 7: attributes pending: skip 128 and 2, six blank cells 130-135, then an attribute
            // group: skip 32, 0x56 (written as 0x16), 0x97 (as 0x17, completes).
            b.Bytes({0x03, 0x80, 0x02, 0, 0, 0, 0, 0, 0});
            b.Bytes({0x01, 0x20, 0x56, 0x97, 0x1F});
            // 8: packed LSCREEN with attributes: row 0 blank, its attributes all 0x0D.
            b.Bytes({0x3F, 0x01, 0x20, 0x00, 0x01, 0x0D, 0x00, 0x00, 0x00, 0xFF});
            // 9: the end of the stream.
            b.Byte(0xFF);
        },
        {.frameCount = 8, .defaultAttribute = 0x38});
}

std::array<std::uint8_t, kScreenBytes> ExpectedScreen() {
    std::array<std::uint8_t, kScreenBytes> s{};
    const auto put = [&](std::uint32_t address, const CellLines& lines) {
        for (int k = 0; k < 8; ++k) {
            s[address + 256u * k] = lines[k];
        }
    };
    for (std::size_t i = 0; i < kBitmapBytes; ++i) {
        s[i] = kPattern[(i >> 8) & 7];  // frame 1's full screen
    }
    for (std::uint32_t cell = 0; cell < 32; ++cell) {
        put(cell, Fill(0));  // LSCREEN of frame 8
    }
    put(37, kL1);
    put(2084, kL2);
    put(2085, kL3);
    put(2086, kL4);
    put(63, {0x0F, 0x00, 0x0F, 0x00, 0x0F, 0x00, 0x0F, 0xFF});
    put(64, {0x80, 0x41, 0x23, 0x17, 0x07, 0x1B, 0x3D, 0x7E});  // pattern XOR ramp
    put(65, {0x2B, 0x42, 0x8E, 0x18, 0xB2, 0x24, 0xE8, 0x81});  // pattern XOR AA 00 AA 00 ...
    for (std::uint32_t cell = 96; cell <= 102; ++cell) {
        put(cell, {0x3C, 0, 0x3C, 0, 0x3C, 0, 0x3C, 0});
    }
    for (std::uint32_t cell = 130; cell <= 135; ++cell) {
        put(cell, Fill(0));
    }
    std::fill(s.begin() + kBitmapBytes, s.end(), 0x38);
    std::fill(s.begin() + kBitmapBytes, s.begin() + kBitmapBytes + 32, 0x0D);
    s[kBitmapBytes + 32] = 0x16;
    s[kBitmapBytes + 33] = 0x17;
    return s;
}

TEST(EveryForm, DecodesToTheScreenDerivedByHand) {
    const auto stream = EveryFormStream();
    RecordingHost host;
    CStreamPlayer player(host);
    ASSERT_EQ(player.StartStream(stream.data(), stream.size()), 1);
    for (int frame = 2; frame <= 8; ++frame) {
        ASSERT_EQ(player.DecodeFrame(frame == 8), 1) << frame;
    }
    const auto expected = ExpectedScreen();
    for (std::size_t i = 0; i < kScreenBytes; ++i) {
        ASSERT_EQ(player.Screen()[i], expected[i]) << "byte " << i;
    }
    EXPECT_EQ(player.DecoderMode(), ModeMasked | ModeXor | ModePacked | ModeAttributes);
    EXPECT_EQ(player.ReadOffset(), stream.size() - 1);
    EXPECT_EQ(player.DecodeFrame(true), 0);
    EXPECT_EQ(player.CurrentFrame(), 0xFFFF);
    EXPECT_EQ(player.ReadOffset(), stream.size() - 1);
    EXPECT_TRUE(host.messages.empty());
}

// Every prefix of the stream plays as far as its data reaches: the frames that are complete in it
// decode exactly as in the whole stream, and the first incomplete one ends the stream without
// moving the read offset, showing a message or touching memory outside the player's buffers.
TEST(EveryForm, EveryTruncationEndsTheStreamCleanly) {
    const auto stream = EveryFormStream();
    RecordingHost host;
    CStreamPlayer whole(host);
    ASSERT_EQ(whole.StartStream(stream.data(), stream.size()), 1);
    std::vector<std::size_t> frameEnds{whole.ReadOffset()};
    std::vector<std::vector<std::uint8_t>> screens{{whole.Screen().begin(), whole.Screen().end()}};
    while (whole.DecodeFrame(false) == 1) {
        frameEnds.push_back(whole.ReadOffset());
        screens.emplace_back(whole.Screen().begin(), whole.Screen().end());
    }

    for (std::size_t length = kHeaderBytes; length < stream.size(); ++length) {
        // An exact-size copy, so that AddressSanitizer sees any read past the end.
        const std::vector<std::uint8_t> prefix(stream.begin(), stream.begin() + static_cast<long>(length));
        CStreamPlayer player(host);
        std::size_t complete = 0;
        while (complete < frameEnds.size() && frameEnds[complete] <= length) {
            ++complete;
        }
        ASSERT_EQ(player.StartStream(prefix.data(), prefix.size()), complete > 0 ? 1 : 0) << length;
        for (std::size_t f = 1; f < complete; ++f) {
            ASSERT_EQ(player.DecodeFrame(false), 1) << length;
        }
        if (complete > 0) {
            ASSERT_TRUE(std::equal(screens[complete - 1].begin(), screens[complete - 1].end(),
                                   player.Screen().begin()))
                << length;
        }
        const std::size_t offset = player.ReadOffset();
        EXPECT_EQ(player.DecodeFrame(false), 0) << length;
        EXPECT_EQ(player.CurrentFrame(), 0xFFFF) << length;
        EXPECT_EQ(player.ReadOffset(), offset) << length;
    }
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace qzm
