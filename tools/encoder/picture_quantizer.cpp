#include "picture_quantizer.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace qzm::encoder {
namespace {

// Channel weights of the colour distance (red, green, blue): green counts most, blue least, a
// cheap stand-in for how strongly the eye sees each channel.
constexpr int kWeight[3] = {3, 4, 2};

// Channel c (0 red, 1 green, 2 blue) of Spectrum colour k: bit 1 red, bit 2 green, bit 0 blue.
constexpr int ChannelBit(int k, int c) {
    return c == 0 ? (k >> 1) & 1 : c == 1 ? (k >> 2) & 1 : k & 1;
}
constexpr int ChannelValue(int k, int c) {
    return ChannelBit(k, c) * 255;
}
int Distance(const std::uint8_t* p, int k) {
    int sum = 0;
    for (int c = 0; c < 3; ++c) {
        const int d = p[c] - ChannelValue(k, c);
        sum += kWeight[c] * d * d;
    }
    return sum;
}

// Half the seen difference of one pixel of a cell's quarter turning from black to white: the
// threshold's unit for how much a cell's part of the picture may change before it is redrawn.
constexpr std::int64_t kPixelSeen = std::int64_t{9} * 255 * 255 / 2;

// 8 x 8 Bayer matrix, values 0-63.
constexpr std::array<std::array<std::uint8_t, 8>, 8> kBayer{{
    {0, 32, 8, 40, 2, 34, 10, 42},
    {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},
    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},
    {63, 31, 55, 23, 61, 29, 53, 21},
}};

const std::uint8_t* PixelAt(std::span<const std::uint8_t> rgb, int x, int y) {
    return rgb.data() + (static_cast<std::size_t>(y) * kPictureWidth + static_cast<std::size_t>(x)) * 3;
}

using Row = std::array<std::int16_t, 64>;

using Values = std::array<std::array<std::uint16_t, 64>, 3>;  // [channel][pixel]

// The summed error of each of the 28 pairs of colours (a < b, in order) over a cell's 64 pixels,
// each pixel taking the nearer of the two. Built for AVX2 as well, picked at run time; not under
// the address sanitizer, whose start-up the run-time pick would precede.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QZM_ENCODER_NO_CLONES
#endif
#endif
#if defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__) && !defined(QZM_ENCODER_NO_CLONES)
__attribute__((target_clones("avx2", "default")))
#endif
void NearestPairErrors(const Values& values, std::array<std::int64_t, 28>& errors) {
    // Weighted squared distance of each channel value to 0 and to 255, scaled down by 32 so that
    // the sum over three channels fits in 15 bits.
    std::array<std::array<Row, 2>, 3> channel;  // [channel][level][pixel]
    for (std::size_t c = 0; c < 3; ++c) {
        const auto w = static_cast<std::uint16_t>(kWeight[c]);
        for (std::size_t i = 0; i < 64; ++i) {
            const std::uint16_t v = values[c][i];
            const auto up = static_cast<std::uint16_t>(255 - v);
            channel[c][0][i] = static_cast<std::int16_t>(w * static_cast<std::uint16_t>((v * v) >> 5));
            channel[c][1][i] = static_cast<std::int16_t>(w * static_cast<std::uint16_t>((up * up) >> 5));
        }
    }
    std::array<Row, 8> distance;
    for (std::size_t k = 0; k < 8; ++k) {
        const Row& r = channel[0][static_cast<std::size_t>(ChannelBit(static_cast<int>(k), 0))];
        const Row& g = channel[1][static_cast<std::size_t>(ChannelBit(static_cast<int>(k), 1))];
        const Row& b = channel[2][static_cast<std::size_t>(ChannelBit(static_cast<int>(k), 2))];
        for (std::size_t i = 0; i < 64; ++i) {
            distance[k][i] = static_cast<std::int16_t>(r[i] + g[i] + b[i]);
        }
    }
    std::size_t pair = 0;
    for (std::size_t a = 0; a < 8; ++a) {
        for (std::size_t b = a + 1; b < 8; ++b) {
            int error = 0;
            for (std::size_t i = 0; i < 64; ++i) {
                error += distance[a][i] < distance[b][i] ? distance[a][i] : distance[b][i];
            }
            errors[pair++] = error;
        }
    }
}

