// How far a cell drawn in two colours is from its picture as seen from a distance: the error of its
// pixels blurred by a five-tap kernel close to a Gaussian of sigma 1.5, over the cell and the two
// pixels around it (the neighbouring cells taken as exact). A dither's dots merge under the blur, so
// this tells a pattern that shows the picture from one that only matches it pixel by pixel.
#pragma once

#include <array>
#include <cstdint>

#include "palette_colours.h"

namespace qzm::encoder {

class SeenCellError {
public:
    static constexpr int kSpan = 12;  // the cell and two pixels either side

    // A line of the span in a vector of eight and one of four, and the span.
    using Lanes = float __attribute__((vector_size(32)));
    using Quad = float __attribute__((vector_size(16)));
    struct Line {
        Lanes left{};
        Quad right{};
    };
    using Field = std::array<Line, kSpan>;

    explicit SeenCellError(const CellPixels& pixels);
    // The colours of the patterns measured next: a where a pattern's bit is 0, b where it is 1.
    void SetPair(int a, int b);
    // The weighted squared error, blurred, of the cell showing `bits` (line k in bits 8k to 8k + 7,
    // its first pixel in the highest bit, as on the screen).
    double operator()(std::uint64_t bits) const;

private:
    std::array<Field, 3> m_picture{};          // the blurred source, per channel
    std::array<double, 3> m_pictureSquares{};  // per channel: the sum of its squares
    std::array<double, 3> m_pictureOnCell{};   // and of its products with the blurred cell
    // For the pair set: error = m_base + the sum over the field of B * (m_linear + m_square * B),
    // B the blurred pattern.
    Field m_linear{};
    float m_square = 0;
    double m_base = 0;
};

}  // namespace qzm::encoder
