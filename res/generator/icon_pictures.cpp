// The program's icon: a small monitor whose screen shows the rainbow stripes of the home computer
// the videos come from and a play sign.
#include <array>

#include "pictures.h"
#include "raster.h"

namespace qzm::skin {
namespace {

constexpr Rgba kTransparent{0, 0, 0, 0};
constexpr std::array<Rgba, 4> kStripes = {Opaque(0xD7, 0x00, 0x00), Opaque(0xD7, 0xD7, 0x00),
                                          Opaque(0x00, 0xD7, 0x00), Opaque(0x00, 0xD7, 0xD7)};

// The 16 x 16 icon is drawn pixel by pixel: at that size a scaled drawing turns to mush.
Image SmallIcon() {
    Image image(16, 16, kTransparent);
    DrawPattern(image,
                {
                    ".oooooooooooooo.",
                    "okkkkkkkkkkkkkko",
                    "okbbbbbbbbbbbbko",
                    "okbbbwbbbbbbbbko",
                    "okbbbwwbbbbbbbko",
                    "okbbbwwwbbbbbbko",
                    "okbbbwwwwbbbbbko",
                    "okdddwwwdddddrko",
                    "okdddwwdddddryko",
                    "okdddwdddddrygko",
                    "okddddddddrygcko",
                    "okkkkkkkkkkkkkko",
                    ".oooooooooooooo.",
                    "......ssss......",
                    "....ssssssss....",
                    "................",
                },
                0, 0, "okbdwrygcs",
                {Opaque(0x18, 0x18, 0x20), Opaque(0x58, 0x58, 0x66), Opaque(0x00, 0x3C, 0xC0),
                 Opaque(0x00, 0x2C, 0x98), Opaque(0xFF, 0xFF, 0xFF), kStripes[0], kStripes[1], kStripes[2],
                 kStripes[3], Opaque(0x30, 0x30, 0x38)});
    return image;
}

}  // namespace

Image AppIcon(int size) {
    if (size <= 16) {
        return SmallIcon();
    }
    Image image(size, size, kTransparent);
    // Designed on a 32-unit grid.
    const double s = size / 32.0;
    auto rr = [s](double x0, double y0, double x1, double y1, double r) {
        return RoundRect(x0 * s, y0 * s, x1 * s, y1 * s, r * s);
    };
    // Stand, then the case with a lighter top, then the screen.
    Fill(image, Union({Rect(13 * s, 26 * s, 19 * s, 29 * s), rr(9, 28.5, 23, 30.5, 1)}),
         Opaque(0x30, 0x30, 0x38));
    Fill(image, rr(1, 3, 31, 27, 3), Opaque(0x18, 0x18, 0x20));
    Fill(image, rr(1.5 * 1, 3.5, 30.5, 26.5, 2.5), [s](double, double y) {
        return Mix(Opaque(0x70, 0x70, 0x80), Opaque(0x38, 0x38, 0x44), (y / s - 3.5) / 23.0);
    });
    const Shape screen = rr(4, 6, 28, 24, 1.5);
    Fill(image, screen, [s](double, double y) {
        return Mix(Opaque(0x00, 0x40, 0xC8), Opaque(0x00, 0x20, 0x88), (y / s - 6) / 18.0);
    });
    // Four stripes rising to the right across the screen's bottom right corner.
    for (std::size_t i = 0; i < kStripes.size(); ++i) {
        const double o = 16.5 + 2.5 * static_cast<double>(i);
        const Shape band = Polygon(
            {{o * s, 24 * s}, {(o + 2.5) * s, 24 * s}, {(o + 12.5) * s, 14 * s}, {(o + 10) * s, 14 * s}});
        Fill(image, Intersect(screen, band), kStripes[i]);
    }
    // A faint reflection across the upper left of the glass.
    Fill(image, Intersect(screen, Polygon({{4 * s, 6 * s}, {22 * s, 6 * s}, {4 * s, 17 * s}})),
         Rgba{0xFF, 0xFF, 0xFF, 24});
    const Shape play = Polygon({{10 * s, 9 * s}, {10 * s, 21 * s}, {19.5 * s, 15 * s}});
    Fill(image, Shifted(play, 0.6 * s, 0.6 * s), Rgba{0, 0, 0x20, 120});
    Fill(image, play, Opaque(0xFF, 0xFF, 0xFF));
    return image;
}

}  // namespace qzm::skin
