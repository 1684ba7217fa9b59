// Where the main window's controls and picture go for a given window size, in skin pixels (see
// device_scale.h). The sizes are the outer size of the window; the window has no frame of its own,
// so they are also its client size.
#pragma once

namespace qzm::ui {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool Contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The controls of the main window; their names are the control ids.
enum class Control {
    Close,
    Maximize,
    Minimize,
    Title,
    Open,
    Play,
    Stop,
    Info,
    Options,
    Time,
    Position,
    About,
    OnTop,
};
inline constexpr int kControlCount = 13;

// The smallest window: its picture area is exactly the native 256 x 192.
inline constexpr int kMinWindowWidth = 267;
inline constexpr int kMinWindowHeight = 269;

// The main window's template size, 174 x 162 dialog units of the template's font.
inline constexpr int kTemplateWidthUnits = 174;
inline constexpr int kTemplateHeightUnits = 162;

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// The template's size in pixels, raised to the minimum window size.
Size InitialWindowSize();

struct WindowLayout {
    Rect controls[kControlCount];
    Rect pictureArea;  // what the player gets: its top-left corner and size

    const Rect& operator[](Control c) const { return controls[static_cast<int>(c)]; }
};

// The rectangles of every control and the picture area for a window of `width` x `height`.
WindowLayout LayOutWindow(int width, int height);

// The control's id as it names the widget ("IDC_CLOSE", ...).
const char* ControlName(Control c);

}  // namespace qzm::ui
