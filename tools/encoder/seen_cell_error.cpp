#include "seen_cell_error.h"

#include "vector_clones.h"

namespace qzm::encoder {
namespace {

constexpr std::size_t kSpan = SeenCellError::kSpan;
using Lanes = SeenCellError::Lanes;
using Line = SeenCellError::Line;
using Field = SeenCellError::Field;

// {2, 4, 5, 4, 2} / 17: within 0.005 of a Gaussian of sigma 1.5 cut at two pixels.
constexpr std::array<float, 5> kKernel = {2.0f / 17, 4.0f / 17, 5.0f / 17, 4.0f / 17, 2.0f / 17};

// Every line of eight pixels, one bit each (the first pixel in the highest bit), blurred along the
// line into the span: pixel x lands around lane x + 2.
const std::array<Line, 256>& BlurredBits() {
    static const std::array<Line, 256> table = [] {
        std::array<Line, 256> t{};
        for (std::size_t byte = 0; byte < 256; ++byte) {
            std::array<float, kSpan> lanes{};
            for (std::size_t x = 0; x < 8; ++x) {
                for (std::size_t j = 0; j < kKernel.size(); ++j) {
                    lanes[x + j] += kKernel[j] * static_cast<float>((byte >> (7 - x)) & 1);
                }
            }
            for (std::size_t i = 0; i < 8; ++i) {
                t[byte].left[i] = lanes[i];
            }
            for (std::size_t i = 0; i < 4; ++i) {
                t[byte].right[i] = lanes[i + 8];
            }
        }
        return t;
    }();
    return table;
}

// Eight lines, already blurred along themselves, with four empty lines either side.
using Lines = std::array<const Line*, 16>;

inline Lines Padded() {
    static constexpr Line kEmpty{};
    Lines lines;
    lines.fill(&kEmpty);
    return lines;
}

// Line y of the span, the lines blurred across.
inline Line BlurredAcross(const Lines& lines, std::size_t y) {
    Line sum;
    for (std::size_t j = 0; j < kKernel.size(); ++j) {
        const Line& in = *lines[y + 4 - j];
        sum.left += kKernel[j] * in.left;
        sum.right += kKernel[j] * in.right;
    }
    return sum;
}

inline Field BlurAcross(const Lines& lines) {
    Field out;
    for (std::size_t y = 0; y < kSpan; ++y) {
        out[y] = BlurredAcross(lines, y);
    }
    return out;
}

// The cell itself (all ones), blurred.
const Field& BlurredCell() {
    static const Field cell = [] {
        Lines lines = Padded();
        for (std::size_t y = 0; y < 8; ++y) {
            lines[y + 4] = &BlurredBits()[255];
        }
        return BlurAcross(lines);
    }();
    return cell;
}

using Quad = SeenCellError::Quad;

double Sum(const Lanes& left, const Quad& right) {
    double sum = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        sum += left[i];
    }
    for (std::size_t i = 0; i < 4; ++i) {
        sum += right[i];
    }
    return sum;
}

inline double Dot(const Field& a, const Field& b) {
    Lanes left{};
    Quad right{};
    for (std::size_t y = 0; y < kSpan; ++y) {
        left += a[y].left * b[y].left;
        right += a[y].right * b[y].right;
    }
    return Sum(left, right);
}

// The sum over the field of B * (linear + square * B), B the blurred pattern.
QZM_VECTOR_CLONES double PatternTerms(std::uint64_t bits, const Field& linear, float square) {
    Lines lines = Padded();
    for (std::size_t y = 0; y < 8; ++y) {
        lines[y + 4] = &BlurredBits()[(bits >> (8 * y)) & 0xFF];
    }
    Lanes left{};
    Quad right{};
    for (std::size_t y = 0; y < kSpan; ++y) {
        const Line b = BlurredAcross(lines, y);
        left += b.left * (linear[y].left + square * b.left);
        right += b.right * (linear[y].right + square * b.right);
    }
    return Sum(left, right);
}

// The cell's pixels blurred, per channel: each pixel spreads as a lone bit does, scaled by its
// value.
QZM_VECTOR_CLONES void BlurPicture(const CellPixels& pixels, std::array<Field, 3>& out,
                                   std::array<double, 3>& squares, std::array<double, 3>& onCell) {
    const std::array<Line, 256>& spread = BlurredBits();
    for (std::size_t c = 0; c < 3; ++c) {
        std::array<Line, 8> blurred{};
        Lines lines = Padded();
        for (std::size_t y = 0; y < 8; ++y) {
            for (std::size_t x = 0; x < 8; ++x) {
                const auto v = static_cast<float>(pixels[c][y * 8 + x]);
                blurred[y].left += v * spread[0x80 >> x].left;
                blurred[y].right += v * spread[0x80 >> x].right;
            }
            lines[y + 4] = &blurred[y];
        }
        out[c] = BlurAcross(lines);
        squares[c] = Dot(out[c], out[c]);
        onCell[c] = Dot(out[c], BlurredCell());
    }
}

// Twice the weighted sum over the channels of d u: onCell * cell - sum of step * picture.
QZM_VECTOR_CLONES void LinearField(const std::array<Field, 3>& picture, const Field& cell,
                                   const std::array<float, 3>& step, float onCell, Field& out) {
    for (std::size_t y = 0; y < kSpan; ++y) {
        out[y].left = onCell * cell[y].left - step[0] * picture[0][y].left - step[1] * picture[1][y].left -
                      step[2] * picture[2][y].left;
        out[y].right = onCell * cell[y].right - step[0] * picture[0][y].right -
                       step[1] * picture[1][y].right - step[2] * picture[2][y].right;
    }
}

}  // namespace

SeenCellError::SeenCellError(const CellPixels& pixels) {
    BlurPicture(pixels, m_picture, m_pictureSquares, m_pictureOnCell);
}

void SeenCellError::SetPair(int a, int b) {
    // Per channel the error field is (a + (b - a) B) - picture = u + d B, with u = a * cell -
    // picture; its weighted square is u^2 + 2 d u B + d^2 B^2.
    static const double kCellSquares = Dot(BlurredCell(), BlurredCell());
    m_base = 0;
    m_square = 0;
    std::array<float, 3> step{};
    float onCell = 0;
    for (std::size_t c = 0; c < 3; ++c) {
        const int level = ChannelValue(a, static_cast<int>(c));
        const int d = ChannelValue(b, static_cast<int>(c)) - level;
        const int weight = kChannelWeight[c];
        m_base += weight * (1.0 * level * level * kCellSquares - 2.0 * level * m_pictureOnCell[c] +
                            m_pictureSquares[c]);
        m_square += static_cast<float>(weight * d * d);
        step[c] = static_cast<float>(2 * weight * d);
        onCell += static_cast<float>(2 * weight * d * level);
    }
    LinearField(m_picture, BlurredCell(), step, onCell, m_linear);
}

double SeenCellError::operator()(std::uint64_t bits) const {
    return m_base + PatternTerms(bits, m_linear, m_square);
}

}  // namespace qzm::encoder
