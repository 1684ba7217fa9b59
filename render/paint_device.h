// The drawing surface that the player and the renderers draw into. The window implements it with
// its toolkit; the command-line tool and the tests implement it over plain memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "indexed_image.h"

namespace qzm {

// Memory a picture can be written into in place: rows of pixels `stride` pixels apart, the top row
// first.
struct PixelTarget {
    Pixel32* pixels = nullptr;
    std::size_t stride = 0;
};

class IPaintDevice {
public:
    virtual ~IPaintDevice() = default;

    // The device's own pixels for a 32-bit picture of `width` x `height` at (x, y), when it can offer
    // them, so that the picture is written there rather than drawn from a copy. None by default: the
    // picture is drawn with DrawPixels.
    virtual std::optional<PixelTarget> TargetFor(int /*x*/, int /*y*/, int /*width*/, int /*height*/) {
        return std::nullopt;
    }

    // Draws an 8-bit picture at (x, y): `rows` holds `height` rows of `width` colour numbers, the
    // bottom row first, each looked up in `palette`.
    virtual void DrawIndexed(int x, int y, const std::uint8_t* rows, int width, int height,
                             std::span<const PaletteEntry, kColourCount> palette) = 0;

    // Draws a 32-bit picture at (x, y): `pixels` holds `height` rows of `width` pixels, the top
    // row first, with no gap between rows.
    virtual void DrawPixels(int x, int y, const Pixel32* pixels, int width, int height) = 0;
};

}  // namespace qzm
