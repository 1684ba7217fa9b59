#include "stream_builder.h"

#include <algorithm>
#include <bit>
#include <cassert>

namespace qzm::authoring {
namespace {

void PutText(std::vector<std::uint8_t>& out, std::size_t at, const std::string& text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        out[at + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ';
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeMaskedCell(const CellLines& lines) {
    std::vector<std::uint8_t> out(1, 0);
    std::uint8_t above = 0;
    std::uint8_t difference = 0;
    for (int k = 0; k < kCellLines; ++k) {
        const auto d = static_cast<std::uint8_t>(lines[k] ^ above);
        if (d != difference) {
            out[0] = static_cast<std::uint8_t>(out[0] | (1u << k));
            out.push_back(d);
            difference = d;
        }
        above = lines[k];
    }
    return out;
}

StreamBuilder& StreamBuilder::Header(const HeaderFields& f) {
    const std::size_t at = m_data.size();
    m_data.resize(at + kHeaderBytes, 0);
    m_data[at + kHeaderMagic] = 'Q';
    m_data[at + kHeaderMagic + 1] = 'Z';
    m_data[at + kHeaderVersion] = f.version;
    PutText(m_data, at + kHeaderName, f.name, kHeaderNameBytes);
    m_data[at + kHeaderFrameCount] = static_cast<std::uint8_t>(f.frameCount & 0xFF);
    m_data[at + kHeaderFrameCount + 1] = static_cast<std::uint8_t>(f.frameCount >> 8);
    m_data[at + kHeaderFrameDelay] = f.frameDelay;
    m_data[at + kHeaderDefaultAttribute] = f.defaultAttribute;
    PutText(m_data, at + kHeaderTitle, f.title, kHeaderTextBytes);
    PutText(m_data, at + kHeaderAuthor, f.author, kHeaderTextBytes);
    const std::size_t blocks = std::min(f.blocks.size(), kHeaderBytes - kHeaderBlockList);
    std::copy_n(f.blocks.begin(), blocks,
                m_data.begin() + static_cast<std::ptrdiff_t>(at + kHeaderBlockList));
    if (f.version <= 1) {
        m_data.resize(m_data.size() + kLegacyExtraBytes, 0);
    }
    return *this;
}

StreamBuilder& StreamBuilder::Byte(std::uint8_t b) {
    m_data.push_back(b);
    return *this;
}

StreamBuilder& StreamBuilder::Bytes(std::initializer_list<std::uint8_t> bytes) {
    m_data.insert(m_data.end(), bytes.begin(), bytes.end());
    return *this;
}

StreamBuilder& StreamBuilder::Bytes(std::span<const std::uint8_t> bytes) {
    m_data.insert(m_data.end(), bytes.begin(), bytes.end());
    return *this;
}

StreamBuilder& StreamBuilder::Literal(std::uint8_t skip, const CellLines& lines) {
    assert(skip <= kItemLastSkipWithCell);
    Byte(skip);
    return Bytes(lines);
}

StreamBuilder& StreamBuilder::Masked(std::uint8_t skip, const CellLines& lines) {
    assert(skip <= kItemLastSkipWithCell);
    Byte(skip);
    return Bytes(EncodeMaskedCell(lines));
}

StreamBuilder& StreamBuilder::Skip254() {
    return Byte(kItemSkipOnly);
}

unsigned StreamBuilder::SkipLong(unsigned cells) {
    while (cells > kItemLastSkipWithCell) {
        Skip254();
        cells -= kItemSkipOnlyCount;
    }
    return cells;
}

StreamBuilder& StreamBuilder::Command(std::uint8_t number) {
    return Bytes({kItemCommand, number});
}

StreamBuilder& StreamBuilder::SetModes(std::uint8_t o) {
    Command(CmdSetModes);
    return Byte(o);
}

StreamBuilder& StreamBuilder::LiteralRun(std::span<const CellLines> cells) {
    assert(cells.size() <= 255);
    Command(CmdLiteralRun);
    Byte(static_cast<std::uint8_t>(cells.size()));
    for (const CellLines& c : cells) {
        Bytes(c);
    }
    return *this;
}

StreamBuilder& StreamBuilder::MaskedRun(std::span<const CellLines> cells) {
    assert(cells.size() <= 255);
    Command(CmdMaskedRun);
    Byte(static_cast<std::uint8_t>(cells.size()));
    for (const CellLines& c : cells) {
        Bytes(EncodeMaskedCell(c));
    }
    return *this;
}

StreamBuilder& StreamBuilder::FullScreen(std::uint8_t marker) {
    Command(CmdFullScreen);
    m_fullScreenMarker = marker;
    return Byte(marker);
}

StreamBuilder& StreamBuilder::FullScreenCell(const CellLines& lines) {
    if (lines[0] == m_fullScreenMarker) {
        return FullScreenRun(1, lines);
    }
    return Bytes(lines);
}

StreamBuilder& StreamBuilder::FullScreenRun(unsigned count, const CellLines& lines) {
    assert(count >= 1 && count <= 256);
    Byte(m_fullScreenMarker);
    Byte(static_cast<std::uint8_t>(count & 0xFF));
    return Bytes(lines);
}

StreamBuilder& StreamBuilder::LsCells(std::span<const CellLines> cells) {
    assert(!cells.empty() && cells.size() <= 256);
    Byte(kLScreenCells);
    Byte(static_cast<std::uint8_t>(cells.size() & 0xFF));
    for (const CellLines& c : cells) {
        Bytes(EncodeMaskedCell(c));
    }
    return *this;
}

StreamBuilder& StreamBuilder::LsRepeat(unsigned count, const CellLines& lines) {
    assert(count >= 1 && count <= 256);
    Byte(kLScreenRepeat);
    Byte(static_cast<std::uint8_t>(count & 0xFF));
    return Bytes(EncodeMaskedCell(lines));
}

StreamBuilder& StreamBuilder::AttributeRow(std::span<const std::uint8_t, kAttributeColumns> row,
                                           std::uint8_t previous) {
    for (int group = 0; group < kAttributeRowMasks; ++group) {
        std::uint8_t mask = 0;
        std::uint8_t values[8];
        int count = 0;
        for (int bit = 0; bit < 8; ++bit) {
            const std::uint8_t v = row[static_cast<std::size_t>(group * 8 + bit)];
            if (v != previous) {
                mask = static_cast<std::uint8_t>(mask | (1u << bit));
                values[count++] = v;
                previous = v;
            }
        }
        Byte(mask);
        Bytes(std::span<const std::uint8_t>(values, static_cast<std::size_t>(count)));
    }
    return *this;
}

StreamBuilder& StreamBuilder::PackedCell(const CellLines& lines) {
    return Bytes(EncodeMaskedCell(lines));
}

StreamBuilder& StreamBuilder::AttributeGroup(std::uint8_t mask, std::initializer_list<std::uint8_t> entries) {
    Byte(mask);
    return Bytes(entries);
}

}  // namespace qzm::authoring
