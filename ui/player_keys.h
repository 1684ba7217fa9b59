// The window's keys beyond its buttons' own: what each key does, and which keys the position slider
// keeps for itself while it has the focus.
#pragma once

#include <QKeySequence>
#include <span>

namespace qzm::ui {

enum class PlayerCommand {
    None,
    SeekBack,  // 5 seconds
    SeekOn,
    SeekBackMinute,
    SeekOnMinute,
    FrameBack,  // pausing
    FrameOn,
    FirstFrame,
    LastFrame,
    FullScreen,     // full screen and back
    PreviousVideo,  // of the play list
    NextVideo,
    SaveFrame,       // at 256 x 192
    SaveShownFrame,  // at the picture's size on the screen
    LeaveOrClose,    // leaves full screen, or closes the window
    Ignore,          // taken and dropped: Enter never closes the window
};

struct KeyBinding {
    QKeyCombination key;
    PlayerCommand command;
};

// Every key of the window that is not a button's shortcut (Space, Ctrl+O and F1 are).
std::span<const KeyBinding> KeyBindings();

// Whether the position slider acts on `key` itself while it has the focus: its arrows, pages and
// ends. The window acts on them only where the focus is elsewhere.
bool SliderKeepsKey(Qt::Key key);

// The command of a key the window received, whatever the keypad flag; None when it has none.
// Escape and Enter act with any modifier.
PlayerCommand CommandForKey(int key, Qt::KeyboardModifiers modifiers);

}  // namespace qzm::ui
