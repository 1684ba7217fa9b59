#include "player_keys.h"

namespace qzm::ui {
namespace {

constexpr KeyBinding kBindings[] = {
    {Qt::Key_Left, PlayerCommand::SeekBack},
    {Qt::Key_Right, PlayerCommand::SeekOn},
    {Qt::Key_Down, PlayerCommand::SeekBackMinute},
    {Qt::Key_Up, PlayerCommand::SeekOnMinute},
    {Qt::Key_Comma, PlayerCommand::FrameBack},
    {Qt::Key_Period, PlayerCommand::FrameOn},
    {Qt::Key_Home, PlayerCommand::FirstFrame},
    {Qt::Key_End, PlayerCommand::LastFrame},
    {Qt::Key_F11, PlayerCommand::FullScreen},
    {Qt::Key_F, PlayerCommand::FullScreen},
    {Qt::Key_PageUp, PlayerCommand::PreviousVideo},
    {Qt::Key_PageDown, PlayerCommand::NextVideo},
    {Qt::Key_S, PlayerCommand::SaveFrame},
    {Qt::ShiftModifier | Qt::Key_S, PlayerCommand::SaveShownFrame},
    {Qt::Key_Escape, PlayerCommand::LeaveOrClose},
    {Qt::Key_Return, PlayerCommand::Ignore},
    {Qt::Key_Enter, PlayerCommand::Ignore},
};

}  // namespace

std::span<const KeyBinding> KeyBindings() {
    return kBindings;
}

bool SliderKeepsKey(Qt::Key key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End: return true;
        default: return false;
    }
}

PlayerCommand CommandForKey(int key, Qt::KeyboardModifiers modifiers) {
    modifiers.setFlag(Qt::KeypadModifier, false);
    for (const KeyBinding& binding : kBindings) {
        const bool anyModifier =
            binding.command == PlayerCommand::LeaveOrClose || binding.command == PlayerCommand::Ignore;
        if (binding.key.key() == key && (anyModifier || binding.key.keyboardModifiers() == modifiers)) {
            return binding.command;
        }
    }
    return PlayerCommand::None;
}

}  // namespace qzm::ui
