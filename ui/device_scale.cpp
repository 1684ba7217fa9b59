#include "device_scale.h"

#include <algorithm>
#include <cmath>

namespace qzm::ui {

namespace {

// Products of a ratio such as 1.1 with whole numbers are not exact in binary: a hair's breadth
// decides for the whole number they stand for.
constexpr double kSlack = 1e-6;

int Floor(double value) {
    return static_cast<int>(std::floor(value + kSlack));
}

int Ceil(double value) {
    return static_cast<int>(std::ceil(value - kSlack));
}

}  // namespace

DeviceScale DeviceScale::ForRatio(double ratio) {
    if (!(ratio > 0.0)) {
        ratio = 1.0;
    }
    return DeviceScale{ratio, std::max(1, static_cast<int>(std::lround(ratio)))};
}

Rect DeviceScale::ToDevice(const Rect& skinRect) const {
    return Rect{skinRect.x * skin, skinRect.y * skin, skinRect.width * skin, skinRect.height * skin};
}

Rect DeviceScale::LogicalCover(const Rect& device) const {
    const int left = Floor(device.x / ratio);
    const int top = Floor(device.y / ratio);
    return Rect{left, top, Ceil((device.x + device.width) / ratio) - left,
                Ceil((device.y + device.height) / ratio) - top};
}

int DeviceScale::SkinX(double logicalX) const {
    return static_cast<int>(std::floor(logicalX * ratio / skin + kSlack));
}

Size DeviceScale::SkinSize(int width, int height) const {
    return Size{Floor(width * ratio) / skin, Floor(height * ratio) / skin};
}

Size DeviceScale::LogicalSize(const Size& skinSize) const {
    return Size{Ceil(skinSize.width * skin / ratio), Ceil(skinSize.height * skin / ratio)};
}

}  // namespace qzm::ui