// A dither shows any mix of a cell's two colours, so a pixel's error under a pair is its distance
// to the nearest mix: the segment from a to b. In the channels where a and b agree that is the
// distance to their common value; over the channels where they differ, with each value u measured
// from a towards b, it is the weighted spread of u about its weighted mean (which always lies on
// the segment, so no clamping is needed). Summed over the cell, both follow from the sums of the
// values, their squares and their products, so the 28 pairs cost a handful of operations each.
// The errors are scaled by 630 (a multiple of every sum of weights) to stay whole numbers.
constexpr int kFirst[3] = {0, 0, 1};  // the channel pairs of Moments::products
constexpr int kSecond[3] = {1, 2, 2};
struct Moments {
    std::array<std::int64_t, 3> sum{};       // of v, per channel
    std::array<std::int64_t, 3> squares{};   // of v * v
    std::array<std::int64_t, 3> products{};  // of v_i * v_j for the channel pairs (0, 1), (0, 2), (1, 2)
    std::int64_t count = 0;
};

void SegmentPairErrors(const Moments& m, std::array<std::int64_t, 28>& errors) {
    constexpr std::int64_t kScale = 630;
    constexpr std::int64_t kTop = 255;
    // Per channel: summed squared distance to 0 and to 255. Per channel pair: summed (u_i - u_j)^2
    // when both are measured the same way, and when one is measured from the other end.
    std::array<std::array<std::int64_t, 2>, 3> level{};
    std::array<std::array<std::int64_t, 2>, 3> spread{};
    for (std::size_t c = 0; c < 3; ++c) {
        level[c][0] = m.squares[c];
        level[c][1] = m.count * kTop * kTop - 2 * kTop * m.sum[c] + m.squares[c];
    }
    for (std::size_t p = 0; p < 3; ++p) {
        const auto i = static_cast<std::size_t>(kFirst[p]);
        const auto j = static_cast<std::size_t>(kSecond[p]);
        spread[p][0] = m.squares[i] + m.squares[j] - 2 * m.products[p];
        spread[p][1] = m.squares[i] + m.squares[j] + 2 * m.products[p] - 2 * kTop * (m.sum[i] + m.sum[j]) +
                       m.count * kTop * kTop;
    }
    std::size_t pair = 0;
    for (int a = 0; a < 8; ++a) {
        for (int b = a + 1; b < 8; ++b) {
            std::int64_t error = 0;
            int spanWeight = 0;
            for (int c = 0; c < 3; ++c) {
                if (ChannelBit(a, c) == ChannelBit(b, c)) {
                    error += kScale * kWeight[c] *
                             level[static_cast<std::size_t>(c)][static_cast<std::size_t>(ChannelBit(a, c))];
                } else {
                    spanWeight += kWeight[c];
                }
            }
            for (int p = 0; p < 3; ++p) {
                const int i = kFirst[p];
                const int j = kSecond[p];
                if (ChannelBit(a, i) != ChannelBit(b, i) && ChannelBit(a, j) != ChannelBit(b, j)) {
                    const int flipped = ChannelBit(a, i) != ChannelBit(a, j) ? 1 : 0;
                    error += kScale * kWeight[i] * kWeight[j] / spanWeight *
                             spread[static_cast<std::size_t>(p)][static_cast<std::size_t>(flipped)];
                }
            }
            errors[pair++] = error;
        }
    }
}

// The error of each pair under a dither: the cell's pixels against the pair's mixes, plus their
// deviations from the cell's mean (its texture) against the same mixes shifted onto that mean.
// Counting the texture twice prefers pairs whose mixes follow it (a brighter pixel brighter in
// every channel) over pairs that only match the cell's mean hue, whose dither would invert the
// texture in some channel.
void DitherPairErrors(const Moments& m, std::array<std::int64_t, 28>& errors) {
    SegmentPairErrors(m, errors);
    Moments texture;  // the deviations' moments, times the pixel count
    for (std::size_t c = 0; c < 3; ++c) {
        texture.squares[c] = m.squares[c] * m.count - m.sum[c] * m.sum[c];
    }
    for (std::size_t p = 0; p < 3; ++p) {
        texture.products[p] = m.products[p] * m.count - m.sum[static_cast<std::size_t>(kFirst[p])] *
                                                            m.sum[static_cast<std::size_t>(kSecond[p])];
    }
    std::array<std::int64_t, 28> textureErrors;
    SegmentPairErrors(texture, textureErrors);
    for (std::size_t k = 0; k < errors.size(); ++k) {
        errors[k] += textureErrors[k] / m.count;
    }
}

