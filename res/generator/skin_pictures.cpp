// The window's buttons, the counter's digit strip and the title picture.
#include <cmath>
#include <string>
#include <tuple>

#include "glyphs.h"
#include "pictures.h"
#include "raster.h"

namespace qzm::skin {
namespace {

constexpr Rgba kDigitGround = Opaque(4, 4, 4);
constexpr Rgba kDigitStroke = Opaque(0, 255, 0);
constexpr Rgba kWhite = Opaque(255, 255, 255);

// A radial shade: `centre` colour at the point (cx, cy), `rim` colour at `radius` and beyond.
Paint Radial(double cx, double cy, double radius, Rgba centre, Rgba rim) {
    return [=](double x, double y) { return Mix(centre, rim, std::hypot(x - cx, y - cy) / radius); };
}

Paint Vertical(double y0, double y1, Rgba top, Rgba bottom) {
    return [=](double, double y) { return Mix(top, bottom, (y - y0) / (y1 - y0)); };
}

Shape WrenchShape() {
    // An open-ended wrench lying from the bottom left to the top right, jaws opening up and right.
    const Point head{15.2, 8.8};
    const double ux = std::sqrt(0.5);
    auto jaws = [head, ux](double x, double y) {
        const double u = (x - head.x) * ux - (y - head.y) * ux;  // along the handle, towards the jaws
        const double v = (x - head.x) * ux + (y - head.y) * ux;  // across it
        return u > -0.6 && std::abs(v) < 1.45;
    };
    return Union(
        {Minus(Circle(head.x, head.y, 4.1), jaws), Segment(head, {6.6, 17.4}, 1.65), Circle(6.6, 17.4, 2.0)});
}

Shape PanelSymbolShape(PanelSymbol symbol) {
    switch (symbol) {
        case PanelSymbol::Eject: return Union({Polygon({{6, 13}, {18, 13}, {12, 6.5}}), Rect(6, 15, 18, 17)});
        case PanelSymbol::PlayPause:
            return Union({Rect(6, 7, 9, 17), Polygon({{11, 7}, {11, 17}, {19, 12}})});
        case PanelSymbol::Stop: return RoundRect(7, 7, 17, 17, 1.2);
        case PanelSymbol::Info:
            return Union(
                {Circle(12, 7.8, 1.8), Rect(11, 11, 13, 18), Rect(9, 11, 11, 12), Rect(9, 17, 15, 18)});
        case PanelSymbol::Wrench: return WrenchShape();
    }
    return Rect(0, 0, 0, 0);
}

Shape FrameSymbolShape(FrameSymbol symbol) {
    switch (symbol) {
        case FrameSymbol::Close:
            return Union({Segment({5, 5}, {11, 11}, 1.15), Segment({11, 5}, {5, 11}, 1.15)});
        case FrameSymbol::Minimize:
            // An arrow from the top right down to the bottom left.
            return Union({Segment({11.5, 4.5}, {6.5, 9.5}, 1.0), Polygon({{4, 7}, {4, 12}, {9, 12}})});
        case FrameSymbol::Maximize: return Minus(Rect(4, 4, 12, 12), Rect(5, 6, 11, 11));
        case FrameSymbol::OnTop: return Union({Rect(7, 3, 9, 9), Rect(7, 10, 9, 12)});
        case FrameSymbol::About:
            return Pattern(
                {".####.", "##..##", "....##", "...##.", "..##..", "..##..", "......", "..##..", "..##.."}, 5,
                3);
    }
    return Rect(0, 0, 0, 0);
}

}  // namespace

Image PanelButton(PanelSymbol symbol, bool hover) {
    Image image(24, 24, kWindowBlue);
    const Rgba rim = hover ? Opaque(0x8A, 0x80, 0x10) : Opaque(0x6A, 0x60, 0x08);
    const Rgba centre = hover ? Opaque(0xFF, 0xFF, 0xB0) : Opaque(0xFF, 0xF0, 0x50);
    const Rgba edge = hover ? Opaque(0xD8, 0xC4, 0x28) : Opaque(0xA8, 0x94, 0x10);
    Fill(image, RoundRect(0, 0, 24, 24, 7), rim);
    Fill(image, RoundRect(1, 1, 23, 23, 6), Radial(10, 8, 17, centre, edge));
    // A soft gloss over the upper part of the face.
    Fill(image, Intersect(RoundRect(2, 1.5, 22, 22, 5.5), Circle(12, -9, 19.5)), [](double, double y) {
        return Rgba{0xFF, 0xFF, 0xFF, static_cast<std::uint8_t>(std::lround(110 - 9 * y))};
    });
    const Shape mark = PanelSymbolShape(symbol);
    // A light edge below the symbol makes it look pressed into the button.
    Fill(image, Shifted(mark, 0, 1), Rgba{0xFF, 0xFF, 0xE0, 150});
    Fill(image, mark, hover ? Opaque(0x00, 0x40, 0xE0) : Opaque(0x00, 0x30, 0xA8));
    return image;
}

Image FrameButton(FrameSymbol symbol, bool hover) {
    Image image(16, 16, kWindowBlue);
    const bool red = symbol == FrameSymbol::Close;
    const Rgba outline = red ? Opaque(0x70, 0x08, 0x08) : Opaque(0x00, 0x24, 0x78);
    // The hover face is brighter but keeps its colour, so the white symbol still stands out.
    const Rgba top = red ? (hover ? Opaque(0xFF, 0x94, 0x7C) : Opaque(0xF8, 0x70, 0x60))
                         : (hover ? Opaque(0x8C, 0xCC, 0xFF) : Opaque(0x60, 0xA8, 0xFF));
    const Rgba bottom = red ? (hover ? Opaque(0xEC, 0x38, 0x24) : Opaque(0xC0, 0x18, 0x10))
                            : (hover ? Opaque(0x24, 0x80, 0xFF) : Opaque(0x10, 0x5C, 0xD8));
    Fill(image, RoundRect(0, 0, 16, 16, 3.5), outline);
    const Shape face = RoundRect(1, 1, 15, 15, 2.5);
    Fill(image, face, Vertical(1, 15, top, bottom));
    // A light top edge bevels the face.
    Fill(image, Minus(face, Shifted(face, 0, 1)), Rgba{0xFF, 0xFF, 0xFF, 96});
    const Shape mark = FrameSymbolShape(symbol);
    Fill(image, Shifted(mark, 1, 1), Rgba{0, 0, 0x30, 110});
    Fill(image, mark, kWhite);
    return image;
}

Image DigitStrip() {
    Image image(8, 176, kDigitGround);
    const std::string order = "0123456789:";
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::vector<std::string> rows = CounterGlyph(order[k]);
        DrawPattern(image, std::vector<std::string_view>(rows.begin(), rows.end()), 0,
                    static_cast<int>(k) * 16, "#", {kDigitStroke});
    }
    return image;
}

Image TitleImage() {
    Image image(112, 16, kWindowBlue);
    const std::string text = "QZM Player 0.35";
    // Glyphs stand one pixel apart; the shadow adds one pixel to the right.
    int width = 0;
    for (char c : text) {
        width += TitleGlyph(c)->Width() + 1;
    }
    const int left = (image.Width() - width) / 2;
    for (const auto& [dx, dy, colour] : {std::tuple{1, 4, Opaque(0x00, 0x22, 0x70)}, {0, 3, kWhite}}) {
        int x = left + dx;
        for (char c : text) {
            const Glyph* g = TitleGlyph(c);
            DrawPattern(image, g->rows, x, dy, "#", {colour});
            x += g->Width() + 1;
        }
    }
    return image;
}

}  // namespace qzm::skin
