// What a mouse press on the window's own surface (not on a control) does: size the window at one of
// its edges or corners, move it, or nothing.
#pragma once

namespace qzm::ui {

enum class HitZone {
    None,  // the picture area: presses there do nothing to the frame
    Move,
    Left,
    Right,
    Top,
    Bottom,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

// The zone of the point (x, y) of a window of `width` x `height`. The sizing bands are 3 pixels at
// the left and top and 2 at the right and bottom; the 19 rows at the top and the 58 at the bottom
// (slider and buttons) move the window.
HitZone HitTest(int x, int y, int width, int height);

// Rows this close to the top of the window maximize or restore it on a double click.
inline constexpr int kDoubleClickRows = 16;

}  // namespace qzm::ui