// The colour sums of a cell's four 4 x 4 quarters, [quarter][channel]: the cell as seen from a
// distance, where a dither's dots merge.
QuarterSums PictureSums(std::span<const std::uint8_t> rgb, int row, int column) {
    QuarterSums sums{};
    for (int line = 0; line < 8; ++line) {
        const std::uint8_t* p = PixelAt(rgb, column * 8, row * 8 + line);
        for (int x = 0; x < 8; ++x, p += 3) {
            auto& quarter = sums[static_cast<std::size_t>((line / 4) * 2 + x / 4)];
            for (std::size_t c = 0; c < 3; ++c) {
                quarter[c] += p[c];
            }
        }
    }
    return sums;
}

std::int64_t SeenDifference(const QuarterSums& a, const QuarterSums& b) {
    std::int64_t difference = 0;
    for (std::size_t q = 0; q < 4; ++q) {
        for (std::size_t c = 0; c < 3; ++c) {
            const std::int64_t d = a[q][c] - b[q][c];
            difference += kWeight[c] * d * d;
        }
    }
    return difference;
}

}  // namespace

PictureQuantizer::PictureQuantizer(Dither dither, int threshold) : m_dither(dither), m_threshold(threshold) {
    if (dither == Dither::Diffusion) {
        m_error.assign(2 * (kPictureWidth + 2), ErrorLanes{});
    }
}

void PictureQuantizer::Quantize(std::span<const std::uint8_t> rgb, const Screen& previous, Screen& out,
                                const Area& picture) {
    for (int row = 0; row < kCellRows; ++row) {
        for (int column = 0; column < kCellColumns; ++column) {
            const int cell = row * kCellColumns + column;
            const std::uint8_t attribute = previous[kBitmapBytes + static_cast<std::size_t>(cell)];
            m_pairs[static_cast<std::size_t>(cell)] = ChoosePair(rgb, row, column, attribute);
            if (m_dither != Dither::Diffusion) {
                m_bits[static_cast<std::size_t>(cell)] =
                    AssignCell(rgb, row, column, m_pairs[static_cast<std::size_t>(cell)]);
            }
        }
    }
    if (m_dither == Dither::Diffusion) {
        Diffuse(rgb, picture);
    }
    for (int row = 0; row < kCellRows; ++row) {
        for (int column = 0; column < kCellColumns; ++column) {
            const auto cell = static_cast<std::size_t>(row * kCellColumns + column);
            PutCell(rgb, row, column, m_pairs[cell], m_bits[cell], previous, out);
        }
    }
    m_haveDrawn = true;
}

// The pair of colours with the least summed error: each pixel taking the nearer of the two or,
// when dithering, the nearest of their mixes. Ties keep the cell's previous colours.
PictureQuantizer::Pair PictureQuantizer::ChoosePair(std::span<const std::uint8_t> rgb, int row, int column,
                                                    std::uint8_t previous) const {
    std::array<std::int64_t, 28> errors;
    if (m_dither == Dither::None) {
        Values values;
        for (int line = 0; line < 8; ++line) {
            const std::uint8_t* p = PixelAt(rgb, column * 8, row * 8 + line);
            for (int x = 0; x < 8; ++x, p += 3) {
                for (std::size_t c = 0; c < 3; ++c) {
                    values[c][static_cast<std::size_t>(line * 8 + x)] = p[c];
                }
            }
        }
        NearestPairErrors(values, errors);
    } else {
        Moments m;
        m.count = 64;
        for (int line = 0; line < 8; ++line) {
            const std::uint8_t* p = PixelAt(rgb, column * 8, row * 8 + line);
            for (int x = 0; x < 8; ++x, p += 3) {
                const int r = p[0], g = p[1], b = p[2];
                m.sum[0] += r, m.sum[1] += g, m.sum[2] += b;
                m.squares[0] += r * r, m.squares[1] += g * g, m.squares[2] += b * b;
                m.products[0] += r * g, m.products[1] += r * b, m.products[2] += g * b;
            }
        }
        DitherPairErrors(m, errors);
    }
    const int previousInk = previous & 7;
    const int previousPaper = (previous >> 3) & 7;
    Pair best;
    std::int64_t bestError = std::numeric_limits<std::int64_t>::max();
    std::size_t pair = 0;
    for (int a = 0; a < 8; ++a) {
        for (int b = a + 1; b < 8; ++b) {
            const std::int64_t error = errors[pair++];
            const bool wasShown =
                (a == previousInk && b == previousPaper) || (b == previousInk && a == previousPaper);
            if (error < bestError || (error == bestError && wasShown)) {
                bestError = error;
                best = {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)};
            }
        }
    }
    return best;
}

