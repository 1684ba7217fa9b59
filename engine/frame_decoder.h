// Decodes one frame of the command stream into the Spectrum screen, in place.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "byte_reader.h"
#include "player_host.h"
#include "qzm_format.h"

namespace qzm {

// Moves a cell address on by n cells (n up to 256): add n, and if that sets any of bits 8-10, add
// 0x700 more. One step goes one cell right, from column 31 to the next character row, from the last
// cell of a third to the first of the next, and from the last cell of the screen (4351) to 6144.
constexpr std::uint64_t AdvanceCells(std::uint64_t address, unsigned n) {
    std::uint64_t sum = address + n;
    if ((sum & kAdvanceCarryBits) != 0) {
        sum += kAdvanceCarryBits;
    }
    return sum;
}

enum class FrameResult {
    EndOfFrame,   // the frame ended; CellAddress() tells whether it stayed on the screen
    EndOfStream,  // the stream's end command
    OutOfData,    // the data ended inside an item: treated as the end of the stream
};

class FrameDecoder {
public:
    // `mode` is the player's DecoderMode word: read at every item and changed by commands 8 and 9.
    FrameDecoder(std::span<std::uint8_t, kScreenBytes> screen, std::uint32_t& mode, IPlayerHost& host,
                 const std::uint8_t* data, std::size_t size, std::size_t offset);

    // Reads items until one ends the frame or the stream.
    FrameResult Run();

    // Read position just past the last byte consumed.
    std::size_t Position() const { return m_in.Position(); }
    // Cell address reached; a frame that ends above kEndOfScreen has failed.
    std::uint64_t CellAddress() const { return m_cell; }

private:
    using Lines = std::array<std::uint8_t, kCellLines>;
    enum class Step { Continue, EndFrame, EndStream, OutOfData };

    Step DefaultItem();
    Step DefaultCell();
    Step Command(std::uint8_t command);
    Step CellRun(bool masked, bool xorOnto);
    Step FullScreen();
    Step LScreen();
    Step PackedItem();

    // Reads one cell's data, writes it at the cell address and advances by one cell. False when the
    // data ends first; nothing is written then.
    bool PutCell(bool masked, bool xorOnto);
    void SkipCells(unsigned n) { m_cell = AdvanceCells(m_cell, n); }
    // The 32 attributes of one character row: four masks, each followed by a byte per set bit; a
    // clear bit repeats the previous attribute.
    bool PutAttributeRow();
    // A packed attribute group: a mask, then per bit a skip count (set) or a value (clear).
    bool AttributeGroup();

    bool ReadLiteral(Lines& lines);
    bool ReadMasked(Lines& lines);
    void WriteCell(const Lines& lines, bool xorOnto);
    void WriteAttribute(std::uint8_t value);

    ByteReader m_in;
    std::uint8_t* m_bitmap;
    std::uint8_t* m_attributes;
    std::uint32_t& m_mode;
    IPlayerHost& m_host;
    std::uint64_t m_cell = 0;       // cell address; may run past the screen in a failing frame
    std::uint64_t m_attribute = 0;  // index of the next attribute written
    bool m_pendingAttributes;       // the packed form still expects attribute groups this frame
};

}  // namespace qzm
