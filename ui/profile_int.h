// Reads an integer setting the way the settings file has always been read: leading blanks, an
// optional sign and decimal digits; anything after them is ignored, and a value without digits reads
// as 0. Values beyond the int range are clamped.
#pragma once

#include <string_view>

namespace qzm::ui {

int ParseProfileInt(std::string_view text);

}  // namespace qzm::ui
