// An 8 x 8 pixel font of capital Latin and Cyrillic letters, digits and common signs, for titles
// drawn into demo pictures.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qzm::authoring {

using Glyph = std::array<std::uint8_t, 8>;  // top line first, bit 7 leftmost

// The glyph of `c`; small letters are drawn as capitals, characters the font lacks as blanks.
const Glyph& GlyphOf(char32_t c);

// The characters of a UTF-8 text; a malformed byte stands for itself.
std::u32string DecodeUtf8(std::string_view text);

}  // namespace qzm::authoring
