// The palette-index picture that the renderers scale, and the colours it refers to.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qzm {

// IndexedImage: 192 rows of 256 colour numbers (0-7), stored bottom-up (row 0 is the bottom line
// of the picture), followed by a guard of zero bytes. The interpolating renderers read one row and
// four bytes past the last row, and treat the guard as a black line above the picture.
inline constexpr int kImageWidth = 256;
inline constexpr int kImageHeight = 192;
inline constexpr std::size_t kImagePixels = std::size_t{kImageWidth} * kImageHeight;  // 49152
inline constexpr std::size_t kImageGuardBytes = 260;
inline constexpr std::size_t kIndexedImageBytes = kImagePixels + kImageGuardBytes;  // 49412

using IndexedImageBuffer = std::array<std::uint8_t, kIndexedImageBytes>;

// Colour numbers are the Spectrum's 3-bit colours: bit 0 blue, bit 1 red, bit 2 green, each channel
// either absent (0) or at full intensity (255). BRIGHT is not modelled.
inline constexpr int kColourCount = 8;

// One palette entry of the 8-bit picture, in the order blue, green, red, reserved.
struct PaletteEntry {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;

    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

using Palette = std::array<PaletteEntry, kColourCount>;

// A 32-bit output pixel: 0xFFRRGGBB as a host-order word, so that on a little-endian machine its
// bytes are blue, green, red, 0xFF. The top byte is not significant to the picture; it is kept at
// 0xFF so that the buffer can be shown directly as an opaque RGB image.
using Pixel32 = std::uint32_t;

constexpr Pixel32 MakePixel(unsigned red, unsigned green, unsigned blue) {
    return 0xFF000000u | ((red & 0xFFu) << 16) | ((green & 0xFFu) << 8) | (blue & 0xFFu);
}

constexpr unsigned PixelRed(Pixel32 p) {
    return (p >> 16) & 0xFFu;
}
constexpr unsigned PixelGreen(Pixel32 p) {
    return (p >> 8) & 0xFFu;
}
constexpr unsigned PixelBlue(Pixel32 p) {
    return p & 0xFFu;
}

// The one mapping of colour-number bits to channels: for blue, green and red, the bit that holds
// the channel and the channel's place in a Pixel32. The pixels, palette entries and blend tables of
// the eight colours are all made from it.
struct ColourChannel {
    unsigned colourBit;
    unsigned pixelShift;
};
inline constexpr std::array<ColourChannel, 3> kColourChannels{{{1u, 0u}, {4u, 8u}, {2u, 16u}}};

constexpr Pixel32 ColourPixel(int colour) {
    Pixel32 pixel = MakePixel(0, 0, 0);
    for (const ColourChannel& channel : kColourChannels) {
        if (static_cast<unsigned>(colour) & channel.colourBit) {
            pixel |= 0xFFu << channel.pixelShift;
        }
    }
    return pixel;
}

constexpr PaletteEntry ColourEntry(int colour) {
    const Pixel32 pixel = ColourPixel(colour);
    return PaletteEntry{static_cast<std::uint8_t>(PixelBlue(pixel)),
                        static_cast<std::uint8_t>(PixelGreen(pixel)),
                        static_cast<std::uint8_t>(PixelRed(pixel)), 0};
}

}  // namespace qzm
