// The window's three kinds of pixel. Skin pixels are the unit of the window's layout and of its
// pixel-art images; device pixels are the screen's; logical pixels are the toolkit's, device
// pixels divided by the screen's ratio (1.5 on a screen scaled to 150 %). The skin is drawn at a
// whole number of device pixels per skin pixel, so that every skin pixel comes out the same size
// and its images are enlarged without blur or uneven rows; the picture is rendered at device pixels.
#pragma once

#include "window_layout.h"

namespace qzm::ui {

struct DeviceScale {
    double ratio = 1.0;  // device pixels per logical pixel
    int skin = 1;        // device pixels per skin pixel

    // The scale for a screen of `ratio`: the skin at the nearest whole factor, at least 1.
    static DeviceScale ForRatio(double ratio);

    // A rectangle of skin pixels in device pixels.
    Rect ToDevice(const Rect& skinRect) const;
    // The smallest rectangle of logical pixels that covers the device pixels of `device`.
    Rect LogicalCover(const Rect& device) const;
    // The skin pixel under the logical point (x, y).
    int SkinX(double logicalX) const;
    int SkinY(double logicalY) const { return SkinX(logicalY); }
    // The whole skin pixels of a window of `width` x `height` logical pixels.
    Size SkinSize(int width, int height) const;
    // The smallest window, in logical pixels, that holds `skinSize` skin pixels.
    Size LogicalSize(const Size& skinSize) const;
};

}  // namespace qzm::ui
