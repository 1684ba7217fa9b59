#include "command_line_help.h"

#include <QCoreApplication>

namespace qzm::ui {

QString HelpDescription() {
    // One key a line: two spaces, the key, then its action after at least two spaces.
    return QCoreApplication::translate(
        "qzmplayer", "Plays QZM videos: .qzm streams, and .trd and .scl disk images holding them.\n"
                     "\n"
                     "Keys:\n"
                     "  Space     play or pause\n"
                     "  Ctrl+O    open a file\n"
                     "  F1        about the player\n"
                     "  Escape    close the window\n"
                     "\n"
                     "Settings: $XDG_CONFIG_HOME/QZMPlayer.ini (by default ~/.config/QZMPlayer.ini).\n"
                     "\"man qzmplayer\" shows the manual.");
}

}  // namespace qzm::ui
