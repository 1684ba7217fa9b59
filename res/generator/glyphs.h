#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qzm::skin {

// Hand-made pixel patterns: '#' marks a pixel of the glyph, '.' the ground.
struct Glyph {
    char character = 0;
    std::vector<std::string_view> rows;  // top row first; all rows equally long
    int Width() const { return rows.empty() ? 0 : static_cast<int>(rows.front().size()); }
};

// The title font: 11 rows per glyph, capitals and digits on rows 0..8, descenders on rows 9..10.
// Returns nullptr for a character the font does not have.
const Glyph* TitleGlyph(char c);

// The counter's seven-segment glyph for '0'..'9' and ':', as 16 rows of 8 pixels.
std::vector<std::string> CounterGlyph(char c);

}  // namespace qzm::skin