// Which pixels of a cell take colour b: the nearer one, or (ordered dithering) b where the
// pixel's position between a and b passes the Bayer threshold.
std::uint64_t PictureQuantizer::AssignCell(std::span<const std::uint8_t> rgb, int row, int column,
                                           Pair pair) const {
    std::uint64_t bits = 0;
    int span[3];
    int length = 0;
    for (int c = 0; c < 3; ++c) {
        span[c] = ChannelValue(pair.b, c) - ChannelValue(pair.a, c);
        length += kWeight[c] * span[c] * span[c];
    }
    for (int line = 0; line < 8; ++line) {
        const std::uint8_t* p = PixelAt(rgb, column * 8, row * 8 + line);
        for (int x = 0; x < 8; ++x, p += 3) {
            bool takeB = false;
            if (m_dither == Dither::None) {
                takeB = Distance(p, pair.b) < Distance(p, pair.a);
            } else {
                int along = 0;
                for (int c = 0; c < 3; ++c) {
                    along += kWeight[c] * (p[c] - ChannelValue(pair.a, c)) * span[c];
                }
                // along / length is the position from a (0) to b (1); compared with (m + 0.5) / 64.
                takeB =
                    128 * along >
                    (2 * kBayer[static_cast<std::size_t>(line)][static_cast<std::size_t>(x)] + 1) * length;
            }
            if (takeB) {
                bits |= std::uint64_t{1} << (line * 8 + 7 - x);
            }
        }
    }
    return bits;
}

// Floyd-Steinberg over the picture in serpentine order; each pixel picks the nearer of its cell's
// two colours, and the error (of the value clamped to the channel range) flows on to the
// neighbours in 16ths. No error crosses the picture's edge: the border around it stays black.
void PictureQuantizer::Diffuse(std::span<const std::uint8_t> rgb, const Area& picture) {
    m_bits.fill(0);
    std::fill(m_error.begin(), m_error.end(), ErrorLanes{});
    const int stride = kPictureWidth + 2;
    ErrorLanes* current = m_error.data();
    ErrorLanes* next = m_error.data() + stride;
    const ErrorLanes zero{};
    const ErrorLanes full{255, 255, 255, 0};
    const int left = std::clamp(picture.x, 0, kPictureWidth);
    const int right = std::clamp(picture.x + picture.width, left, kPictureWidth);
    const int top = std::clamp(picture.y, 0, kPictureHeight);
    const int bottom = std::clamp(picture.y + picture.height, top, kPictureHeight);
    for (int y = 0; y < kPictureHeight; ++y) {
        const bool forward = (y & 1) == 0;
        const int step = forward ? 1 : -1;
        const bool rowInside = y >= top && y < bottom;
        for (int n = 0; n < kCellColumns; ++n) {
            const int column = forward ? n : kCellColumns - 1 - n;
            const auto cell = static_cast<std::size_t>((y / 8) * kCellColumns + column);
            const Pair pair = m_pairs[cell];
            ErrorLanes toward{};  // w * (b - a), in units of 255
            ErrorLanes a{};
            ErrorLanes b{};
            for (int c = 0; c < 3; ++c) {
                toward[c] = kWeight[c] * (ChannelBit(pair.b, c) - ChannelBit(pair.a, c));
                a[c] = ChannelValue(pair.a, c);
                b[c] = ChannelValue(pair.b, c);
            }
            // The error along the segment from a to b, per channel: the direction (-1, 0 or 1 per
            // channel) times the weighted sum of the error along it over the weights' sum, which is
            // taken as a multiplication by its reciprocal in 16ths of 16 bits.
            const ErrorLanes direction = (b - a) / 255;
            const int spanWeight =
                toward[0] * direction[0] + toward[1] * direction[1] + toward[2] * direction[2];
            const int reciprocal = (65536 + spanWeight / 2) / spanWeight;
            // With s = sum of w * (b - a) * v over the channels: nearer b when 2s exceeds 255 times
            // the sum of w * (b - a), and the error along the segment is s less its value at the
            // colour taken.
            const int half = 255 * (toward[0] + toward[1] + toward[2]);
            const ErrorLanes atA = toward * a;
            const ErrorLanes atB = toward * b;
            const int sumA = atA[0] + atA[1] + atA[2];
            const int sumB = atB[0] + atB[1] + atB[2];
            std::uint64_t bits = 0;
            for (int k = 0; k < 8; ++k) {
                const int x = column * 8 + (forward ? k : 7 - k);
                const std::uint8_t* p = PixelAt(rgb, x, y);
                ErrorLanes* here = current + x + 1;
                ErrorLanes* below = next + x + 1;
                const bool inside = rowInside && x >= left && x < right;
                ErrorLanes value = inside ? ErrorLanes{p[0], p[1], p[2], 0} + (*here >> 4) : zero;
                value &= ~(value < zero);                                     // clamp below at 0
                value = (value & ~(value > full)) | (full & (value > full));  // and above at 255
                const ErrorLanes weighted = toward * value;
                const int sum = weighted[0] + weighted[1] + weighted[2];
                const bool takeB = 2 * sum > half;
                bits |= std::uint64_t{takeB} << ((y & 7) * 8 + 7 - (x & 7));
                // Only the error along the pair's segment flows on: the part across it is a hue the
                // cell cannot show, and carried on it would pile up (each pixel clamped) and tint
                // the next cells that can.
                const int along = inside ? ((sum - (takeB ? sumB : sumA)) * reciprocal) >> 16 : 0;
                const ErrorLanes e = direction * along;
                here[step] += e * 7;
                below[-step] += e * 3;
                *below += e * 5;
                below[step] += e;
            }
            m_bits[cell] |= bits;
        }
        std::fill(current, current + stride, zero);
        std::swap(current, next);
    }
}

