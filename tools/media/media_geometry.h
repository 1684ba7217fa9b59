// Where a picture lands in the 256 x 192 frame, and which frame delay a frame rate asks for.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qzm::media {

inline constexpr int kFrameWidth = 256;
inline constexpr int kFrameHeight = 192;
inline constexpr int kCellSize = 8;  // the screen's colour cells are 8 x 8 pixels
inline constexpr std::size_t kFrameBytes = std::size_t{kFrameWidth} * kFrameHeight * 3;  // RGB24

// Pictures, and videos whose frame rate is unknown, show each frame for 2/50 s (25 fps).
inline constexpr int kDefaultDelay = 2;
inline constexpr int kMaxDelay = 255;  // the header's delay is one byte

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// The largest rectangle of the picture's shape (`aspect` = displayed width / displayed height)
// that fits the 4:3 frame, in whole 8 x 8 cells (so that no cell has to show both picture and
// border), centred; the rest of the frame is the black border. Rounding to cells keeps the shape
// within half a cell. An unusable aspect (zero, negative, not finite) fills the frame.
Rect LetterBox(double aspect);

// The frame delay in fiftieths of a second nearest to one frame at `num`/`den` frames per second
// (halves round up), from 1 to 255; kDefaultDelay when the rate is zero, negative or absent.
int DelayForFrameRate(int num, int den);

}  // namespace qzm::media
