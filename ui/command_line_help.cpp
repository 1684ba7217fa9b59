#include "command_line_help.h"

#include <QCoreApplication>

namespace qzm::ui {

QString HelpDescription() {
    // One key a line: two spaces, the key, then its action after at least two spaces.
    return QCoreApplication::translate(
        "qzmplayer", "Plays QZM videos: .qzm streams, and .trd and .scl disk images holding them.\n"
                     "Several FILEs, or a disk image's videos after the one chosen, play one after\n"
                     "another as a play list.\n"
                     "\n"
                     "Keys:\n"
                     "  Space        play or pause\n"
                     "  Left/Right   seek 5 seconds back or on (also the mouse wheel)\n"
                     "  Down/Up      seek 1 minute back or on\n"
                     "  ,/.          one frame back or on, pausing\n"
                     "  Home/End     the first or the last frame\n"
                     "  PgUp/PgDn    the previous or the next video of the play list\n"
                     "  F11/F        full screen and back (also a double click on the picture)\n"
                     "  S            save the frame as a PNG picture at 256 x 192\n"
                     "  Shift+S      save the frame as a PNG picture at its size on the screen\n"
                     "  Ctrl+O       open a file\n"
                     "  F1           about the player\n"
                     "  Escape       leave full screen, or close the window\n"
                     "\n"
                     "Frames are saved as NAME-NNNNN.png in the pictures folder (~/Pictures).\n"
                     "Settings: $XDG_CONFIG_HOME/QZMPlayer.ini (by default ~/.config/QZMPlayer.ini).\n"
                     "\"man qzmplayer\" shows the manual.");
}

}  // namespace qzm::ui
