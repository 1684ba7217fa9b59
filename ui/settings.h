// The settings file: "QZMPlayer.ini" in the user's configuration directory, holding the scale
// method as "Filter" in section "Render".
#pragma once

#include <QString>

namespace qzm::ui {

QString SettingsFilePath();
// The stored scale method; 0 when the file, the section or the key is missing or holds no number.
int ReadFilterSetting();
// Stores the scale method (creating the file and its directory when needed).
void WriteFilterSetting(int filter);

}  // namespace qzm::ui
