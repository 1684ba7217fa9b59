#include "picture_quantizer.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace qzm::encoder {
namespace {

// Channel weights of the colour distance (red, green, blue): green counts most, blue least, a
// cheap stand-in for how strongly the eye sees each channel.
constexpr int kWeight[3] = {3, 4, 2};
constexpr int kMid = 128;  // a pixel half way between two colours, as dithering mixes them

// Channel c (0 red, 1 green, 2 blue) of Spectrum colour k: bit 1 red, bit 2 green, bit 0 blue.
constexpr int ChannelBit(int k, int c) {
    return c == 0 ? (k >> 1) & 1 : c == 1 ? (k >> 2) & 1 : k & 1;
}
constexpr int ChannelValue(int k, int c) {
    return ChannelBit(k, c) * 255;
}
// Index among the 27 colours with channel levels 0, 128, 255; `levels` per channel are 0-2.
constexpr int LevelIndex(int r, int g, int b) {
    return r * 9 + g * 3 + b;
}
constexpr int CornerIndex(int k) {
    return LevelIndex(2 * ChannelBit(k, 0), 2 * ChannelBit(k, 1), 2 * ChannelBit(k, 2));
}
constexpr int MidIndex(int a, int b) {
    return LevelIndex(ChannelBit(a, 0) + ChannelBit(b, 0), ChannelBit(a, 1) + ChannelBit(b, 1),
                      ChannelBit(a, 2) + ChannelBit(b, 2));
}

int Distance(const std::uint8_t* p, int k) {
    int sum = 0;
    for (int c = 0; c < 3; ++c) {
        const int d = p[c] - ChannelValue(k, c);
        sum += kWeight[c] * d * d;
    }
    return sum;
}

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

// The summed error of each of the 28 pairs of colours (a < b, in order) over a cell's 64 pixels.
// Built for AVX2 as well, picked at run time; not under the address sanitizer, whose start-up the
// run-time pick would precede.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QZM_ENCODER_NO_CLONES
#endif
#endif
#if defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__) && !defined(QZM_ENCODER_NO_CLONES)
__attribute__((target_clones("avx2", "default")))
#endif
void PairErrors(const Values& values, bool mixes, std::array<int, 28>& errors) {
    // Weighted squared distance of each channel value to the levels 0, 128 and 255, scaled down by
    // 32 so that the sum over three channels fits in 15 bits.
    std::array<std::array<Row, 3>, 3> channel;  // [channel][level][pixel]
    for (std::size_t c = 0; c < 3; ++c) {
        const auto w = static_cast<std::uint16_t>(kWeight[c]);
        for (std::size_t i = 0; i < 64; ++i) {
            const std::uint16_t v = values[c][i];
            const auto up = static_cast<std::uint16_t>(255 - v);
            const auto mid = static_cast<std::uint16_t>(v >= kMid ? v - kMid : kMid - v);
            channel[c][0][i] = static_cast<std::int16_t>(w * static_cast<std::uint16_t>((v * v) >> 5));
            channel[c][1][i] = static_cast<std::int16_t>(w * static_cast<std::uint16_t>((mid * mid) >> 5));
            channel[c][2][i] = static_cast<std::int16_t>(w * static_cast<std::uint16_t>((up * up) >> 5));
        }
    }
    std::array<Row, 27> distance;
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t g = 0; g < 3; ++g) {
            for (std::size_t b = 0; b < 3; ++b) {
                if (!mixes && (r == 1 || g == 1 || b == 1)) {
                    continue;
                }
                Row& d = distance[r * 9 + g * 3 + b];
                for (std::size_t i = 0; i < 64; ++i) {
                    d[i] = static_cast<std::int16_t>(channel[0][r][i] + channel[1][g][i] + channel[2][b][i]);
                }
            }
        }
    }
    std::size_t pair = 0;
    for (int a = 0; a < 8; ++a) {
        for (int b = a + 1; b < 8; ++b) {
            const Row& da = distance[static_cast<std::size_t>(CornerIndex(a))];
            const Row& db = distance[static_cast<std::size_t>(CornerIndex(b))];
            int error = 0;
            if (mixes) {
                const Row& dm = distance[static_cast<std::size_t>(MidIndex(a, b))];
                for (std::size_t i = 0; i < 64; ++i) {
                    const std::int16_t m = da[i] < db[i] ? da[i] : db[i];
                    error += m < dm[i] ? m : dm[i];
                }
            } else {
                for (std::size_t i = 0; i < 64; ++i) {
                    error += da[i] < db[i] ? da[i] : db[i];
                }
            }
            errors[pair++] = error;
        }
    }
}

}  // namespace

PictureQuantizer::PictureQuantizer(Dither dither, int threshold) : m_dither(dither), m_threshold(threshold) {
    if (dither == Dither::Diffusion) {
        m_error.assign(2 * (kPictureWidth + 2), ErrorLanes{});
    }
}

