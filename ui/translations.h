// The program's language: the system's (LANG, LC_ALL, LANGUAGE) where the player has a translation
// for it, else English, the texts of the source.
#pragma once

class QCoreApplication;

namespace qzm::ui {

// Installs the player's translation for the system's language, compiled into the program, and with
// it Qt's own (the file dialog, the message box's buttons, the command line's help) from Qt's
// translations folder where the system has them. Without a translation of the player's own nothing is
// installed, so that the program speaks one language. Returns whether a translation was installed.
bool InstallTranslations(QCoreApplication& app);

}  // namespace qzm::ui
