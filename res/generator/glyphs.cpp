#include "glyphs.h"

#include <array>
#include <string>

namespace qzm::skin {
namespace {

// Only the characters of the program's name and version are drawn, so only those are here.
const std::array<Glyph, 14> kTitleFont = {{
    {'Q',
     {".#####.", "##...##", "##...##", "##...##", "##...##", "##...##", "##.####", "##..##.", ".###.##",
      ".......", "......."}},
    {'Z',
     {"#######", ".....##", "....##.", "...##..", "..##...", ".##....", "##.....", "##.....", "#######",
      ".......", "......."}},
    {'M',
     {"##.....##", "###...###", "####.####", "##.###.##", "##..#..##", "##.....##", "##.....##", "##.....##",
      "##.....##", ".........", "........."}},
    {'P',
     {"######.", "##...##", "##...##", "##...##", "######.", "##.....", "##.....", "##.....", "##.....",
      ".......", "......."}},
    {'l', {"##", "##", "##", "##", "##", "##", "##", "##", "##", "..", ".."}},
    {'a',
     {"......", "......", ".####.", "....##", "....##", ".#####", "##..##", "##..##", ".#####", "......",
      "......"}},
    {'y',
     {"......", "......", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", ".#####", "....##",
      "#####."}},
    {'e',
     {"......", "......", ".####.", "##..##", "##..##", "######", "##....", "##....", ".#####", "......",
      "......"}},
    {'r',
     {"......", "......", "##.###", "###...", "##....", "##....", "##....", "##....", "##....", "......",
      "......"}},
    {'0',
     {".####.", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", ".####.", "......",
      "......"}},
    {'3',
     {".####.", "##..##", "....##", "....##", "..###.", "....##", "....##", "##..##", ".####.", "......",
      "......"}},
    {'5',
     {"######", "##....", "##....", "#####.", "....##", "....##", "....##", "##..##", ".####.", "......",
      "......"}},
    {'.', {"..", "..", "..", "..", "..", "..", "..", "##", "##", "..", ".."}},
    {' ', {"..", "..", "..", "..", "..", "..", "..", "..", "..", "..", ".."}},
}};

// Segments a..g of each digit (bit 0 = a, top; b top right; c bottom right; d bottom; e bottom left;
// f top left; g middle).
constexpr std::array<unsigned, 10> kSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

void Paint(std::vector<std::string>& g, int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            g[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = '#';
        }
    }
}

// One of the six places where a horizontal segment meets the verticals of one side. The inner column
// is lit with any of them; the outer column only where a vertical runs on through it or ends there
// with no horizontal, so lit corners stay rounded and strokes do not break.
void Junction(std::vector<std::string>& g, int row, int inner, int outer, bool horizontal, bool above,
              bool below) {
    if (horizontal || above || below) {
        Paint(g, inner, row, inner, row + 1);
    }
    if ((above && below) || ((above || below) && !horizontal)) {
        Paint(g, outer, row, outer, row + 1);
    }
}

}  // namespace

const Glyph* TitleGlyph(char c) {
    for (const Glyph& g : kTitleFont) {
        if (g.character == c) {
            return &g;
        }
    }
    return nullptr;
}

std::vector<std::string> CounterGlyph(char c) {
    std::vector<std::string> g(16, std::string(8, '.'));
    if (c == ':') {
        Paint(g, 3, 4, 4, 5);
        Paint(g, 3, 10, 4, 11);
        return g;
    }
    if (c < '0' || c > '9') {
        return g;
    }
    const unsigned s = kSegments[static_cast<std::size_t>(c - '0')];
    auto on = [s](int bit) { return (s >> bit & 1U) != 0; };
    // Strokes are two pixels thick: columns 1-2 and 5-6, rows 1-2, 7-8 and 13-14.
    if (on(0)) {
        Paint(g, 3, 1, 4, 2);
    }
    if (on(6)) {
        Paint(g, 3, 7, 4, 8);
    }
    if (on(3)) {
        Paint(g, 3, 13, 4, 14);
    }
    if (on(5)) {
        Paint(g, 1, 3, 2, 6);
    }
    if (on(1)) {
        Paint(g, 5, 3, 6, 6);
    }
    if (on(4)) {
        Paint(g, 1, 9, 2, 12);
    }
    if (on(2)) {
        Paint(g, 5, 9, 6, 12);
    }
    Junction(g, 1, 2, 1, on(0), false, on(5));
    Junction(g, 1, 5, 6, on(0), false, on(1));
    Junction(g, 7, 2, 1, on(6), on(5), on(4));
    Junction(g, 7, 5, 6, on(6), on(1), on(2));
    Junction(g, 13, 2, 1, on(3), on(4), false);
    Junction(g, 13, 5, 6, on(3), on(2), false);
    return g;
}

}  // namespace qzm::skin
