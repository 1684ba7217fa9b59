#include "window_layout.h"

#include <algorithm>

#include "dialog_units.h"
#include "display_geometry.h"

namespace qzm::ui {

namespace {

// A control that keeps its template place: the template rectangle converted to pixels.
Rect TemplateRect(int x, int y, int width, int height) {
    const DialogUnits u = kTemplateFontUnits;
    return Rect{u.X(x), u.Y(y), u.X(width), u.Y(height)};
}

}  // namespace

Size InitialWindowSize() {
    return Size{std::max(kTemplateFontUnits.X(kTemplateWidthUnits), kMinWindowWidth),
                std::max(kTemplateFontUnits.Y(kTemplateHeightUnits), kMinWindowHeight)};
}

WindowLayout LayOutWindow(int w, int h) {
    WindowLayout layout;
    const auto set = [&layout](Control c, Rect r) { layout.controls[static_cast<int>(c)] = r; };
    set(Control::Close, {w - 22, 0, 16, 16});
    set(Control::Maximize, {w - 39, 0, 16, 16});
    set(Control::Minimize, {w - 57, 0, 16, 16});
    set(Control::Title, {w / 2 - 58, 0, 104, 16});
    set(Control::Open, {8, h - 33, 24, 24});
    set(Control::Play, {38, h - 33, 24, 24});
    set(Control::Stop, {68, h - 33, 24, 24});
    set(Control::Info, {w - 72, h - 33, 24, 24});
    set(Control::Options, {w - 40, h - 33, 24, 24});
    set(Control::Time, {98, h - 33, 68, 20});
    set(Control::Position, {8, h - 58, w - 19, 16});
    set(Control::About, TemplateRect(0, 0, 11, 10));
    set(Control::OnTop, TemplateRect(11, 0, 11, 10));
    layout.pictureArea = Rect{kPictureAreaLeft, kPictureAreaTop, w - 11, h - 77};
    return layout;
}

const char* ControlName(Control c) {
    static constexpr const char* kNames[kControlCount] = {
        "IDC_CLOSE", "IDC_MAXIMIZE", "IDC_MINIMIZE", "IDC_TITLE",    "IDC_OPEN",  "IDC_PLAY",  "IDC_STOP",
        "IDC_INFO",  "IDC_OPTIONS",  "IDC_TIME",     "IDC_POSITION", "IDC_ABOUT", "IDC_ONTOP",
    };
    return kNames[static_cast<int>(c)];
}

}  // namespace qzm::ui
