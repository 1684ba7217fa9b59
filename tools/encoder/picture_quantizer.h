// Turns an RGB picture into a Spectrum screen: per 8 x 8 cell one ink and one paper out of the eight
// colours, pixels dithered between the two, cells that barely change kept as they were.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "palette_colours.h"
#include "video_encoder.h"

namespace qzm::encoder {

using Screen = std::array<std::uint8_t, kScreenBytes>;

inline constexpr int kCellColumns = 32;
inline constexpr int kCellRows = 24;
inline constexpr int kCellCount = kCellColumns * kCellRows;

// Byte offset of the bitmap byte of pixel line y, byte column x.
constexpr std::size_t BitmapOffset(int y, int x) {
    return static_cast<std::size_t>(((y >> 6) << 11) | ((y & 7) << 8) | (((y >> 3) & 7) << 5) | x);
}

using QuarterSums = std::array<std::array<int, 3>, 4>;

class PictureQuantizer {
public:
    PictureQuantizer(Dither dither, int threshold);

    // Makes `out` from the picture `rgb` (256 x 192 RGB24), given the screen shown before it. The
    // picture lies in `picture`; the rest is a black border that no dithering reaches.
    void Quantize(std::span<const std::uint8_t> rgb, const Screen& previous, Screen& out,
                  const Area& picture = {});
    // The screen was drawn by other means (an exact screen): no cell is kept for looking as it did
    // when this quantiser last drew it.
    void ForgetDrawn() { m_haveDrawn = false; }

private:
    struct Pair {
        std::uint8_t a = 0;
        std::uint8_t b = 0;
    };
    struct Choice {
        Pair pair;
        std::uint64_t bits = 0;  // which pixels take b (diffusion decides them later)
    };
    CellPixels Gather(std::span<const std::uint8_t> rgb, int row, int column, const Area& picture) const;
    Choice Choose(const CellPixels& pixels, std::uint8_t previous) const;
    void DiffuseRow(std::span<const std::uint8_t> rgb, const Area& picture, int row);
    void PutCell(std::span<const std::uint8_t> rgb, int row, int column, Pair pair, std::uint64_t bits,
                 const Screen& previous, Screen& out);

    Dither m_dither;
    int m_threshold;
    std::array<Pair, kCellCount> m_pairs{};
    std::array<std::uint64_t, kCellCount>
        m_bits{};  // per cell, line k in bits 8k-8k+7 as on the screen: pixel has colour b
    // Diffusion: two lines of error, one red, green, blue, unused quadruple per pixel, with margins.
    using ErrorLanes = int __attribute__((vector_size(16)));
    std::vector<ErrorLanes> m_error;
    // Per cell, the colour sums of its four quarters in the picture it was last drawn from.
    std::array<QuarterSums, kCellCount> m_drawn{};
    bool m_haveDrawn = false;
};

}  // namespace qzm::encoder
