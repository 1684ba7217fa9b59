#include "screen_convert.h"

#include <array>
#include <bit>
#include <cstring>

namespace qzm {
namespace {

// Eight output bytes as one word, in memory order: byte k of the word holds pixel k of the group.
constexpr std::uint64_t PlaceByte(int k, std::uint64_t value) {
    const int shift = std::endian::native == std::endian::little ? 8 * k : 8 * (7 - k);
    return value << shift;
}

// For each bitmap byte, 0xFF in the byte of every pixel whose bit is set (bit 7 is the leftmost).
constexpr std::array<std::uint64_t, 256> kInkMask = [] {
    std::array<std::uint64_t, 256> t{};
    for (int b = 0; b < 256; ++b) {
        for (int k = 0; k < 8; ++k) {
            if (b & (0x80 >> k)) {
                t[b] |= PlaceByte(k, 0xFF);
            }
        }
    }
    return t;
}();

// Eight pixels of one colour number.
constexpr std::array<std::uint64_t, kColourCount> kColourFill = [] {
    std::array<std::uint64_t, kColourCount> t{};
    for (int c = 0; c < kColourCount; ++c) {
        for (int k = 0; k < 8; ++k) {
            t[c] |= PlaceByte(k, static_cast<std::uint64_t>(c));
        }
    }
    return t;
}();

}  // namespace

// One pass over the screen lines from the top. Per character row, each attribute becomes a paper
// fill and an ink-XOR-paper fill; per bitmap byte, the eight pixels are paper ^ (ink mask & diff).
// The bitmap offset is walked, not computed: +256 per pixel line, and after a character row back
// by the 8 lines and on by 32, unless the +32 carries out of the low byte, which means the row was
// the last of its third and the offset already stands at the start of the next third.
void ScreenToIndexed(std::span<const std::uint8_t, kScreenBytes> screen, std::uint8_t* image) {
    const std::uint8_t* bitmap = screen.data();
    const std::uint8_t* attributes = screen.data() + kBitmapBytes;
    std::uint8_t* row = image + (kImagePixels - kImageWidth);  // screen line 0 is the top stored row
    std::uint32_t offset = 0;
    std::uint64_t paper[kAttributeColumns];
    std::uint64_t difference[kAttributeColumns];

    while (offset < kBitmapBytes) {
        for (int x = 0; x < kAttributeColumns; ++x) {
            const std::uint8_t a = attributes[x];
            paper[x] = kColourFill[(a >> 3) & 7];
            difference[x] = paper[x] ^ kColourFill[a & 7];
        }
        attributes += kAttributeColumns;

        for (int line = 0; line < kCellLines; ++line) {
            const std::uint8_t* src = bitmap + offset;
            for (int x = 0; x < kAttributeColumns; ++x) {
                const std::uint64_t pixels = paper[x] ^ (kInkMask[src[x]] & difference[x]);
                std::memcpy(row + 8 * x, &pixels, sizeof pixels);
            }
            offset += kCellLineStride;
            row -= kImageWidth;
        }

        const std::uint32_t low = (offset & 0xFF) + kAttributeColumns;
        offset = low > 0xFF ? (offset & ~0xFFu) : offset - kCellLines * kCellLineStride + kAttributeColumns;
    }
}

}  // namespace qzm
