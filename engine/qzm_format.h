// Facts of the QZM stream format, in one place.
//
// A stream is a 256-byte header followed by the frame command stream. Versions 0 and 1 carry 2048
// more bytes after the header, skipped unread. Numbers are little-endian.
//
//   header   0  2  magic "QZ"
//            2  1  version, 0-7 played
//            3  8  name, no terminator
//           11  2  frame count
//           13  1  frame delay in 1/50 s
//           15  1  default attribute (0 stands for 7; bits 6-7 dropped)
//           17 32  title, code page 866
//           49 32  author, code page 866
//           81 ..  block list: bytes up to a zero byte; their sum is the length in 256-byte blocks
//
// Each frame is a list of items that edit the previous Spectrum screen in place. A cell is 8 x 8
// pixels, addressed by the bitmap offset of its top pixel line; pixel line k of a cell lies 256 * k
// further on. Every frame starts at cell address 0, and 6144 is the end position after the last cell.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qzm {

// --- The Spectrum screen -----------------------------------------------------------------------
inline constexpr std::size_t kBitmapBytes = 6144;
inline constexpr std::size_t kAttributeBytes = 768;
inline constexpr std::size_t kScreenBytes = kBitmapBytes + kAttributeBytes;  // 6912
inline constexpr std::uint32_t kCellLineStride = 256;  // from one pixel line of a cell to the next
inline constexpr int kCellLines = 8;
inline constexpr std::uint32_t kEndOfScreen = 6144;        // cell address after the last cell
inline constexpr std::uint32_t kAdvanceCarryBits = 0x700;  // bits 8-10 of a cell address
inline constexpr int kAttributeColumns = 32;
inline constexpr std::uint8_t kWhiteOnBlack = 7;

// --- The stream header --------------------------------------------------------------------------
inline constexpr std::size_t kHeaderBytes = 256;
inline constexpr std::size_t kLegacyExtraBytes = 2048;  // versions 0 and 1 only
inline constexpr std::size_t kHeaderMagic = 0;
inline constexpr std::size_t kHeaderVersion = 2;
inline constexpr std::size_t kHeaderName = 3;
inline constexpr std::size_t kHeaderNameBytes = 8;
inline constexpr std::size_t kHeaderFrameCount = 11;
inline constexpr std::size_t kHeaderFrameDelay = 13;
inline constexpr std::size_t kHeaderDefaultAttribute = 15;
inline constexpr std::size_t kHeaderTitle = 17;
inline constexpr std::size_t kHeaderAuthor = 49;
inline constexpr std::size_t kHeaderTextBytes = 32;
inline constexpr std::size_t kHeaderBlockList = 81;
inline constexpr std::uint8_t kFirstUnsupportedVersion = 8;
inline constexpr std::uint8_t kDefaultAttributeBits = 0x3F;

// --- DecoderMode flags -------------------------------------------------------------------------
enum DecoderModeFlag : std::uint32_t {
    ModeMasked = 1,      // default items carry masked cells instead of literal ones
    ModeXor = 2,         // masked cells of default items and of CmdMaskedRun are XORed onto the screen
    ModePacked = 4,      // items are read in the packed form
    ModeAttributes = 8,  // frames carry attribute data
};

// --- The default item form ---------------------------------------------------------------------
// 0x00-0xFD: skip that many cells, then one cell; 0xFE: skip 254 cells; 0xFF: a command follows.
inline constexpr std::uint8_t kItemLastSkipWithCell = 0xFD;
inline constexpr std::uint8_t kItemSkipOnly = 0xFE;
inline constexpr std::uint8_t kItemSkipOnlyCount = 254;
inline constexpr std::uint8_t kItemCommand = 0xFF;

enum Command : std::uint8_t {
    CmdEndFrame = 1,
    CmdEndStream = 2,
    CmdNop = 3,
    CmdFullScreen = 4,  // marker byte, then literal cells or marked runs up to the end of the screen
    CmdLiteralRun = 5,  // count, then that many literal cells
    CmdMaskedRun = 6,   // count, then that many masked cells
    CmdLScreen = 7,     // LSCREEN data
    CmdSetMasked = 8,
    CmdSetModes = 9,  // one byte o: DecoderMode |= (o & 7) << 1
};

// --- The packed item form ----------------------------------------------------------------------
inline constexpr std::uint8_t kPackedEndStream = 0xFF;
inline constexpr std::uint8_t kPackedEndFrame = 0x1F;
inline constexpr std::uint8_t kPackedLScreen = 0x3F;
inline constexpr std::uint8_t kAttributeValueBits = 0x3F;  // packed attributes carry no BRIGHT/FLASH
inline constexpr std::uint8_t kAttributeDataComplete = 0x80;

// Mask bytes that the packed form reads as commands, so no mask group can use them.
constexpr bool ReservedGroupMask(std::uint8_t mask) {
    return mask == kPackedEndStream || mask == kPackedEndFrame || mask == kPackedLScreen;
}

// The mask of a group cut short: its first `take` entries (maskOf(take) gives their bits), then a
// zero skip at bit `take`, which ends the group. The bits above it are never read, so they are
// chosen to keep the mask off the reserved values; where no choice can, fewer entries are taken and
// `take` is lowered.
template <typename MaskOf>
constexpr std::uint8_t EndedGroupMask(std::size_t& take, MaskOf maskOf) {
    for (;; --take) {
        const auto base = static_cast<std::uint8_t>(maskOf(take) | (1u << take));
        const unsigned freeBits = 7 - static_cast<unsigned>(take);
        for (unsigned pattern = 0; pattern < (1u << freeBits); ++pattern) {
            const auto mask = static_cast<std::uint8_t>(base | (pattern << (take + 1)));
            if (!ReservedGroupMask(mask)) {
                return mask;
            }
        }
    }
}

// --- LSCREEN markers ---------------------------------------------------------------------------
inline constexpr std::uint8_t kLScreenEnd = 0xFF;
inline constexpr std::uint8_t kLScreenCells = 0;   // count, then that many masked cells
inline constexpr std::uint8_t kLScreenRepeat = 1;  // count, then one masked cell written count times
inline constexpr int kAttributeRowMasks = 4;       // an attribute row is four mask groups of eight

}  // namespace qzm
