#include "media_geometry.h"

#include <algorithm>
#include <cmath>

namespace qzm::media {

Rect LetterBox(double aspect) {
    constexpr double kFrameAspect = static_cast<double>(kFrameWidth) / kFrameHeight;
    if (!std::isfinite(aspect) || aspect <= 0.0) {
        aspect = kFrameAspect;
    }
    Rect r{0, 0, kFrameWidth, kFrameHeight};
    if (aspect > kFrameAspect) {
        r.height = std::clamp(static_cast<int>(std::lround(kFrameWidth / aspect)), 1, kFrameHeight);
    } else if (aspect < kFrameAspect) {
        r.width = std::clamp(static_cast<int>(std::lround(kFrameHeight * aspect)), 1, kFrameWidth);
    }
    r.x = (kFrameWidth - r.width) / 2;
    r.y = (kFrameHeight - r.height) / 2;
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
