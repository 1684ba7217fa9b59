// The drawing surface that the player and the renderers draw into. The window implements it with
// its toolkit; the command-line tool and the tests implement it over plain memory.
#pragma once

#include <cstdint>
#include <span>

#include "indexed_image.h"

namespace qzm {

class IPaintDevice {
public:
    virtual ~IPaintDevice() = default;

    // Draws an 8-bit picture at (x, y): `rows` holds `height` rows of `width` colour numbers, the
    // bottom row first, each looked up in `palette`.
    virtual void DrawIndexed(int x, int y, const std::uint8_t* rows, int width, int height,
                             std::span<const PaletteEntry, kColourCount> palette) = 0;

    // Draws a 32-bit picture at (x, y): `pixels` holds `height` rows of `width` pixels, the top
    // row first, with no gap between rows.
    virtual void DrawPixels(int x, int y, const Pixel32* pixels, int width, int height) = 0;
};

}  // namespace qzm
