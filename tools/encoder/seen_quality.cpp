#include "seen_quality.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace qzm::encoder {
namespace {

constexpr int kWidth = kPictureWidth;
constexpr int kHeight = kPictureHeight;
constexpr int kPixels = kWidth * kHeight;
constexpr double kSigma = 1.5;
constexpr int kRadius = 5;  // the kernel's weights past 3.3 sigma are negligible

using Plane = std::vector<double>;

std::array<double, 2 * kRadius + 1> Kernel() {
    std::array<double, 2 * kRadius + 1> k{};
    double sum = 0;
    for (int i = -kRadius; i <= kRadius; ++i) {
        k[static_cast<std::size_t>(i + kRadius)] = std::exp(-i * i / (2 * kSigma * kSigma));
        sum += k[static_cast<std::size_t>(i + kRadius)];
    }
    for (double& w : k) {
        w /= sum;
    }
    return k;
}

// Gaussian blur, rows then columns, the picture's edge pixels repeated outwards.
Plane Blur(const Plane& in) {
    static const auto kernel = Kernel();
    Plane rows(kPixels);
    Plane out(kPixels);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            double sum = 0;
            for (int i = -kRadius; i <= kRadius; ++i) {
                const int sx = std::clamp(x + i, 0, kWidth - 1);
                sum += kernel[static_cast<std::size_t>(i + kRadius)] *
                       in[static_cast<std::size_t>(y * kWidth + sx)];
            }
            rows[static_cast<std::size_t>(y * kWidth + x)] = sum;
        }
    }
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            double sum = 0;
            for (int i = -kRadius; i <= kRadius; ++i) {
                const int sy = std::clamp(y + i, 0, kHeight - 1);
                sum += kernel[static_cast<std::size_t>(i + kRadius)] *
                       rows[static_cast<std::size_t>(sy * kWidth + x)];
            }
            out[static_cast<std::size_t>(y * kWidth + x)] = sum;
        }
    }
    return out;
}

Plane Channel(std::span<const std::uint8_t> rgb, int c) {
    Plane p(kPixels);
    for (std::size_t i = 0; i < p.size(); ++i) {
        p[i] = rgb[i * 3 + static_cast<std::size_t>(c)];
    }
    return p;
}

Plane Product(const Plane& a, const Plane& b) {
    Plane p(a.size());
    for (std::size_t i = 0; i < p.size(); ++i) {
        p[i] = a[i] * b[i];
    }
    return p;
}

}  // namespace

SeenQuality MeasureSeen(std::span<const std::uint8_t> reference, std::span<const std::uint8_t> picture,
                        const Area& area) {
    const std::size_t bytes = std::size_t{kPixels} * 3;
    const int x0 = std::clamp(area.x, 0, kWidth);
    const int y0 = std::clamp(area.y, 0, kHeight);
    const int x1 = std::clamp(area.x + area.width, x0, kWidth);
    const int y1 = std::clamp(area.y + area.height, y0, kHeight);
    const double count = static_cast<double>(x1 - x0) * (y1 - y0);
    if (reference.size() < bytes || picture.size() < bytes || count == 0) {
        return {};
    }
    // SSIM's constants for 8-bit values, and its window: the same Gaussian of sigma 1.5.
    constexpr double kC1 = (0.01 * 255) * (0.01 * 255);
    constexpr double kC2 = (0.03 * 255) * (0.03 * 255);
    double squared = 0;
    double ssim = 0;
    for (int c = 0; c < 3; ++c) {
        const Plane a = Blur(Channel(reference, c));
        const Plane b = Blur(Channel(picture, c));
        const Plane ma = Blur(a);
        const Plane mb = Blur(b);
        const Plane aa = Blur(Product(a, a));
        const Plane bb = Blur(Product(b, b));
        const Plane ab = Blur(Product(a, b));
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const auto i = static_cast<std::size_t>(y * kWidth + x);
                const double d = a[i] - b[i];
                squared += d * d;
                const double va = aa[i] - ma[i] * ma[i];
                const double vb = bb[i] - mb[i] * mb[i];
                const double cov = ab[i] - ma[i] * mb[i];
                ssim += (2 * ma[i] * mb[i] + kC1) * (2 * cov + kC2) /
                        ((ma[i] * ma[i] + mb[i] * mb[i] + kC1) * (va + vb + kC2));
            }
        }
    }
    const double mse = squared / (3 * count);
    return {mse > 0 ? std::min(99.0, 10 * std::log10(255.0 * 255.0 / mse)) : 99.0, ssim / (3 * count)};
}

}  // namespace qzm::encoder
