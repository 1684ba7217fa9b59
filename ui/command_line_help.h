// What `qzmplayer --help` prints above its options: what the program plays and the keys of its
// window. The manual page qzmplayer.1 lists the same keys in its KEYS section; a test compares them.
#pragma once

#include <QString>

namespace qzm::ui {

QString HelpDescription();

}  // namespace qzm::ui
