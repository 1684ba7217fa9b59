#include "media_geometry.h"

#include <algorithm>
#include <cmath>

namespace qzm::media {

Rect LetterBox(double aspect) {
    constexpr double kFrameAspect = static_cast<double>(kFrameWidth) / kFrameHeight;
    if (!std::isfinite(aspect) || aspect <= 0.0) {
        aspect = kFrameAspect;
    }
    // The picture's size in whole cells, nearest to its shape, at least one cell.
    const auto cells = [](double pixels, int most) {
        return std::clamp(static_cast<int>(std::lround(pixels / kCellSize)), 1, most / kCellSize) * kCellSize;
    };
    Rect r{0, 0, kFrameWidth, kFrameHeight};
    if (aspect > kFrameAspect) {
        r.height = cells(kFrameWidth / aspect, kFrameHeight);
    } else if (aspect < kFrameAspect) {
        r.width = cells(kFrameHeight * aspect, kFrameWidth);
    }
    // Centred, the border on whole cells too (one cell more below or right when it cannot split).
    r.x = (kFrameWidth - r.width) / kCellSize / 2 * kCellSize;
    r.y = (kFrameHeight - r.height) / kCellSize / 2 * kCellSize;
    return r;
}

int DelayForFrameRate(int num, int den) {
    if (num <= 0 || den <= 0) {
        return kDefaultDelay;
    }
    // round(50 * den / num), halves up, in 64 bits so that no int rate overflows.
    constexpr std::int64_t kTicksPerSecond = 50;
    const std::int64_t delay = (2 * kTicksPerSecond * den + num) / (2 * std::int64_t{num});
    return static_cast<int>(std::clamp<std::int64_t>(delay, 1, kMaxDelay));
}

}  // namespace qzm::media
