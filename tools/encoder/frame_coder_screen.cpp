// The two forms that also carry attributes: LSCREEN and the packed mask groups.
#include <algorithm>

#include "frame_coder.h"

namespace qzm::encoder {
namespace {

constexpr int kRowCells = kCellColumns;
constexpr unsigned kMaxEntryCells = 256;  // LSCREEN counts; 0 stands for 256
constexpr unsigned kMaxSkip = 255;        // packed skips

}  // namespace

// The 32 attributes of a character row: per eight, a mask with a bit for each value that differs
// from the one before it, then those values.
void FrameCoder::AttributeRow(int row, ByteSink& out) const {
    const std::uint8_t* attributes = m_after->data() + kBitmapBytes;
    std::uint8_t previous = row == 0 ? 0 : attributes[row * kRowCells - 1];
    for (int group = 0; group < kAttributeRowMasks; ++group) {
        std::uint8_t mask = 0;
        std::uint8_t values[8];
        std::size_t count = 0;
        for (int bit = 0; bit < 8; ++bit) {
            const std::uint8_t v = attributes[row * kRowCells + group * 8 + bit];
            if (v != previous) {
                mask = static_cast<std::uint8_t>(mask | (1u << bit));
                values[count++] = v;
                previous = v;
            }
        }
        out.Put(mask);
        out.Put(values, count);
    }
}

// LSCREEN from the top-left cell to the last change (with attributes: to the end of the last row
// whose attributes change). Identical neighbours go into repeat entries where that is shorter.
std::size_t FrameCoder::LScreen(bool attributes, bool packed, ByteSink& out) {
    const std::size_t start = out.Count();
    if (packed) {
        out.Put(kPackedLScreen);
    } else {
        out.Put(kItemCommand);
        out.Put(CmdLScreen);
    }
    int last = m_changed.empty() ? -1 : m_changed.back();
    if (attributes && m_lastAttribute >= 0) {
        last = std::max(last, (m_lastAttribute / kRowCells + 1) * kRowCells - 1);
    }
    const auto repeatLength = [&](int cell) {
        const int run = std::min<int>(m_same[static_cast<std::size_t>(cell)], last - cell + 1);
        const int size = m_masked[static_cast<std::size_t>(cell)].size;
        return run >= 2 && (run - 1) * size > 2 ? run : 0;
    };
    const auto rowDone = [&](int cell) {
        if (attributes && (cell + 1) % kRowCells == 0) {
            AttributeRow(cell / kRowCells, out);
        }
    };
    int cell = 0;
    while (cell <= last) {
        const int repeat = repeatLength(cell);
        if (repeat > 0) {
            out.Put(kLScreenRepeat);
            out.Put(static_cast<std::uint8_t>(repeat & 0xFF));
            out.Put(m_masked[static_cast<std::size_t>(cell)].bytes.data(),
                    m_masked[static_cast<std::size_t>(cell)].size);
            for (int i = 0; i < repeat; ++i) {
                rowDone(cell + i);
            }
            cell += repeat;
            continue;
        }
        int count = 1;
        while (cell + count <= last && count < static_cast<int>(kMaxEntryCells) &&
               repeatLength(cell + count) == 0) {
            ++count;
        }
        out.Put(kLScreenCells);
        out.Put(static_cast<std::uint8_t>(count & 0xFF));
        for (int i = 0; i < count; ++i) {
            const MaskedCell& data = m_masked[static_cast<std::size_t>(cell + i)];
            out.Put(data.bytes.data(), data.size);
            rowDone(cell + i);
        }
        cell += count;
    }
    out.Put(kLScreenEnd);
    return out.Count() - start;
}

// Mask groups of up to eight entries (a masked cell for a clear bit, a skip for a set one). A group
// whose mask would read as 0xFF, 0x1F or 0x3F is cut short by a zero skip. While attributes are
// pending, each full group is followed by one attribute group and a zero skip by all the remaining
// ones; the attribute data ends with a value that has bit 7 set. The values carry no BRIGHT or
// FLASH: a FLASH bit would end the data early.
std::size_t FrameCoder::Packed(bool pending, ByteSink& out) {
    const std::size_t start = out.Count();
    // Bitmap entries: (true, skip) or (false, unused) for the next changed cell, in order.
    std::vector<std::pair<bool, std::uint8_t>>& entries = m_entries;
    entries.clear();
    int cursor = 0;
    for (const int cell : m_changed) {
        for (int gap = cell - cursor; gap > 0; gap -= static_cast<int>(kMaxSkip)) {
            entries.emplace_back(true, static_cast<std::uint8_t>(std::min(gap, static_cast<int>(kMaxSkip))));
        }
        entries.emplace_back(false, 0);
        cursor = cell + 1;
    }

    // Attribute entries, grouped by eight: (true, skip) or (false, value).
    const std::uint8_t* before = m_attributesBefore;
    const std::uint8_t* after = m_after->data() + kBitmapBytes;
    std::vector<std::pair<bool, std::uint8_t>>& attributeEntries = m_attributeEntries;
    attributeEntries.clear();
    if (pending) {
        int position = 0;
        for (int a = 0; a <= m_lastAttribute; ++a) {
            if (before[a] == after[a]) {
                continue;
            }
            for (int skip = a - position; skip > 0; skip -= static_cast<int>(kMaxSkip)) {
                attributeEntries.emplace_back(
                    true, static_cast<std::uint8_t>(std::min(skip, static_cast<int>(kMaxSkip))));
            }
            attributeEntries.emplace_back(false, after[a] & kAttributeValueBits);
            position = a + 1;
        }
        if (attributeEntries.empty()) {  // attribute 0 again, to complete the data
            attributeEntries.emplace_back(false, after[0] & kAttributeValueBits);
        }
        attributeEntries.back().second |= kAttributeDataComplete;
    }
    std::size_t nextAttribute = 0;
    const auto attributeGroup = [&] {
        std::uint8_t mask = 0;
        std::uint8_t bytes[8];
        std::size_t count = 0;
        while (count < 8 && pending) {
            const auto [isSkip, value] = attributeEntries[nextAttribute++];
            if (isSkip) {
                mask = static_cast<std::uint8_t>(mask | (1u << count));
            }
            bytes[count++] = value;
            pending = isSkip || (value & kAttributeDataComplete) == 0;
        }
        out.Put(mask);
        out.Put(bytes, count);
    };
    const auto maskOf = [&](std::size_t first, std::size_t n) {
        std::uint8_t mask = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (entries[first + i].first) {
                mask = static_cast<std::uint8_t>(mask | (1u << i));
            }
        }
        return mask;
    };
    std::size_t cellIndex = 0;  // next changed cell
    const auto putEntry = [&](std::size_t i) {
        if (entries[i].first) {
            out.Put(entries[i].second);
        } else {
            const MaskedCell& data = m_masked[static_cast<std::size_t>(m_changed[cellIndex++])];
            out.Put(data.bytes.data(), data.size);
        }
    };

    std::size_t index = 0;
    while (index < entries.size()) {
        const std::size_t n = std::min<std::size_t>(8, entries.size() - index);
        if (n == 8 && !ReservedGroupMask(maskOf(index, 8))) {
            out.Put(maskOf(index, 8));
            for (std::size_t i = 0; i < 8; ++i) {
                putEntry(index + i);
            }
            index += 8;
            if (pending) {
                attributeGroup();
            }
            continue;
        }
        std::size_t take = std::min<std::size_t>(n, 7);
        const std::uint8_t mask = EndedGroupMask(take, [&](std::size_t t) { return maskOf(index, t); });
        out.Put(mask);
        for (std::size_t i = 0; i < take; ++i) {
            putEntry(index + i);
        }
        out.Put(0);
        index += take;
        while (pending) {
            attributeGroup();
        }
    }
    if (pending && m_lastAttribute >= 0) {
        out.Put(0x01);  // a group whose first entry is a zero skip: the attribute groups follow
        out.Put(0);
        while (pending) {
            attributeGroup();
        }
    }
    out.Put(kPackedEndFrame);
    return out.Count() - start;
}

}  // namespace qzm::encoder
