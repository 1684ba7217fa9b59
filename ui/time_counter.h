// The time counter: the playing time of a frame as minutes, seconds and fiftieths, and which glyphs
// of the digit strip show it.
#pragma once

#include <array>
#include <string>

namespace qzm::ui {

// The digit strip holds 11 glyphs of 8 x 16 pixels stacked top to bottom: "0" to "9", then ":".
inline constexpr int kGlyphWidth = 8;
inline constexpr int kGlyphHeight = 16;
inline constexpr int kCounterGlyphs = 8;

// "mm:ss:ff" for frame counter `frame` at `delay` fiftieths per frame. A delay of 0 counts as 1 and
// the counter's "no frame" value 65535 as frame 0. Each field has at least two digits; from 100
// minutes on the text is longer than 8 characters.
std::string TimeText(int frame, int delay);

// The glyph index of each of the first 8 characters of the text (":" is glyph 10).
std::array<int, kCounterGlyphs> TimeGlyphs(int frame, int delay);

// Where glyph i of the counter goes inside the counter's frame: (8 * i + 1, 1).
constexpr int GlyphX(int i) {
    return kGlyphWidth * i + 1;
}
inline constexpr int kGlyphY = 1;

}  // namespace qzm::ui
