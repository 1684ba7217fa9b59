// The ready results of the interpolating renderers. Every output pixel is fixed by the colour
// numbers of its four neighbouring source pixels and its vertical and horizontal eighths: 18 bits,
// so all 262144 results are computed once into the BlendTable and rendering is a lookup.
//
// BlendTable index, bit by bit:
//   17-15  colour at (r, c)          14-12  colour at (r + 1, c)
//   11-9   colour at (r, c + 1)       8-6   colour at (r + 1, c + 1)
//    5-3   vertical eighth v          2-0   horizontal eighth h
// r counts stored rows from the bottom, so r + 1 is the line above on screen. Bits 17-6 are the
// 12-bit neighbourhood code of (r, c).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "blend_weights.h"
#include "indexed_image.h"

namespace qzm {

inline constexpr unsigned kPairCodes = 64;  // two colour numbers: high << 3 | low
inline constexpr unsigned kNeighbourhoodCodes = kPairCodes * kPairCodes;
inline constexpr unsigned kEntriesPerCode = kFractionSteps * kFractionSteps;
inline constexpr std::size_t kBlendTableEntries = std::size_t{kNeighbourhoodCodes} * kEntriesPerCode;

constexpr unsigned BlendIndex(unsigned code, unsigned v, unsigned h) {
    return (code << 6) | (v << 3) | h;
}

// PairTable[k][p]: the colour of p's low colour (p & 7) mixed with share weights[k] / 255 into its
// high colour (p >> 3). Channels are 0 or 255 in both, so a channel is 255 where both have it,
// weights[k] where only the low colour has it, 255 - weights[k] where only the high one has it.
using PairTable = std::array<std::array<Pixel32, kPairCodes>, kFractionSteps>;

PairTable BuildPairTable(const BlendWeights& weights);

// Fills all entries of a BlendTable. Entry a mixes vertically c1 = PairTable[v][a >> 12] (column c)
// and c2 = PairTable[v][(a >> 6) & 63] (column c + 1), then horizontally per channel
// c1 + ((c2 - c1) * weights[h]) / 256 with the division truncating toward zero, so even h = 7 stops
// one step short of c2.
//
// The channels of an entry are independent, and each depends only on whether the four colours
// have that channel and on v and h: 16 x 64 cases. They are mixed once per case and then combined
// into the entries, which is far cheaper than mixing every entry.
void FillBlendTable(const PairTable& pairs, const BlendWeights& weights,
                    std::span<Pixel32, kBlendTableEntries> table);

}  // namespace qzm