void PictureQuantizer::Quantize(std::span<const std::uint8_t> rgb, const Screen& previous, Screen& out) {
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
        Diffuse(rgb);
    }
    for (int row = 0; row < kCellRows; ++row) {
        for (int column = 0; column < kCellColumns; ++column) {
            const auto cell = static_cast<std::size_t>(row * kCellColumns + column);
            PutCell(row, column, m_pairs[cell], m_bits[cell], previous, out);
        }
    }
}

// The pair of colours with the least summed error, each pixel taking the nearer of the two (or,
// when dithering, their half-way mix). Ties keep the cell's previous colours. Distances are kept in
// 16 bits (scaled down by 32) so that the sums over a cell's 64 pixels vectorise well.
PictureQuantizer::Pair PictureQuantizer::ChoosePair(std::span<const std::uint8_t> rgb, int row, int column,
                                                    std::uint8_t previous) const {
    Values values;
    for (int line = 0; line < 8; ++line) {
        const std::uint8_t* p = PixelAt(rgb, column * 8, row * 8 + line);
        for (int x = 0; x < 8; ++x, p += 3) {
            for (std::size_t c = 0; c < 3; ++c) {
                values[c][static_cast<std::size_t>(line * 8 + x)] = p[c];
            }
        }
    }
    std::array<int, 28> errors;
    PairErrors(values, m_dither != Dither::None, errors);
    const int previousInk = previous & 7;
    const int previousPaper = (previous >> 3) & 7;
    Pair best;
    int bestError = std::numeric_limits<int>::max();
    std::size_t pair = 0;
    for (int a = 0; a < 8; ++a) {
        for (int b = a + 1; b < 8; ++b) {
            const int error = errors[pair++];
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

// Floyd-Steinberg over the whole picture in serpentine order; each pixel picks the nearer of its
// cell's two colours, and the error (of the value clamped to the channel range) flows on to the
// neighbours in 16ths.
void PictureQuantizer::Diffuse(std::span<const std::uint8_t> rgb) {
    m_bits.fill(0);
    std::fill(m_error.begin(), m_error.end(), ErrorLanes{});
    const int stride = kPictureWidth + 2;
    ErrorLanes* current = m_error.data();
    ErrorLanes* next = m_error.data() + stride;
    const ErrorLanes zero{};
    const ErrorLanes top{255, 255, 255, 0};
    for (int y = 0; y < kPictureHeight; ++y) {
        const bool forward = (y & 1) == 0;
        const int step = forward ? 1 : -1;
        for (int n = 0; n < kCellColumns; ++n) {
            const int column = forward ? n : kCellColumns - 1 - n;
            const auto cell = static_cast<std::size_t>((y / 8) * kCellColumns + column);
            const Pair pair = m_pairs[cell];
            // Nearer to b than to a: the sum of w * (b - a) * (2v - 255) over the channels where
            // they differ is positive.
            ErrorLanes toward{};
            ErrorLanes a{};
            ErrorLanes b{};
            for (int c = 0; c < 3; ++c) {
                toward[c] = kWeight[c] * (ChannelBit(pair.b, c) - ChannelBit(pair.a, c));
                a[c] = ChannelValue(pair.a, c);
                b[c] = ChannelValue(pair.b, c);
            }
            std::uint64_t bits = 0;
            for (int k = 0; k < 8; ++k) {
                const int x = column * 8 + (forward ? k : 7 - k);
                const std::uint8_t* p = PixelAt(rgb, x, y);
                ErrorLanes* here = current + x + 1;
                ErrorLanes* below = next + x + 1;
                ErrorLanes value = ErrorLanes{p[0], p[1], p[2], 0} + (*here >> 4);
                value &= ~(value < zero);                                  // clamp below at 0
                value = (value & ~(value > top)) | (top & (value > top));  // and above at 255
                const ErrorLanes dot = toward * (value + value - top);
                const bool takeB = dot[0] + dot[1] + dot[2] > 0;
                bits |= std::uint64_t{takeB} << ((y & 7) * 8 + 7 - (x & 7));
                const ErrorLanes e = value - (takeB ? b : a);
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
void PictureQuantizer::PutCell(int row, int column, Pair pair, std::uint64_t bits, const Screen& previous,
                               Screen& out) const {
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
    const bool keep = changed == 0 || changed < m_threshold;
    for (int line = 0; line < 8; ++line) {
        const std::size_t at = BitmapOffset(row * 8 + line, column);
        out[at] = keep ? previous[at] : static_cast<std::uint8_t>(bits >> (line * 8));
    }
    out[kBitmapBytes + cell] = keep ? before : static_cast<std::uint8_t>(paper << 3 | ink);
}

}  // namespace qzm::encoder