// Writes one cell: decides which colour is ink (keeping the previous attribute where the cell's
// colours allow it), and keeps the previous cell when fewer than the threshold's pixels change.
void PictureQuantizer::PutCell(std::span<const std::uint8_t> rgb, int row, int column, Pair pair,
                               std::uint64_t bits, const Screen& previous, Screen& out) {
    const auto cell = static_cast<std::size_t>(row * kCellColumns + column);
    const std::uint8_t before = previous[kBitmapBytes + cell];
    const int previousInk = before & 7;
    const int previousPaper = (before >> 3) & 7;
    int ink = pair.b;
    int paper = pair.a;
    if (bits == 0 || bits == ~std::uint64_t{0}) {
        const int only = bits == 0 ? pair.a : pair.b;
        if (previousPaper == only || previousInk == only) {
            ink = previousInk, paper = previousPaper;
        } else {
            // The displaced paper stays as ink, so that the cell needs no new attribute when it
            // comes back.
            ink = previousPaper, paper = only;
        }
        bits = ink == only && paper != only ? ~std::uint64_t{0} : 0;
    } else if (previousInk == pair.a || previousPaper == pair.b ||
               (previousInk != pair.b && previousPaper != pair.a && std::popcount(bits) > 32)) {
        ink = pair.a, paper = pair.b;
        bits = ~bits;
    }
    // Pixels whose shown colour changes, counted against the threshold.
    int changed = 0;
    for (int line = 0; line < 8; ++line) {
        const auto now = static_cast<std::uint8_t>(bits >> (line * 8));
        const std::uint8_t was = previous[BitmapOffset(row * 8 + line, column)];
        const auto differs = [](bool d) { return d ? 0xFF : 0; };
        const int diff =
            (now & was & differs(ink != previousInk)) | (now & ~was & differs(ink != previousPaper)) |
            (~now & was & differs(paper != previousInk)) | (~now & ~was & differs(paper != previousPaper));
        changed += std::popcount(static_cast<unsigned>(diff & 0xFF));
    }
    // With a threshold, a cell is also kept while its part of the picture looks as it did when the
    // cell was last drawn, within the threshold's worth of pixels: camera noise moves a dither's
    // dots all over a cell, but hardly the colours seen from a distance.
    const QuarterSums sums = PictureSums(rgb, row, column);
    QuarterSums& drawn = m_drawn[cell];
    const bool still =
        m_threshold > 0 && m_haveDrawn && SeenDifference(sums, drawn) <= m_threshold * kPixelSeen;
    const bool keep = changed == 0 || changed < m_threshold || still;
    if (!keep || !m_haveDrawn) {
        drawn = sums;
    }
    for (int line = 0; line < 8; ++line) {
        const std::size_t at = BitmapOffset(row * 8 + line, column);
        out[at] = keep ? previous[at] : static_cast<std::uint8_t>(bits >> (line * 8));
    }
    out[kBitmapBytes + cell] = keep ? before : static_cast<std::uint8_t>(paper << 3 | ink);
}

}  // namespace qzm::encoder
