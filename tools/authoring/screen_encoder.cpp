#include "screen_encoder.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <vector>

namespace qzm::authoring {
namespace {

constexpr int kCells = 768;
constexpr int kCellsPerRow = kAttributeColumns;

using ScreenView = std::span<const std::uint8_t, kScreenBytes>;

CellLines CellOf(ScreenView s, int cell) {
    CellLines lines{};
    for (int k = 0; k < kCellLines; ++k) {
        lines[k] = s[CellLineOffset(cell, k)];
    }
    return lines;
}

CellLines XorLines(const CellLines& a, const CellLines& b) {
    CellLines r{};
    for (int k = 0; k < kCellLines; ++k) {
        r[k] = static_cast<std::uint8_t>(a[k] ^ b[k]);
    }
    return r;
}

// One entry of a packed mask group: a masked cell (clear bit) or a skip (set bit).
struct PackedEntry {
    bool skip = false;
    std::uint8_t count = 0;
    CellLines lines{};
};

}  // namespace

ScreenEncoder::ScreenEncoder(StreamBuilder& out, std::uint8_t defaultAttribute) : m_out(out) {
    std::uint8_t attribute = defaultAttribute == 0 ? kWhiteOnBlack : defaultAttribute;
    attribute &= kDefaultAttributeBits;
    std::fill(m_screen.begin() + kBitmapBytes, m_screen.end(), attribute);
}

bool ScreenEncoder::AttributesChanged(ScreenView target) const {
    return std::memcmp(target.data() + kBitmapBytes, m_screen.data() + kBitmapBytes, kAttributeBytes) != 0;
}

bool ScreenEncoder::Encode(ScreenView target, FrameForm form) {
    const bool packed = (m_mode & ModePacked) != 0;
    const bool attributes = AttributesChanged(target);
    switch (form) {
        case FrameForm::Literal:
            if (packed || (m_mode & ModeMasked) || attributes) {
                return false;
            }
            EncodeCells(target, false, false);
            break;
        case FrameForm::Masked:
            if (packed || (m_mode & ModeXor) || attributes) {
                return false;
            }
            if (!(m_mode & ModeMasked)) {
                m_out.SetMasked();
                m_mode |= ModeMasked;
            }
            EncodeCells(target, true, false);
            break;
        case FrameForm::MaskedXor:
            if (packed || attributes) {
                return false;
            }
            if (!(m_mode & ModeMasked)) {
                m_out.SetMasked();
                m_mode |= ModeMasked;
            }
            if (!(m_mode & ModeXor)) {
                m_out.SetModes(1);
                m_mode |= ModeXor;
            }
            EncodeCells(target, true, true);
            break;
        case FrameForm::FullScreen:
            if (packed || attributes) {
                return false;
            }
            EncodeFullScreen(target);
            break;
        case FrameForm::LScreen:
            if (attributes && !(m_mode & ModeAttributes)) {
                if (packed) {
                    return false;
                }
                m_out.SetModes(ModeAttributes >> 1);
                m_mode |= ModeAttributes;
            }
            EncodeLScreen(target);
            break;
        case FrameForm::Packed: {
            // Attribute groups are expected only from the frame after the one that enables them.
            const bool pending = (m_mode & ModeAttributes) != 0;
            if (!packed) {
                if (attributes && !pending) {
                    return false;
                }
                m_out.SetModes((ModePacked | ModeAttributes) >> 1);
                m_mode |= ModePacked | ModeAttributes;
            } else if (attributes && !pending) {
                return false;
            }
            EncodePacked(target, pending);
            break;
        }
    }
    std::memcpy(m_screen.data(), target.data(), kScreenBytes);
    ++m_frames;
    return true;
}

void ScreenEncoder::EndStream() {
    if (m_mode & ModePacked) {
        m_out.PackedEndStream();
    } else {
        m_out.EndStream();
    }
}

// Changed cells in screen order. Runs of four or more neighbours go into a literal or masked run
// command; single cells into skip + cell items.
void ScreenEncoder::EncodeCells(ScreenView target, bool masked, bool xorOnto) {
    const ScreenView current(m_screen);
    unsigned gap = 0;
    int cell = 0;
    while (cell < kCells) {
        const CellLines now = CellOf(current, cell);
        const CellLines next = CellOf(target, cell);
        if (now == next) {
            ++gap;
            ++cell;
            continue;
        }
        int run = 1;
        while (cell + run < kCells && run < 255 &&
               CellOf(current, cell + run) != CellOf(target, cell + run)) {
            ++run;
        }
        if (run >= 4) {
            // A run command starts at the current cell address, and only an item that also writes
            // a cell can skip an arbitrary gap: that item writes the run's first cell.
            gap = m_out.SkipLong(gap);
            const CellLines first = xorOnto ? XorLines(now, next) : next;
            if (masked) {
                m_out.Masked(static_cast<std::uint8_t>(gap), first);
            } else {
                m_out.Literal(static_cast<std::uint8_t>(gap), first);
            }
            std::vector<CellLines> cells;
            for (int i = 1; i < run; ++i) {
                const CellLines a = CellOf(current, cell + i);
                const CellLines b = CellOf(target, cell + i);
                cells.push_back(xorOnto ? XorLines(a, b) : b);
            }
            if (masked) {
                m_out.MaskedRun(cells);
            } else {
                m_out.LiteralRun(cells);
            }
            cell += run;
            gap = 0;
            continue;
        }
        gap = m_out.SkipLong(gap);
        const CellLines data = xorOnto ? XorLines(now, next) : next;
        if (masked) {
            m_out.Masked(static_cast<std::uint8_t>(gap), data);
        } else {
            m_out.Literal(static_cast<std::uint8_t>(gap), data);
        }
        gap = 0;
        ++cell;
    }
    m_out.EndFrame();
}

void ScreenEncoder::EncodeFullScreen(ScreenView target) {
    // The marker is the byte least often found at the start of a cell, so few cells need a run of one.
    std::array<int, 256> firstBytes{};
    for (int cell = 0; cell < kCells; ++cell) {
        ++firstBytes[target[CellLineOffset(cell, 0)]];
    }
    const auto marker = static_cast<std::uint8_t>(std::min_element(firstBytes.begin(), firstBytes.end()) -
                                                  firstBytes.begin());
    m_out.FullScreen(marker);
    int cell = 0;
    while (cell < kCells) {
        const CellLines lines = CellOf(target, cell);
        int run = 1;
        while (cell + run < kCells && run < 256 && CellOf(target, cell + run) == lines) {
            ++run;
        }
        if (run >= 2) {
            m_out.FullScreenRun(static_cast<unsigned>(run), lines);
        } else {
            m_out.FullScreenCell(lines);
        }
        cell += run;
    }
}

void ScreenEncoder::EncodeLScreen(ScreenView target) {
    const bool withAttributes = (m_mode & ModeAttributes) != 0;
    if (m_mode & ModePacked) {
        m_out.PackedLScreen();
    } else {
        m_out.LScreen();
    }
    // Repaint from the top-left cell up to the last change: a changed cell, or the end of a row
    // whose attributes changed.
    int last = -1;
    for (int cell = 0; cell < kCells; ++cell) {
        if (CellOf(target, cell) != CellOf(ScreenView(m_screen), cell) ||
            target[kBitmapBytes + cell] != m_screen[kBitmapBytes + cell]) {
            last = cell;
        }
    }
    if (withAttributes && last >= 0) {
        last = (last / kCellsPerRow + 1) * kCellsPerRow - 1;
    }
    const auto rowDone = [&](int cell) {
        if (!withAttributes || (cell + 1) % kCellsPerRow != 0) {
            return;
        }
        const int row = cell / kCellsPerRow;
        const std::uint8_t previous = row == 0 ? 0 : target[kBitmapBytes + row * kCellsPerRow - 1];
        m_out.AttributeRow(target.subspan(kBitmapBytes + static_cast<std::size_t>(row) * kCellsPerRow)
                               .first<kAttributeColumns>(),
                           previous);
    };
    int cell = 0;
    while (cell <= last) {
        const CellLines lines = CellOf(target, cell);
        int run = 1;
        while (cell + run <= last && run < 256 && CellOf(target, cell + run) == lines) {
            ++run;
        }
        if (run >= 2) {
            m_out.LsRepeat(static_cast<unsigned>(run), lines);
            for (int i = 0; i < run; ++i) {
                rowDone(cell + i);
            }
            cell += run;
            continue;
        }
        // A batch of cells up to the next repeat: each cell's data, and after a completed row its
        // attribute row.
        int count = 1;
        while (
            cell + count <= last && count < 256 &&
            !(cell + count + 1 <= last && CellOf(target, cell + count) == CellOf(target, cell + count + 1))) {
            ++count;
        }
        m_out.Byte(kLScreenCells);
        m_out.Byte(static_cast<std::uint8_t>(count & 0xFF));
        for (int i = 0; i < count; ++i) {
            m_out.Bytes(EncodeMaskedCell(CellOf(target, cell + i)));
            rowDone(cell + i);
        }
        cell += count;
    }
    m_out.LsEnd();
}

// Mask groups of up to eight entries (cells and skips). A group that would read as one of the
// reserved values 0xFF, 0x1F and 0x3F is cut short by a zero skip. While attributes are pending,
// each full group is followed by one attribute group and a zero skip by all the remaining ones; the
// attribute data ends with a value whose bit 7 is set.
void ScreenEncoder::EncodePacked(ScreenView target, bool attributesPending) {
    std::vector<PackedEntry> entries;
    unsigned gap = 0;
    for (int cell = 0; cell < kCells; ++cell) {
        const CellLines next = CellOf(target, cell);
        if (next == CellOf(ScreenView(m_screen), cell)) {
            ++gap;
            continue;
        }
        while (gap > 0) {
            const unsigned step = std::min(gap, 255u);
            entries.push_back({true, static_cast<std::uint8_t>(step), {}});
            gap -= step;
        }
        entries.push_back({false, 0, next});
    }

    // Attribute entries: skips (set bits) and values (clear bits), grouped by eight.
    std::vector<std::pair<bool, std::uint8_t>> attributeEntries;
    int position = 0;
    for (int a = 0; a < static_cast<int>(kAttributeBytes); ++a) {
        const std::uint8_t value = target[kBitmapBytes + a];
        if (value == m_screen[kBitmapBytes + a]) {
            continue;
        }
        assert(value <= kAttributeValueBits);
        for (int skip = a - position; skip > 0; skip -= 255) {
            attributeEntries.emplace_back(true, static_cast<std::uint8_t>(std::min(skip, 255)));
        }
        attributeEntries.emplace_back(false, value);
        position = a + 1;
    }
    const bool attributesChanged = !attributeEntries.empty();
    if (attributeEntries.empty()) {
        attributeEntries.emplace_back(false, target[kBitmapBytes]);  // rewrite attribute 0 to complete
    }
    attributeEntries.back().second |= kAttributeDataComplete;
    std::size_t nextAttribute = 0;
    bool pending = attributesPending;
    const auto emitAttributeGroup = [&] {
        std::uint8_t mask = 0;
        std::vector<std::uint8_t> bytes;
        for (int bit = 0; bit < 8 && pending; ++bit) {
            const auto [isSkip, value] = attributeEntries[nextAttribute++];
            if (isSkip) {
                mask = static_cast<std::uint8_t>(mask | (1u << bit));
            }
            bytes.push_back(value);
            if (!isSkip && (value & kAttributeDataComplete)) {
                pending = false;
            }
        }
        m_out.Byte(mask);
        m_out.Bytes(bytes);
    };
    const auto emitEntry = [&](const PackedEntry& e) {
        if (e.skip) {
            m_out.PackedSkip(e.count);
        } else {
            m_out.PackedCell(e.lines);
        }
    };
    const auto maskOf = [&](std::size_t first, std::size_t n) {
        std::uint8_t mask = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (entries[first + i].skip) {
                mask = static_cast<std::uint8_t>(mask | (1u << i));
            }
        }
        return mask;
    };

    std::size_t index = 0;
    while (index < entries.size()) {
        const std::size_t n = std::min<std::size_t>(8, entries.size() - index);
        if (n == 8 && !ReservedGroupMask(maskOf(index, 8))) {
            m_out.PackedGroup(maskOf(index, 8));
            for (std::size_t i = 0; i < 8; ++i) {
                emitEntry(entries[index + i]);
            }
            index += 8;
            if (pending) {
                emitAttributeGroup();
            }
            continue;
        }
        std::size_t take = std::min<std::size_t>(n, 7);
        const std::uint8_t mask = EndedGroupMask(take, [&](std::size_t t) { return maskOf(index, t); });
        m_out.PackedGroup(mask);
        for (std::size_t i = 0; i < take; ++i) {
            emitEntry(entries[index + i]);
        }
        m_out.PackedSkip(0);
        index += take;
        while (pending) {
            emitAttributeGroup();
        }
    }
    if (pending && attributesChanged) {
        m_out.PackedGroup(0x01);
        m_out.PackedSkip(0);
        while (pending) {
            emitAttributeGroup();
        }
    }
    m_out.PackedEndFrame();
}

}  // namespace qzm::authoring
