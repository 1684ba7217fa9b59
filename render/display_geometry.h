// Where and how large the picture is drawn inside the window's picture area.
#pragma once

namespace qzm {

struct DisplayGeometry {
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;

    friend bool operator==(const DisplayGeometry&, const DisplayGeometry&) = default;
};

// The picture area's top-left corner in the window: right of the 3-pixel left border and below
// the 18-pixel caption strip.
inline constexpr int kPictureAreaLeft = 3;
inline constexpr int kPictureAreaTop = 18;

// Fits a 4:3 picture into an area of `areaWidth` x `areaHeight` pixels, centred along the axis that
// has room to spare, and places it relative to the window at (kPictureAreaLeft, kPictureAreaTop).
// Divisions truncate toward zero.
DisplayGeometry FitDisplayArea(int areaWidth, int areaHeight);

}  // namespace qzm
