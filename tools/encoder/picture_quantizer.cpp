#include "picture_quantizer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <numeric>

#include "seen_cell_error.h"
#include "vector_clones.h"

namespace qzm::encoder {
namespace {

constexpr int kWeight[3] = {kChannelWeight[0], kChannelWeight[1], kChannelWeight[2]};

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

// Ordered dithering tries the best few pairs with the Bayer matrix as it stands, then the best of
// them with the matrix shifted by these offsets (line, pixel): the same pattern for a flat colour,
// but placed to follow the picture's edges and texture where the cell has some.
constexpr std::array<std::array<int, 2>, 8> kBayerShifts{
    {{0, 0}, {4, 4}, {0, 4}, {4, 0}, {2, 2}, {6, 6}, {2, 6}, {6, 2}}};
constexpr std::size_t kOrderedCandidates = 3;
// Diffusion shows every mix along the pair's segment; of its two best pairs by the line through
// their colours, the one nearer along the segment itself (ends included) is taken.
constexpr std::size_t kDiffusionCandidates = 2;

// Per shifted matrix, each pixel's threshold (m + 0.5) / 64, doubled: 2m + 1.
constexpr std::array<std::array<int, 64>, 8> kThresholds = [] {
    std::array<std::array<int, 64>, 8> t{};
    for (std::size_t s = 0; s < kBayerShifts.size(); ++s) {
        for (std::size_t i = 0; i < 64; ++i) {
            const auto line = (i / 8 + static_cast<std::size_t>(kBayerShifts[s][0])) & 7;
            const auto x = (i % 8 + static_cast<std::size_t>(kBayerShifts[s][1])) & 7;
            t[s][i] = 2 * kBayer[line][x] + 1;
        }
    }
    return t;
}();

const std::uint8_t* PixelAt(std::span<const std::uint8_t> rgb, int x, int y) {
    return rgb.data() + (static_cast<std::size_t>(y) * kPictureWidth + static_cast<std::size_t>(x)) * 3;
}

// The 28 pairs of colours (a < b) in the order of the error tables, and what the closed-form
// errors need of each. The errors are scaled by 630 (a multiple of every sum of weights) to stay
// whole numbers.
constexpr std::int64_t kClosedFormScale = 630;
constexpr int kFirst[3] = {0, 0, 1};  // the channel pairs of Moments::products
constexpr int kSecond[3] = {1, 2, 2};
struct PairTerms {
    int a = 0;
    int b = 0;
    std::array<int, 3> direction{};             // b - a per channel: -1, 0 or 1
    int spanWeight = 0;                         // the weights' sum over the channels where a and b differ
    std::array<std::int64_t, 3> levelScale{};   // scaled w, where a and b agree (else 0) ...
    std::array<int, 3> level{};                 // ... on this level (0: 0, 1: 255)
    std::array<std::int64_t, 3> spreadScale{};  // scaled w_i w_j / spanWeight, where both differ
    std::array<int, 3> flipped{};               // a is high in one of the two channels, low in the other
    int channels = 0;                           // in which a and b differ
};

constexpr std::array<PairTerms, 28> kPairs = [] {
    std::array<PairTerms, 28> pairs{};
    std::size_t n = 0;
    for (int a = 0; a < 8; ++a) {
        for (int b = a + 1; b < 8; ++b) {
            PairTerms& t = pairs[n++];
            t.a = a, t.b = b;
            for (std::size_t c = 0; c < 3; ++c) {
                const int ca = ChannelBit(a, static_cast<int>(c));
                t.direction[c] = ChannelBit(b, static_cast<int>(c)) - ca;
                t.spanWeight += t.direction[c] != 0 ? kWeight[c] : 0;
                t.channels += t.direction[c] != 0 ? 1 : 0;
                t.levelScale[c] = t.direction[c] == 0 ? kClosedFormScale * kWeight[c] : 0;
                t.level[c] = ca;
            }
            for (std::size_t p = 0; p < 3; ++p) {
                const auto i = static_cast<std::size_t>(kFirst[p]);
                const auto j = static_cast<std::size_t>(kSecond[p]);
                if (t.direction[i] != 0 && t.direction[j] != 0) {
                    t.spreadScale[p] = kClosedFormScale * kWeight[i] * kWeight[j] / t.spanWeight;
                    t.flipped[p] = ChannelBit(a, kFirst[p]) != ChannelBit(a, kSecond[p]) ? 1 : 0;
                }
            }
        }
    }
    return pairs;
}();

using Row = std::array<std::int16_t, 64>;

// The summed error of each of the 28 pairs of colours (a < b, in order) over a cell's 64 pixels,
// each pixel taking the nearer of the two.
QZM_VECTOR_CLONES void NearestPairErrors(const CellPixels& values, std::array<std::int64_t, 28>& errors) {
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
// from a towards b, it is the weighted spread of u about its weighted mean (the line through a and
// b; clamping to the segment is left to the candidates' trial). Summed over the cell, both follow
// from the sums of the values, their squares and their products, so the 28 pairs cost a handful of
// operations each.
struct Moments {
    std::array<std::int64_t, 3> sum{};       // of v, per channel
    std::array<std::int64_t, 3> squares{};   // of v * v
    std::array<std::int64_t, 3> products{};  // of v_i * v_j for the channel pairs (0, 1), (0, 2), (1, 2)
};
constexpr std::int64_t kCount = 64;

QZM_VECTOR_CLONES Moments CellMoments(const CellPixels& pixels) {
    Moments m;
    for (std::size_t c = 0; c < 3; ++c) {
        for (std::size_t i = 0; i < 64; ++i) {
            m.sum[c] += pixels[c][i];
            m.squares[c] += pixels[c][i] * pixels[c][i];
        }
    }
    for (std::size_t p = 0; p < 3; ++p) {
        const auto& u = pixels[static_cast<std::size_t>(kFirst[p])];
        const auto& v = pixels[static_cast<std::size_t>(kSecond[p])];
        for (std::size_t i = 0; i < 64; ++i) {
            m.products[p] += u[i] * v[i];
        }
    }
    return m;
}

void SegmentPairErrors(const Moments& m, std::array<std::int64_t, 28>& errors) {
    constexpr std::int64_t kTop = 255;
    // Per channel: summed squared distance to 0 and to 255. Per channel pair: summed (u_i - u_j)^2
    // when both are measured the same way, and when one is measured from the other end.
    std::array<std::array<std::int64_t, 2>, 3> level{};
    std::array<std::array<std::int64_t, 2>, 3> spread{};
    for (std::size_t c = 0; c < 3; ++c) {
        level[c][0] = m.squares[c];
        level[c][1] = kCount * kTop * kTop - 2 * kTop * m.sum[c] + m.squares[c];
    }
    for (std::size_t p = 0; p < 3; ++p) {
        const auto i = static_cast<std::size_t>(kFirst[p]);
        const auto j = static_cast<std::size_t>(kSecond[p]);
        spread[p][0] = m.squares[i] + m.squares[j] - 2 * m.products[p];
        spread[p][1] = m.squares[i] + m.squares[j] + 2 * m.products[p] - 2 * kTop * (m.sum[i] + m.sum[j]) +
                       kCount * kTop * kTop;
    }
    for (std::size_t n = 0; n < kPairs.size(); ++n) {
        const PairTerms& t = kPairs[n];
        std::int64_t error = 0;
        for (std::size_t c = 0; c < 3; ++c) {
            error += t.levelScale[c] * level[c][static_cast<std::size_t>(t.level[c])];
            error += t.spreadScale[c] * spread[c][static_cast<std::size_t>(t.flipped[c])];
        }
        errors[n] = error;
    }
}

// What a pair costs beyond its distance: the channels in which its dither would turn the cell's
// texture over. Along a pair's segment a channel rises where the pair's colours differ, falling
// where b has less of it than a; a pixel brighter in every channel is shown, by red and cyan,
// redder-darker in red. A dithered channel running against the picture's own is what the eye (and
// SSIM) notices most in a photograph, so each such channel costs `weight` times its covariance
// with the picture's, where a pixel-by-pixel error counts it once. Ordered dithering's pattern is
// coarser than diffusion's, and shows such a channel more.
constexpr double kOrderedInversionWeight = 150;
constexpr double kDiffusionInversionWeight = 30;

void InversionPenalties(const Moments& m, double weight, std::array<double, 28>& penalties) {
    // The deviations' sums of products, times the pixel count: [channel][channel].
    std::array<std::array<double, 3>, 3> texture{};
    for (std::size_t c = 0; c < 3; ++c) {
        texture[c][c] = static_cast<double>(m.squares[c] * kCount - m.sum[c] * m.sum[c]);
    }
    for (std::size_t p = 0; p < 3; ++p) {
        const auto i = static_cast<std::size_t>(kFirst[p]);
        const auto j = static_cast<std::size_t>(kSecond[p]);
        texture[i][j] = texture[j][i] = static_cast<double>(m.products[p] * kCount - m.sum[i] * m.sum[j]);
    }
    for (std::size_t n = 0; n < kPairs.size(); ++n) {
        const PairTerms& t = kPairs[n];
        if (t.channels < 2) {
            penalties[n] = 0;  // a lone channel never inverts
            continue;
        }
        // A pixel's place along the segment follows sum_j w_j d_j v_j; channel c of the dither
        // then varies with d_c times that, whose covariance with the picture's channel c is
        // d_c sum_j w_j d_j texture[c][j] (over the weights' sum).
        double penalty = 0;
        for (std::size_t c = 0; c < 3; ++c) {
            double covariance = 0;
            for (std::size_t j = 0; j < 3; ++j) {
                covariance += kWeight[j] * t.direction[j] * texture[c][j];
            }
            penalty += kWeight[c] * std::max(0.0, -t.direction[c] * covariance);
        }
        // In the units of SegmentPairErrors: scaled, over the weights' sum and the pixel count.
        penalties[n] = 2 * weight * kClosedFormScale * penalty / (t.spanWeight * kCount);
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

// Where each pixel of a cell lies along the segment from a to b, as along / length (0 at a, 1 at b).
struct Positions {
    std::array<int, 64> along{};
    int length = 0;
};

QZM_VECTOR_CLONES Positions PositionsOn(const CellPixels& pixels, const PairTerms& t) {
    Positions p;
    for (std::size_t c = 0; c < 3; ++c) {
        const int step = kWeight[c] * 255 * t.direction[c];  // w (b - a)
        const int from = ChannelValue(t.a, static_cast<int>(c));
        p.length += step * 255 * t.direction[c];
        for (std::size_t i = 0; i < 64; ++i) {
            p.along[i] += step * (pixels[c][i] - from);
        }
    }
    return p;
}

// The pixels that take b under the Bayer matrix shifted by kBayerShifts[shift]: those whose
// position along / length passes their threshold (m + 0.5) / 64.
QZM_VECTOR_CLONES std::uint64_t BayerBits(const Positions& p, std::size_t shift) {
    std::array<std::uint8_t, 64> takeB;
    for (std::size_t i = 0; i < 64; ++i) {
        takeB[i] = 128 * p.along[i] > kThresholds[shift][i] * p.length ? 1 : 0;
    }
    // Each line's eight flags into a byte, the first pixel in the highest bit: one multiplication
    // gathers the low bit of each of the eight bytes into the top byte, in the order they lie in.
    constexpr std::uint64_t kGather =
        std::endian::native == std::endian::little ? 0x8040201008040201 : 0x0102040810204080;
    std::uint64_t bits = 0;
    for (std::size_t line = 0; line < 8; ++line) {
        std::uint64_t flags = 0;
        std::memcpy(&flags, takeB.data() + line * 8, 8);
        bits |= ((flags * kGather) >> 56) << (line * 8);
    }
    return bits;
}

// The summed error of the cell's pixels against their nearest mixes of a and b, ends included.
QZM_VECTOR_CLONES float SegmentError(const CellPixels& pixels, const PairTerms& t) {
    const Positions p = PositionsOn(pixels, t);
    const float perLength = 1.0f / static_cast<float>(p.length);
    std::array<float, 64> share;
    for (std::size_t i = 0; i < 64; ++i) {
        share[i] = static_cast<float>(std::clamp(p.along[i], 0, p.length)) * perLength;
    }
    std::array<float, 64> error{};  // per pixel, so that the sum vectorises
    for (std::size_t c = 0; c < 3; ++c) {
        const auto from = static_cast<float>(ChannelValue(t.a, static_cast<int>(c)));
        const auto step = static_cast<float>(255 * t.direction[c]);
        const auto weight = static_cast<float>(kWeight[c]);
        for (std::size_t i = 0; i < 64; ++i) {
            const float d = pixels[c][i] - from - step * share[i];
            error[i] += weight * d * d;
        }
    }
    return std::accumulate(error.begin(), error.end(), 0.0f);
}

// Without dithering, the pixels nearer b than a.
std::uint64_t NearestBits(const CellPixels& pixels, const PairTerms& t) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < 64; ++i) {
        int nearerB = 0;  // distance to a less distance to b
        for (std::size_t c = 0; c < 3; ++c) {
            const int v = pixels[c][i];
            const int da = v - ChannelValue(t.a, static_cast<int>(c));
            const int db = v - ChannelValue(t.b, static_cast<int>(c));
            nearerB += kWeight[c] * (da * da - db * db);
        }
        bits |= std::uint64_t{nearerB > 0} << ((i & ~std::size_t{7}) + 7 - (i & 7));
    }
    return bits;
}

// Each pair's closed-form error and texture penalty, in the same scaled units.
struct Scores {
    std::array<std::int64_t, 28> errors{};
    std::array<double, 28> penalties{};
    double Of(std::size_t n) const { return static_cast<double>(errors[n]) + penalties[n]; }
};

// The best `count` pairs by score, best first, the cell's previous colours first among equals.
using Ranking = std::array<std::size_t, kOrderedCandidates>;

Ranking Rank(const Scores& scores, std::uint8_t previous, std::size_t count) {
    const int ink = previous & 7;
    const int paper = (previous >> 3) & 7;
    const auto shown = [&](std::size_t n) {
        return (kPairs[n].a == ink && kPairs[n].b == paper) || (kPairs[n].b == ink && kPairs[n].a == paper);
    };
    std::array<double, 28> of;
    for (std::size_t n = 0; n < of.size(); ++n) {
        of[n] = scores.Of(n);
    }
    const auto before = [&](std::size_t x, std::size_t y) {
        return of[x] < of[y] || (of[x] == of[y] && shown(x) && !shown(y));
    };
    Ranking ranked{};
    std::size_t filled = 0;
    for (std::size_t n = 0; n < kPairs.size(); ++n) {
        std::size_t at = filled;
        for (; at > 0 && before(n, ranked[at - 1]); --at) {
            if (at < count) {
                ranked[at] = ranked[at - 1];
            }
        }
        if (at < count) {
            ranked[at] = n;
            filled = std::min(filled + 1, count);
        }
    }
    return ranked;
}

// The trials below are in units of the weighted squared error; the first-ranked pair (and the
// matrix unshifted) is kept unless another is clearly better, by more than float rounding could
// make up: a near tie keeps what the cell showed before.
constexpr double kTrialTolerance = 64;

// Diffusion: of the candidates, the pair nearest along its segment itself (ends included), with
// its texture penalty.
std::size_t NearestOnSegment(const CellPixels& pixels, const Scores& scores, const Ranking& ranked) {
    std::size_t best = ranked[0];
    double bestScore = 0;
    for (std::size_t k = 0; k < kDiffusionCandidates; ++k) {
        const std::size_t n = ranked[k];
        // The segment is never nearer than the line through it: a candidate whose score on the
        // line already loses needs no trial.
        if (k > 0 && scores.Of(n) / kClosedFormScale >= bestScore - kTrialTolerance) {
            continue;
        }
        const double score = SegmentError(pixels, kPairs[n]) + scores.penalties[n] / kClosedFormScale;
        if (k == 0 || score < bestScore - kTrialTolerance) {
            best = n, bestScore = score;
        }
    }
    return best;
}

// Ordered dithering: of the candidates, the pair and shifted Bayer matrix whose pattern has the
// least blurred error added to the pair's score (so that a fine grain is not quite free: a few
// pixels' blur hides a checkerboard entirely, which the eye close up does not). The candidates
// are tried with the matrix as it stands, then the best of them with each shift.
struct Pattern {
    std::size_t pair = 0;
    std::uint64_t bits = 0;
};

Pattern BestPattern(const CellPixels& pixels, const Scores& scores, const Ranking& ranked) {
    SeenCellError seen(pixels);
    Pattern best;
    Positions bestPositions;
    double bestScore = 0;
    for (std::size_t k = 0; k < kOrderedCandidates; ++k) {
        const std::size_t n = ranked[k];
        const Positions positions = PositionsOn(pixels, kPairs[n]);
        const std::uint64_t bits = BayerBits(positions, 0);
        seen.SetPair(kPairs[n].a, kPairs[n].b);
        const double score = seen(bits) + scores.Of(n) / kClosedFormScale;
        if (k == 0 || score < bestScore - kTrialTolerance) {
            best = {n, bits}, bestPositions = positions, bestScore = score;
        }
    }
    if (best.pair != ranked[kOrderedCandidates - 1]) {
        seen.SetPair(kPairs[best.pair].a, kPairs[best.pair].b);
    }
    // A shift often gives a pattern already tried (a flat colour's is the same wherever it starts).
    std::array<std::uint64_t, kBayerShifts.size()> tried{best.bits};
    for (std::size_t shift = 1; shift < kBayerShifts.size(); ++shift) {
        const std::uint64_t bits = BayerBits(bestPositions, shift);
        tried[shift] = bits;
        if (std::find(tried.begin(), tried.begin() + static_cast<std::ptrdiff_t>(shift), bits) !=
            tried.begin() + static_cast<std::ptrdiff_t>(shift)) {
            continue;
        }
        const double score = seen(bits) + scores.Of(best.pair) / kClosedFormScale;
        if (score < bestScore - kTrialTolerance) {
            best.bits = bits, bestScore = score;
        }
    }
    return best;
}

}  // namespace

PictureQuantizer::PictureQuantizer(Dither dither, int threshold) : m_dither(dither), m_threshold(threshold) {
    if (dither == Dither::Diffusion) {
        m_error.assign(2 * (kPictureWidth + 2), ErrorLanes{});
    }
}

void PictureQuantizer::Quantize(std::span<const std::uint8_t> rgb, const Screen& previous, Screen& out,
                                const Area& picture) {
    const bool diffusion = m_dither == Dither::Diffusion;
    if (diffusion) {
        std::fill(m_error.begin(), m_error.end(), ErrorLanes{});
    }
    // A row of cells at a time: diffusion chooses each cell's colours with the error carried into
    // the row from the one above.
    for (int row = 0; row < kCellRows; ++row) {
        for (int column = 0; column < kCellColumns; ++column) {
            const auto cell = static_cast<std::size_t>(row * kCellColumns + column);
            const Choice choice = Choose(Gather(rgb, row, column, picture), previous[kBitmapBytes + cell]);
            m_pairs[cell] = choice.pair;
            m_bits[cell] = choice.bits;
        }
        if (diffusion) {
            DiffuseRow(rgb, picture, row);
        }
    }
    for (int row = 0; row < kCellRows; ++row) {
        for (int column = 0; column < kCellColumns; ++column) {
            const auto cell = static_cast<std::size_t>(row * kCellColumns + column);
            PutCell(rgb, row, column, m_pairs[cell], m_bits[cell], previous, out);
        }
    }
    m_haveDrawn = true;
}

// The cell's pixels; for diffusion its first line with the error carried into it from above,
// inside the picture.
CellPixels PictureQuantizer::Gather(std::span<const std::uint8_t> rgb, int row, int column,
                                    const Area& picture) const {
    CellPixels pixels;
    for (int line = 0; line < 8; ++line) {
        const std::uint8_t* p = PixelAt(rgb, column * 8, row * 8 + line);
        for (std::size_t x = 0; x < 8; ++x, p += 3) {
            for (std::size_t c = 0; c < 3; ++c) {
                pixels[c][static_cast<std::size_t>(line) * 8 + x] = p[c];
            }
        }
    }
    const int y = row * 8;
    if (m_dither != Dither::Diffusion || y < picture.y || y >= picture.y + picture.height) {
        return pixels;
    }
    for (int x = 0; x < 8; ++x) {
        const int at = column * 8 + x;
        if (at >= picture.x && at < picture.x + picture.width) {
            const ErrorLanes carried = m_error[static_cast<std::size_t>(at + 1)] >> 4;
            for (std::size_t c = 0; c < 3; ++c) {
                auto& v = pixels[c][static_cast<std::size_t>(x)];
                v = static_cast<std::uint8_t>(std::clamp(v + carried[c], 0, 255));
            }
        }
    }
    return pixels;
}

// The cell's colours, and which pixels take b (diffusion decides them later).
PictureQuantizer::Choice PictureQuantizer::Choose(const CellPixels& pixels, std::uint8_t previous) const {
    const auto pairOf = [](std::size_t n) {
        return Pair{static_cast<std::uint8_t>(kPairs[n].a), static_cast<std::uint8_t>(kPairs[n].b)};
    };
    Scores scores;
    if (m_dither == Dither::None) {
        NearestPairErrors(pixels, scores.errors);
        const std::size_t n = Rank(scores, previous, 1)[0];
        return {pairOf(n), NearestBits(pixels, kPairs[n])};
    }
    const Moments m = CellMoments(pixels);
    SegmentPairErrors(m, scores.errors);
    if (m_dither == Dither::Diffusion) {
        InversionPenalties(m, kDiffusionInversionWeight, scores.penalties);
        return {pairOf(NearestOnSegment(pixels, scores, Rank(scores, previous, kDiffusionCandidates))), 0};
    }
    InversionPenalties(m, kOrderedInversionWeight, scores.penalties);
    const Pattern pattern = BestPattern(pixels, scores, Rank(scores, previous, kOrderedCandidates));
    return {pairOf(pattern.pair), pattern.bits};
}

// Floyd-Steinberg over one row of cells in serpentine order; each pixel picks the nearer of its
// cell's two colours. Within a cell only the error along the pair's segment flows on: the part
// across it is a hue the cell cannot show, and kept within it would pile up (each pixel clamped).
// Into another cell the whole error flows, where the pair may show it (the next row's pairs are
// chosen with it). No error crosses the picture's edge: the border around it stays black.
// The error rows alternate between the two halves of m_error; after a row of cells' eight lines
// the first half holds the error carried into the next row.
void PictureQuantizer::DiffuseRow(std::span<const std::uint8_t> rgb, const Area& picture, int row) {
    const int stride = kPictureWidth + 2;
    ErrorLanes* current = m_error.data();
    ErrorLanes* next = m_error.data() + stride;
    const ErrorLanes zero{};
    const ErrorLanes full{255, 255, 255, 0};
    const int left = std::clamp(picture.x, 0, kPictureWidth);
    const int right = std::clamp(picture.x + picture.width, left, kPictureWidth);
    const int top = std::clamp(picture.y, 0, kPictureHeight);
    const int bottom = std::clamp(picture.y + picture.height, top, kPictureHeight);
    for (int y = row * 8; y < row * 8 + 8; ++y) {
        const bool forward = (y & 1) == 0;
        const int step = forward ? 1 : -1;
        const bool rowInside = y >= top && y < bottom;
        const bool lastLine = (y & 7) == 7;
        for (int n = 0; n < kCellColumns; ++n) {
            const int column = forward ? n : kCellColumns - 1 - n;
            const auto cell = static_cast<std::size_t>(row * kCellColumns + column);
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
                const int along = inside ? ((sum - (takeB ? sumB : sumA)) * reciprocal) >> 16 : 0;
                const ErrorLanes within = direction * along;
                if (k == 0 || k == 7 || lastLine) {
                    const ErrorLanes whole = inside ? value - (takeB ? b : a) : zero;
                    here[step] += (k == 7 ? whole : within) * 7;
                    below[-step] += (lastLine || k == 0 ? whole : within) * 3;
                    *below += (lastLine ? whole : within) * 5;
                    below[step] += lastLine || k == 7 ? whole : within;
                } else {
                    here[step] += within * 7;
                    below[-step] += within * 3;
                    *below += within * 5;
                    below[step] += within;
                }
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
