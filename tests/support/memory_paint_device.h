// A paint device over plain memory: it keeps what was drawn last, as RGB pixels, top row first.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "paint_device.h"

namespace qzm::testing {

class MemoryPaintDevice : public IPaintDevice {
public:
    enum class Kind { None, Indexed, Pixels };

    void DrawIndexed(int px, int py, const std::uint8_t* rows, int w, int h,
                     std::span<const PaletteEntry, kColourCount> palette) override {
        Begin(Kind::Indexed, px, py, w, h);
        for (int row = 0; row < h; ++row) {
            const std::uint8_t* src = rows + static_cast<std::size_t>(h - 1 - row) * w;
            for (int col = 0; col < w; ++col) {
                const PaletteEntry& e = palette[src[col] & 7];
                pixels[static_cast<std::size_t>(row) * w + col] = MakePixel(e.red, e.green, e.blue);
            }
        }
        indexed.assign(rows, rows + static_cast<std::size_t>(w) * h);
    }

    void DrawPixels(int px, int py, const Pixel32* src, int w, int h) override {
        Begin(Kind::Pixels, px, py, w, h);
        pixels.assign(src, src + static_cast<std::size_t>(w) * h);
    }

    // With a target, the device offers `target` as memory for any picture, its rows `stride` apart.
    std::optional<PixelTarget> TargetFor(int, int, int, int) override {
        return target.empty() ? std::nullopt : std::optional(PixelTarget{target.data(), stride});
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
    std::vector<Pixel32> target;        // offered for pictures when not empty
    std::size_t stride = 0;

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
