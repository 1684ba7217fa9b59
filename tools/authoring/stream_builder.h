// Writes QZM streams item by item: readable calls that emit a header, items and commands. Used to
// make the bundled demo, the tests' streams, the fuzzers' seeds and the benchmarks' input.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "qzm_format.h"

namespace qzm::authoring {

using CellLines = std::array<std::uint8_t, kCellLines>;

struct HeaderFields {
    std::uint8_t version = 2;
    std::string name = "QZMVIDEO";  // up to 8 bytes; shorter names are padded with blanks
    std::uint16_t frameCount = 0;
    std::uint8_t frameDelay = 2;
    std::uint8_t defaultAttribute = kWhiteOnBlack;
    std::string title;                 // up to 32 bytes of code page 866, padded with blanks
    std::string author;                // likewise
    std::vector<std::uint8_t> blocks;  // the block list; a zero byte is written after it
};

// The shortest masked encoding of a cell: a mask with a bit for every line whose difference to the
// line above (line 0: to zero) changes, followed by those differences.
std::vector<std::uint8_t> EncodeMaskedCell(const CellLines& lines);

class StreamBuilder {
public:
    // Header (256 bytes; versions 0 and 1 get 2048 further zero bytes).
    StreamBuilder& Header(const HeaderFields& fields);

    // Raw bytes, for streams the readable calls cannot express.
    StreamBuilder& Byte(std::uint8_t b);
    StreamBuilder& Bytes(std::initializer_list<std::uint8_t> bytes);
    StreamBuilder& Bytes(std::span<const std::uint8_t> bytes);

    // --- Default form ---
    // Skip `skip` cells (0-253), then one literal cell / one masked cell.
    StreamBuilder& Literal(std::uint8_t skip, const CellLines& lines);
    StreamBuilder& Masked(std::uint8_t skip, const CellLines& lines);
    // Skip 254 cells, no cell.
    StreamBuilder& Skip254();
    // Emits 0xFE items while more than 253 of `cells` remain to be skipped, and returns the rest,
    // which the next cell item's own skip count then covers.
    unsigned SkipLong(unsigned cells);
    StreamBuilder& Command(std::uint8_t number);
    StreamBuilder& EndFrame() { return Command(CmdEndFrame); }
    StreamBuilder& EndStream() { return Command(CmdEndStream); }
    StreamBuilder& Nop() { return Command(CmdNop); }
    StreamBuilder& SetMasked() { return Command(CmdSetMasked); }
    StreamBuilder& SetModes(std::uint8_t o);
    StreamBuilder& LiteralRun(std::span<const CellLines> cells);
    StreamBuilder& MaskedRun(std::span<const CellLines> cells);
    // CmdFullScreen with `marker`; then FullScreenCell/FullScreenRun up to the end of the screen.
    StreamBuilder& FullScreen(std::uint8_t marker);
    StreamBuilder&
    FullScreenCell(const CellLines& lines);  // written as a run of one if it begins with the marker
    StreamBuilder& FullScreenRun(unsigned count, const CellLines& lines);  // count 1-256
    // CmdLScreen in the default form.
    StreamBuilder& LScreen() { return Command(CmdLScreen); }

    // --- LSCREEN entries (after LScreen() or PackedLScreen()) ---
    StreamBuilder& LsCells(std::span<const CellLines> cells);         // marker 0; 1-256 cells
    StreamBuilder& LsRepeat(unsigned count, const CellLines& lines);  // marker 1; count 1-256
    StreamBuilder& LsEnd() { return Byte(kLScreenEnd); }
    // One attribute row of 32 values; `previous` is the attribute just before the row on the screen.
    StreamBuilder& AttributeRow(std::span<const std::uint8_t, kAttributeColumns> row, std::uint8_t previous);

    // --- Packed form ---
    StreamBuilder& PackedEndFrame() { return Byte(kPackedEndFrame); }
    StreamBuilder& PackedEndStream() { return Byte(kPackedEndStream); }
    StreamBuilder& PackedLScreen() { return Byte(kPackedLScreen); }
    StreamBuilder& PackedGroup(std::uint8_t mask) { return Byte(mask); }
    StreamBuilder& PackedCell(const CellLines& lines);                   // a clear mask bit's masked cell
    StreamBuilder& PackedSkip(std::uint8_t skip) { return Byte(skip); }  // a set mask bit's skip
    // One attribute group entry: a set bit's skip or a clear bit's value are both just bytes.
    StreamBuilder& AttributeGroup(std::uint8_t mask, std::initializer_list<std::uint8_t> entries);

    const std::vector<std::uint8_t>& Data() const { return m_data; }
    std::size_t Size() const { return m_data.size(); }
    std::vector<std::uint8_t> Take() { return std::move(m_data); }

private:
    std::vector<std::uint8_t> m_data;
    std::uint8_t m_fullScreenMarker = 0;
};

}  // namespace qzm::authoring
