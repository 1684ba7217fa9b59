// Writes QZM streams byte by byte through readable calls: the decoder tests' crafted and malformed
// streams and the fuzzers' seeds. Ordinary streams come from the encoder's frame coder instead
// (coded_frames.h).
#pragma once

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "frame_coder.h"
#include "qzm_format.h"

namespace qzm::testing {

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

class StreamBuilder {
public:
    // Header (256 bytes; versions 0 and 1 get 2048 further zero bytes).
    StreamBuilder& Header(const HeaderFields& f) {
        const std::size_t at = m_data.size();
        m_data.resize(at + kHeaderBytes, 0);
        const auto put = [&](std::size_t offset, const std::string& text, std::size_t width) {
            for (std::size_t i = 0; i < width; ++i) {
                m_data[at + offset + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ';
            }
        };
        m_data[at + kHeaderMagic] = 'Q';
        m_data[at + kHeaderMagic + 1] = 'Z';
        m_data[at + kHeaderVersion] = f.version;
        put(kHeaderName, f.name, kHeaderNameBytes);
        m_data[at + kHeaderFrameCount] = static_cast<std::uint8_t>(f.frameCount & 0xFF);
        m_data[at + kHeaderFrameCount + 1] = static_cast<std::uint8_t>(f.frameCount >> 8);
        m_data[at + kHeaderFrameDelay] = f.frameDelay;
        m_data[at + kHeaderDefaultAttribute] = f.defaultAttribute;
        put(kHeaderTitle, f.title, kHeaderTextBytes);
        put(kHeaderAuthor, f.author, kHeaderTextBytes);
        std::copy_n(f.blocks.begin(), std::min(f.blocks.size(), kHeaderBytes - kHeaderBlockList),
                    m_data.begin() + static_cast<std::ptrdiff_t>(at + kHeaderBlockList));
        if (f.version <= 1) {
            m_data.resize(m_data.size() + kLegacyExtraBytes, 0);
        }
        return *this;
    }

    StreamBuilder& Byte(std::uint8_t b) {
        m_data.push_back(b);
        return *this;
    }
    StreamBuilder& Bytes(std::initializer_list<std::uint8_t> bytes) {
        m_data.insert(m_data.end(), bytes.begin(), bytes.end());
        return *this;
    }
    StreamBuilder& Bytes(std::span<const std::uint8_t> bytes) {
        m_data.insert(m_data.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // A cell in the masked form (mask, then the changed line differences).
    StreamBuilder& MaskedData(const CellLines& lines) {
        const encoder::MaskedCell cell = encoder::EncodeMasked(lines);
        return Bytes(std::span(cell.bytes).first(cell.size));
    }

    // --- Default form ---
    // Skip `skip` cells (0-253), then one literal cell / one masked cell.
    StreamBuilder& Literal(std::uint8_t skip, const CellLines& lines) {
        assert(skip <= kItemLastSkipWithCell);
        return Byte(skip).Bytes(lines);
    }
    StreamBuilder& Masked(std::uint8_t skip, const CellLines& lines) {
        assert(skip <= kItemLastSkipWithCell);
        return Byte(skip).MaskedData(lines);
    }
    StreamBuilder& Skip254() { return Byte(kItemSkipOnly); }
    StreamBuilder& Command(std::uint8_t number) { return Bytes({kItemCommand, number}); }
    StreamBuilder& EndFrame() { return Command(CmdEndFrame); }
    StreamBuilder& EndStream() { return Command(CmdEndStream); }
    StreamBuilder& SetMasked() { return Command(CmdSetMasked); }
    StreamBuilder& SetModes(std::uint8_t o) { return Command(CmdSetModes).Byte(o); }
    StreamBuilder& LiteralRun(std::span<const CellLines> cells) {
        return Command(CmdLiteralRun).Cells(cells, false);
    }
    StreamBuilder& MaskedRun(std::span<const CellLines> cells) {
        return Command(CmdMaskedRun).Cells(cells, true);
    }
    // CmdFullScreen with `marker`, then FullScreenRun entries (and raw cells) to the end of the screen.
    StreamBuilder& FullScreen(std::uint8_t marker) {
        m_fullScreenMarker = marker;
        return Command(CmdFullScreen).Byte(marker);
    }
    StreamBuilder& FullScreenRun(unsigned count, const CellLines& lines) {  // count 1-256
        return Byte(m_fullScreenMarker).Byte(static_cast<std::uint8_t>(count & 0xFF)).Bytes(lines);
    }
    StreamBuilder& LScreen() { return Command(CmdLScreen); }

    // --- LSCREEN entries (after LScreen(), or the byte kPackedLScreen in the packed form) ---
    StreamBuilder& LsCells(std::span<const CellLines> cells) {  // marker 0; 1-256 cells
        return Byte(kLScreenCells).Cells(cells, true);
    }
    StreamBuilder& LsRepeat(unsigned count, const CellLines& lines) {  // marker 1; count 1-256
        return Byte(kLScreenRepeat).Byte(static_cast<std::uint8_t>(count & 0xFF)).MaskedData(lines);
    }
    StreamBuilder& LsEnd() { return Byte(kLScreenEnd); }

    // --- Packed form ---
    StreamBuilder& PackedEndFrame() { return Byte(kPackedEndFrame); }
    StreamBuilder& PackedEndStream() { return Byte(kPackedEndStream); }
    StreamBuilder& PackedGroup(std::uint8_t mask) { return Byte(mask); }
    StreamBuilder& PackedCell(const CellLines& lines) { return MaskedData(lines); }  // a clear mask bit
    StreamBuilder& PackedSkip(std::uint8_t skip) { return Byte(skip); }              // a set mask bit
    // An attribute group: its mask, then a set bit's skip or a clear bit's value, both one byte.
    StreamBuilder& AttributeGroup(std::uint8_t mask, std::initializer_list<std::uint8_t> entries) {
        return Byte(mask).Bytes(entries);
    }

    const std::vector<std::uint8_t>& Data() const { return m_data; }
    std::size_t Size() const { return m_data.size(); }
    std::vector<std::uint8_t> Take() { return std::move(m_data); }

private:
    // The count of `cells` (256 as 0), then each cell, literal or masked.
    StreamBuilder& Cells(std::span<const CellLines> cells, bool masked) {
        Byte(static_cast<std::uint8_t>(cells.size() & 0xFF));
        for (const CellLines& c : cells) {
            masked ? MaskedData(c) : Bytes(c);
        }
        return *this;
    }

    std::vector<std::uint8_t> m_data;
    std::uint8_t m_fullScreenMarker = 0;
};

}  // namespace qzm::testing
