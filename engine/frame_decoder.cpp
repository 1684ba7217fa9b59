#include "frame_decoder.h"

#include <bit>

namespace qzm {

FrameDecoder::FrameDecoder(std::span<std::uint8_t, kScreenBytes> screen, std::uint32_t& mode,
                           IPlayerHost& host, const std::uint8_t* data, std::size_t size, std::size_t offset)
    : m_in(data, size, offset), m_bitmap(screen.data()), m_attributes(screen.data() + kBitmapBytes),
      m_mode(mode), m_host(host), m_pendingAttributes((mode & ModeAttributes) != 0) {}

FrameResult FrameDecoder::Run() {
    for (;;) {
        const Step step = (m_mode & ModePacked) ? PackedItem() : DefaultItem();
        switch (step) {
            case Step::Continue: break;
            case Step::EndFrame: return FrameResult::EndOfFrame;
            case Step::EndStream: return FrameResult::EndOfStream;
            case Step::OutOfData: return FrameResult::OutOfData;
        }
    }
}

// --- Default form --------------------------------------------------------------------------------

FrameDecoder::Step FrameDecoder::DefaultItem() {
    std::uint8_t b = 0;
    if (!m_in.Byte(b)) {
        return Step::OutOfData;
    }
    if (b <= kItemLastSkipWithCell) {
        SkipCells(b);
        return DefaultCell();
    }
    if (b == kItemSkipOnly) {
        SkipCells(kItemSkipOnlyCount);
        return Step::Continue;
    }
    std::uint8_t command = 0;
    if (!m_in.Byte(command)) {
        return Step::OutOfData;
    }
    return Command(command);
}

FrameDecoder::Step FrameDecoder::DefaultCell() {
    const bool masked = (m_mode & ModeMasked) != 0;
    const bool xorOnto = masked && (m_mode & ModeXor) != 0;
    return PutCell(masked, xorOnto) ? Step::Continue : Step::OutOfData;
}

FrameDecoder::Step FrameDecoder::Command(std::uint8_t command) {
    switch (command) {
        case CmdEndFrame: return Step::EndFrame;
        case CmdEndStream: return Step::EndStream;
        case CmdNop: return Step::Continue;
        case CmdFullScreen: return FullScreen();
        case CmdLiteralRun: return CellRun(false, false);
        case CmdMaskedRun: return CellRun(true, (m_mode & ModeXor) != 0);
        case CmdLScreen: return LScreen();
        case CmdSetMasked: m_mode |= ModeMasked; return Step::Continue;
        case CmdSetModes: {
            std::uint8_t o = 0;
            if (!m_in.Byte(o)) {
                return Step::OutOfData;
            }
            m_mode |= (o & 7u) << 1;
            return Step::Continue;
        }
        default:
            // An unknown command is reported, then its number is taken as the skip count of a
            // default item, so decoding stays in step with streams that rely on it.
            m_host.ShowMessage(kMsgWrongCommand);
            SkipCells(command);
            return DefaultCell();
    }
}

FrameDecoder::Step FrameDecoder::CellRun(bool masked, bool xorOnto) {
    std::uint8_t count = 0;
    if (!m_in.Byte(count)) {
        return Step::OutOfData;
    }
    for (unsigned i = 0; i < count; ++i) {
        if (!PutCell(masked, xorOnto)) {
            return Step::OutOfData;
        }
    }
    return Step::Continue;
}

// CmdFullScreen: a marker byte, then from the top-left cell to the end of the screen either 8
// literal bytes for one cell, or the marker, a count (0 = 256) and 8 bytes written to that many
// cells. It ends the frame by itself.
FrameDecoder::Step FrameDecoder::FullScreen() {
    std::uint8_t marker = 0;
    if (!m_in.Byte(marker)) {
        return Step::OutOfData;
    }
    m_cell = 0;
    while (m_cell < kEndOfScreen) {
        std::uint8_t first = 0;
        if (!m_in.Peek(first)) {
            return Step::OutOfData;
        }
        unsigned count = 1;
        if (first == marker) {
            std::uint8_t n = 0;
            if (!m_in.Skip(1) || !m_in.Byte(n)) {
                return Step::OutOfData;
            }
            count = n == 0 ? 256 : n;
        }
        Lines lines{};
        if (!ReadLiteral(lines)) {
            return Step::OutOfData;
        }
        for (unsigned i = 0; i < count; ++i) {
            WriteCell(lines, false);
            SkipCells(1);
        }
    }
    return Step::EndFrame;
}

// LSCREEN: repaint from the top-left cell with masked cells, always stored. Markers: 0xFF ends it
// and the frame; 0 is followed by a count (0 = 256) and that many cells; 1 by a count and one
// cell's data written to that many cells. With ModeAttributes, each completed character row is
// followed by its attribute row.
FrameDecoder::Step FrameDecoder::LScreen() {
    m_cell = 0;
    for (;;) {
        std::uint8_t marker = 0;
        if (!m_in.Byte(marker)) {
            return Step::OutOfData;
        }
        if (marker == kLScreenEnd) {
            return Step::EndFrame;
        }
        if (marker != kLScreenCells && marker != kLScreenRepeat) {
            m_host.ShowMessage(kMsgWrongLScreenMarker);
            continue;
        }
        std::uint8_t n = 0;
        if (!m_in.Byte(n)) {
            return Step::OutOfData;
        }
        const unsigned count = n == 0 ? 256 : n;
        Lines lines{};
        if (marker == kLScreenRepeat && !ReadMasked(lines)) {
            return Step::OutOfData;
        }
        for (unsigned i = 0; i < count; ++i) {
            if (marker == kLScreenCells && !ReadMasked(lines)) {
                return Step::OutOfData;
            }
            WriteCell(lines, false);
            SkipCells(1);
            const bool rowDone = (m_cell % kAttributeColumns) == 0;
            if (rowDone && (m_mode & ModeAttributes) != 0 && !PutAttributeRow()) {
                return Step::OutOfData;
            }
        }
    }
}

// --- Packed form ---------------------------------------------------------------------------------

// A mask group: for each bit of the mask from bit 0, a clear bit is one masked cell (stored), a set
// bit a skip count; a zero skip ends the group at once and reads the rest of the frame's attribute
// groups. A full group is followed by one attribute group while attributes are pending.
FrameDecoder::Step FrameDecoder::PackedItem() {
    std::uint8_t mask = 0;
    if (!m_in.Byte(mask)) {
        return Step::OutOfData;
    }
    if (mask == kPackedEndStream) {
        return Step::EndStream;
    }
    if (mask == kPackedEndFrame) {
        return Step::EndFrame;
    }
    if (mask == kPackedLScreen) {
        return LScreen();
    }
    for (int bit = 0; bit < 8; ++bit) {
        if (((mask >> bit) & 1) == 0) {
            if (!PutCell(true, false)) {
                return Step::OutOfData;
            }
            continue;
        }
        std::uint8_t skip = 0;
        if (!m_in.Byte(skip)) {
            return Step::OutOfData;
        }
        if (skip != 0) {
            SkipCells(skip);
            continue;
        }
        while (m_pendingAttributes) {
            if (!AttributeGroup()) {
                return Step::OutOfData;
            }
        }
        return Step::Continue;
    }
    if (m_pendingAttributes && !AttributeGroup()) {
        return Step::OutOfData;
    }
    return Step::Continue;
}

bool FrameDecoder::AttributeGroup() {
    std::uint8_t mask = 0;
    if (!m_in.Byte(mask)) {
        return false;
    }
    for (int bit = 0; bit < 8; ++bit) {
        std::uint8_t b = 0;
        if (!m_in.Byte(b)) {
            return false;
        }
        if ((mask >> bit) & 1) {
            m_attribute += b;
            continue;
        }
        WriteAttribute(b & kAttributeValueBits);
        if (b & kAttributeDataComplete) {
            m_pendingAttributes = false;
            return true;
        }
    }
    return true;
}

// --- Cells and attributes ------------------------------------------------------------------------

bool FrameDecoder::PutCell(bool masked, bool xorOnto) {
    Lines lines{};
    if (!(masked ? ReadMasked(lines) : ReadLiteral(lines))) {
        return false;
    }
    WriteCell(lines, xorOnto);
    SkipCells(1);
    return true;
}

bool FrameDecoder::ReadLiteral(Lines& lines) {
    return m_in.Bytes(lines.data(), lines.size());
}

// A mask byte, then one byte per set bit. Line k repeats the running value XOR the current
// difference; a set bit k loads a new difference first.
bool FrameDecoder::ReadMasked(Lines& lines) {
    std::uint8_t mask = 0;
    if (!m_in.Byte(mask)) {
        return false;
    }
    std::uint8_t data[kCellLines];
    if (!m_in.Bytes(data, static_cast<std::size_t>(std::popcount(mask)))) {
        return false;
    }
    std::uint8_t value = 0;
    std::uint8_t difference = 0;
    int next = 0;
    for (int k = 0; k < kCellLines; ++k) {
        if ((mask >> k) & 1) {
            difference = data[next++];
        }
        value ^= difference;
        lines[k] = value;
    }
    return true;
}

void FrameDecoder::WriteCell(const Lines& lines, bool xorOnto) {
    // Cell addresses never have bits 8-10 set, so a cell lies on the screen exactly when its last
    // pixel line does. Cells at or past the end position are consumed and dropped.
    if (m_cell + (kCellLines - 1) * kCellLineStride >= kBitmapBytes) {
        return;
    }
    std::uint8_t* p = m_bitmap + m_cell;
    for (int k = 0; k < kCellLines; ++k) {
        p[k * kCellLineStride] =
            xorOnto ? static_cast<std::uint8_t>(p[k * kCellLineStride] ^ lines[k]) : lines[k];
    }
}

void FrameDecoder::WriteAttribute(std::uint8_t value) {
    if (m_attribute < kAttributeBytes) {
        m_attributes[m_attribute] = value;
    }
    ++m_attribute;
}

bool FrameDecoder::PutAttributeRow() {
    // The running value starts as the attribute just before the row; past the attribute area
    // nothing is written, so its value there does not matter.
    std::uint8_t previous = 0;
    if (m_attribute >= 1 && m_attribute - 1 < kAttributeBytes) {
        previous = m_attributes[m_attribute - 1];
    }
    for (int group = 0; group < kAttributeRowMasks; ++group) {
        std::uint8_t mask = 0;
        if (!m_in.Byte(mask)) {
            return false;
        }
        for (int bit = 0; bit < 8; ++bit) {
            if (((mask >> bit) & 1) && !m_in.Byte(previous)) {
                return false;
            }
            WriteAttribute(previous);
        }
    }
    return true;
}

}  // namespace qzm
