// Codes one frame, the change from one Spectrum screen to the next, in each form the decoder reads,
// and tells the size of each without writing it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture_quantizer.h"

namespace qzm::encoder {

// Counts bytes and, when given a vector, appends them to it.
class ByteSink {
public:
    explicit ByteSink(std::vector<std::uint8_t>* out = nullptr) : m_out(out) {}
    void Put(std::uint8_t b) {
        ++m_count;
        if (m_out != nullptr) {
            m_out->push_back(b);
        }
    }
    void Put(const std::uint8_t* bytes, std::size_t n) {
        m_count += n;
        if (m_out != nullptr) {
            m_out->insert(m_out->end(), bytes, bytes + n);
        }
    }
    std::size_t Count() const { return m_count; }

private:
    std::vector<std::uint8_t>* m_out;
    std::size_t m_count = 0;
};

// A cell's eight lines in the masked form: a mask, then a difference per set bit.
struct MaskedCell {
    std::array<std::uint8_t, 9> bytes{};
    std::uint8_t size = 0;
};
MaskedCell EncodeMasked(const std::array<std::uint8_t, 8>& lines);

class FrameCoder {
public:
    FrameCoder();

    // Prepares coding the change from `before` to `after`. Both must stay alive while coding.
    void Prepare(const Screen& before, const Screen& after);
    bool AttributesChange() const { return m_lastAttribute >= 0; }

    // Each writes one whole frame (the end of frame included) to `out` and returns its size. The
    // default item form and the full screen cannot change attributes; the packed groups only with
    // attributes `pending`; LSCREEN only with `attributes` (ModeAttributes) on.
    std::size_t Items(bool masked, bool xorOnto, ByteSink& out);
    std::size_t FullScreen(ByteSink& out);
    std::size_t LScreen(bool attributes, bool packed, ByteSink& out);
    std::size_t Packed(bool pending, ByteSink& out);

private:
    using Lines = std::array<std::uint8_t, 8>;
    struct ItemStep {
        std::uint8_t state = 0;  // 0: a default item; 1: in a literal run; 2: in a masked run
        bool opens = false;      // a run starting at the cursor
    };

    void Run(int type, bool xorOnto, int first, int end, ByteSink& out) const;
    void AttributeRow(int row, ByteSink& out) const;
    const MaskedCell& MaskedData(int cell, bool xorOnto) const {
        return xorOnto ? m_xorMasked[static_cast<std::size_t>(cell)]
                       : m_masked[static_cast<std::size_t>(cell)];
    }

    const Screen* m_after = nullptr;
    std::array<Lines, kCellCount> m_lines{};           // the new cells
    std::array<MaskedCell, kCellCount> m_masked{};     // the new cells, masked
    std::array<MaskedCell, kCellCount> m_xorMasked{};  // new XOR old, masked
    std::array<std::uint16_t, kCellCount> m_same{};    // identical neighbours from here on, up to 256
    std::vector<int> m_changed;                        // changed cells in screen order
    std::vector<ItemStep> m_steps;
    std::vector<std::array<ItemStep, 3>> m_back;           // per changed cell and state: where it came from
    std::vector<std::pair<bool, std::uint8_t>> m_entries;  // packed form: (skip, count) or a cell
    std::vector<std::pair<bool, std::uint8_t>> m_attributeEntries;  // packed form: (skip, count) or a value
    const std::uint8_t* m_attributesBefore = nullptr;
    int m_lastAttribute = -1;  // last changed attribute, -1 for none
};

}  // namespace qzm::encoder
