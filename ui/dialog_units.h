// Dialog units: layouts given as the dialogs were first drawn, in quarters of a font's average
// character width across and eighths of its line height down, so that a layout keeps its
// proportions at any font size. Conversions truncate.
#pragma once

namespace qzm::ui {

struct DialogUnits {
    int charWidth = 6;    // the average character width in pixels
    int charHeight = 13;  // the line height in pixels

    constexpr int X(int units) const { return units * charWidth / 4; }
    constexpr int Y(int units) const { return units * charHeight / 8; }
};

// The font the main window's template was drawn with: 6 x 13 pixels.
inline constexpr DialogUnits kTemplateFontUnits{};

// The units of a font whose 52 letters "A".."Z", "a".."z" are `alphabetWidth` pixels wide and whose
// lines are `lineHeight` high, reckoned as the old platform did: half the width of a pair of letters,
// rounded.
constexpr DialogUnits UnitsOfFont(int alphabetWidth, int lineHeight) {
    return DialogUnits{(alphabetWidth / 26 + 1) / 2, lineHeight};
}

}  // namespace qzm::ui
