// A paint device over plain memory: it keeps what was drawn last, as RGB pixels, top row first.
#pragma once

#include <cstdint>
#include <vector>

#include "paint_device.h"

namespace qzm::testing {

class MemoryPaintDevice : public IPaintDevice {
public:
    enum class Kind { None, Indexed, Pixels };

    void DrawIndexed(int x, int y, const std::uint8_t* rows, int width, int height,
                     std::span<const PaletteEntry, kColourCount> palette) override {
        Begin(Kind::Indexed, x, y, width, height);
        for (int row = 0; row < height; ++row) {
            const std::uint8_t* src = rows + static_cast<std::size_t>(height - 1 - row) * width;
            for (int col = 0; col < width; ++col) {
                const PaletteEntry& e = palette[src[col] & 7];
                pixels[static_cast<std::size_t>(row) * width + col] = MakePixel(e.red, e.green, e.blue);
            }
        }
        indexed.assign(rows, rows + static_cast<std::size_t>(width) * height);
    }

    void DrawPixels(int x, int y, const Pixel32* src, int width, int height) override {
        Begin(Kind::Pixels, x, y, width, height);
        pixels.assign(src, src + static_cast<std::size_t>(width) * height);
    }

    // The colour of the drawn pixel at column `col` of row `row` counted from the top.
    Pixel32 At(int col, int row) const { return pixels[static_cast<std::size_t>(row) * width + col]; }

    Kind kind = Kind::None;
    int draws = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<Pixel32> pixels;
    std::vector<std::uint8_t> indexed;  // the colour numbers of an 8-bit draw, as given (bottom-up)

private:
    void Begin(Kind k, int px, int py, int w, int h) {
        kind = k;
        ++draws;
        x = px;
        y = py;
        width = w;
        height = h;
        pixels.assign(static_cast<std::size_t>(w) * h, 0);
    }
};

}  // namespace qzm::testing
