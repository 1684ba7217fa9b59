#include "blend_table.h"

namespace qzm {

namespace {

constexpr unsigned kBlack = 0;
constexpr unsigned kWhite = 7;
constexpr Pixel32 kOpaque = 0xFF000000u;

// Which of the four neighbours have one channel: bit 3 (r, c), bit 2 (r + 1, c), bit 1 (r, c + 1),
// bit 0 (r + 1, c + 1). Nibble of a neighbourhood code for the channel whose colour bit is `bit`.
constexpr unsigned ChannelCase(unsigned code, unsigned bit) {
    unsigned nibble = 0;
    for (unsigned shift = 9;; shift -= 3) {
        nibble = (nibble << 1) | ((code >> shift) & bit ? 1u : 0u);
        if (shift == 0) {
            return nibble;
        }
    }
}

// The vertical mix of one channel from PairTable: black and white have every channel or none, so
// the pair of black or white standing in for "has the channel" gives that channel's mix.
unsigned VerticalMix(const PairTable& pairs, unsigned v, bool high, bool low) {
    const unsigned p = ((high ? kWhite : kBlack) << 3) | (low ? kWhite : kBlack);
    return PixelBlue(pairs[v][p]);
}

int TruncatingDiv256(int e) {
    return e / 256;  // C++ division truncates toward zero
}

// ChannelTable[case][v * 8 + h]: one channel of the entry for a neighbour case, already shifted to
// its place in the pixel.
using ChannelTable = std::array<std::array<Pixel32, kEntriesPerCode>, 16>;

ChannelTable BuildChannelTable(const PairTable& pairs, const BlendWeights& weights, unsigned shift) {
    ChannelTable t{};
    for (unsigned nibble = 0; nibble < 16; ++nibble) {
        for (unsigned v = 0; v < kFractionSteps; ++v) {
            const int c1 = static_cast<int>(VerticalMix(pairs, v, nibble & 8u, nibble & 4u));
            const int c2 = static_cast<int>(VerticalMix(pairs, v, nibble & 2u, nibble & 1u));
            for (unsigned h = 0; h < kFractionSteps; ++h) {
                const int mixed = c1 + TruncatingDiv256((c2 - c1) * weights[h]);
                t[nibble][v * kFractionSteps + h] = (static_cast<Pixel32>(mixed) & 0xFFu) << shift;
            }
        }
    }
    return t;
}

}  // namespace

PairTable BuildPairTable(const BlendWeights& weights) {
    PairTable pairs{};
    for (unsigned k = 0; k < kFractionSteps; ++k) {
        const unsigned w = weights[k];
        for (unsigned p = 0; p < kPairCodes; ++p) {
            const unsigned both = (p >> 3) & p;
            const unsigned either = (p >> 3) | p;
            Pixel32 entry = kOpaque;
            for (const ColourChannel& ch : kColourChannels) {
                unsigned value = 0;
                if (both & ch.colourBit) {
                    value = 255;
                } else if (either & ch.colourBit) {
                    value = (p & ch.colourBit) ? w : 255 - w;
                }
                entry |= value << ch.pixelShift;
            }
            pairs[k][p] = entry;
        }
    }
    return pairs;
}

void FillBlendTable(const PairTable& pairs, const BlendWeights& weights,
                    std::span<Pixel32, kBlendTableEntries> table) {
    const ChannelTable blue = BuildChannelTable(pairs, weights, kColourChannels[0].pixelShift);
    const ChannelTable green = BuildChannelTable(pairs, weights, kColourChannels[1].pixelShift);
    const ChannelTable red = BuildChannelTable(pairs, weights, kColourChannels[2].pixelShift);
    Pixel32* out = table.data();
    for (unsigned code = 0; code < kNeighbourhoodCodes; ++code) {
        const Pixel32* b = blue[ChannelCase(code, kColourChannels[0].colourBit)].data();
        const Pixel32* g = green[ChannelCase(code, kColourChannels[1].colourBit)].data();
        const Pixel32* r = red[ChannelCase(code, kColourChannels[2].colourBit)].data();
        for (unsigned vh = 0; vh < kEntriesPerCode; ++vh) {
            out[vh] = kOpaque | b[vh] | g[vh] | r[vh];
        }
        out += kEntriesPerCode;
    }
}

}  // namespace qzm
