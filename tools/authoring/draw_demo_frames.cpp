// Draws the pictures of the bundled demo videos as binary PPM files, OUT_DIR/frame-NNNNN.ppm, for
// qzmtool encode to turn into QZM streams (scripts/make-demos.sh):
//   draw_demo_frames demo OUT_DIR     24 s: titles in Latin and Cyrillic, a landscape at dusk with
//                                     moving shapes over it, colour bars and a scrolling message
//   draw_demo_frames sunset OUT_DIR   10 s: the landscape over the whole screen, the sun going down
// The pictures are full colour; the encoder's dithering makes Spectrum screens of them.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "pixel_font.h"

namespace {

using qzm::authoring::DecodeUtf8;
using qzm::authoring::GlyphOf;

constexpr int kWidth = 256;
constexpr int kHeight = 192;

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// The eight Spectrum colours: bit 0 blue, bit 1 red, bit 2 green.
Rgb Spectrum(int colour) {
    return {colour & 2 ? 255.0 : 0.0, colour & 4 ? 255.0 : 0.0, colour & 1 ? 255.0 : 0.0};
}

class Picture {
public:
    void Set(int x, int y, Rgb c) {
        if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) {
            return;
        }
        std::uint8_t* p = &m_rgb[static_cast<std::size_t>((y * kWidth + x) * 3)];
        p[0] = static_cast<std::uint8_t>(std::clamp(c.r, 0.0, 255.0));
        p[1] = static_cast<std::uint8_t>(std::clamp(c.g, 0.0, 255.0));
        p[2] = static_cast<std::uint8_t>(std::clamp(c.b, 0.0, 255.0));
    }
    void Fill(int x0, int y0, int x1, int y1, Rgb c) {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                Set(x, y, c);
            }
        }
    }
    // `text` in the pixel font, each font pixel `sx` by `sy` picture pixels; the colour of each
    // character comes from `colour(index)`.
    template <typename ColourOf>
    void Text(int x, int y, std::u32string_view chars, int sx, int sy, ColourOf colour) {
        for (std::size_t i = 0; i < chars.size(); ++i, x += 8 * sx) {
            const auto& glyph = GlyphOf(chars[i]);
            for (int line = 0; line < 8; ++line) {
                for (int bit = 0; bit < 8; ++bit) {
                    if (glyph[line] & (0x80 >> bit)) {
                        Fill(x + bit * sx, y + line * sy, x + (bit + 1) * sx, y + (line + 1) * sy, colour(i));
                    }
                }
            }
        }
    }
    bool Write(const std::filesystem::path& path) const {
        std::ofstream out(path, std::ios::binary);
        out << "P6\n" << kWidth << " " << kHeight << "\n255\n";
        out.write(reinterpret_cast<const char*>(m_rgb.data()), static_cast<std::streamsize>(m_rgb.size()));
        return static_cast<bool>(out);
    }

private:
    std::array<std::uint8_t, kWidth * kHeight * 3> m_rgb{};
};

// The colour at `t` (0 to 1) along a gradient through `stops`, evenly spaced.
template <std::size_t N>
Rgb Gradient(const Rgb (&stops)[N], double t) {
    const double at = std::clamp(t, 0.0, 1.0) * (N - 1);
    const std::size_t i = std::min(static_cast<std::size_t>(at), N - 2);
    return Mix(stops[i], stops[i + 1], at - static_cast<double>(i));
}

// A photograph-like landscape at dusk in the rows [top, top + height): a sky fading from deep blue
// through magenta and red to yellow, the sun at (sunX, sunY) with its glow around (sunX, glowY), two
// ranges of hills, and the sea with the sun's rippling reflection. Neighbouring stops of each
// gradient are two of the eight colours, which the encoder's per-cell pairs of colours dither well.
void DrawLandscape(Picture& p, int top, int height, double sunX, double sunY, double glowY) {
    constexpr Rgb kSky[] = {{0, 0, 90}, {0, 0, 255}, {255, 0, 255}, {255, 0, 0}, {255, 255, 0}};
    constexpr Rgb kSea[] = {{255, 0, 0}, {255, 0, 255}, {0, 0, 255}, {0, 0, 60}};
    const double horizon = top + height * 0.62;
    for (int y = top; y < top + height; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double far =
                horizon - height * (0.16 + 0.06 * std::sin(x / 19.0) + 0.04 * std::sin(x / 7.0 + 1));
            const double near =
                horizon - height * (0.05 + 0.07 * std::sin(x / 31.0 + 2) + 0.02 * std::sin(x / 5.0));
            const double glow = std::exp(-((x - sunX) * (x - sunX) + (y - glowY) * (y - glowY)) / 600.0);
            Rgb c;
            if (y < far) {
                c = Mix(Gradient(kSky, (y - top) / (horizon - top)), {255, 255, 0}, glow);
                if ((x - sunX) * (x - sunX) + (y - sunY) * (y - sunY) < 100) {
                    c = {255, 255, 255};
                }
            } else if (y < near) {
                c = Mix({255, 0, 255}, {0, 0, 0}, 0.3 + (y - far) / 30.0);
            } else if (y < horizon) {
                c = Mix({0, 0, 255}, {0, 0, 0}, 0.6 + (y - near) / 20.0);
            } else {
                const double depth = (y - horizon) / (top + height - horizon);
                c = Gradient(kSea, depth);
                const double ripple = std::sin(y * 1.7) * 6 * (0.3 + depth);
                if (std::abs(x - sunX + ripple) < 10 - depth * 4) {
                    c = {255, 255, 0};
                }
            }
            p.Set(x, y, c);
        }
    }
}

// A ball lit from the upper left, shaded from `colour` into black with a white highlight.
void DrawBall(Picture& p, double cx, double cy, double r, Rgb colour) {
    for (int y = static_cast<int>(cy - r); y <= static_cast<int>(cy + r); ++y) {
        for (int x = static_cast<int>(cx - r); x <= static_cast<int>(cx + r); ++x) {
            const double dx = (x - cx) / r;
            const double dy = (y - cy) / r;
            const double dd = dx * dx + dy * dy;
            if (dd > 1) {
                continue;
            }
            const double light = std::max(0.0, (-dx - dy + std::sqrt(1 - dd)) / std::sqrt(3.0));
            p.Set(x, y,
                  Mix(Mix({0, 0, 0}, colour, 0.15 + 0.85 * light), {255, 255, 255}, std::pow(light, 12)));
        }
    }
}

// A square of side 2 * r turned by `angle`, drawn as a thick outline.
void DrawSquare(Picture& p, double cx, double cy, double r, double angle, Rgb colour) {
    for (int corner = 0; corner < 4; ++corner) {
        const double a0 = angle + corner * M_PI / 2;
        const double a1 = a0 + M_PI / 2;
        for (double t = 0; t <= 1; t += 0.01) {
            const double x = cx + r * std::sqrt(2.0) * ((1 - t) * std::cos(a0) + t * std::cos(a1));
            const double y = cy + r * std::sqrt(2.0) * ((1 - t) * std::sin(a0) + t * std::sin(a1));
            p.Fill(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x) + 2, static_cast<int>(y) + 2,
                   colour);
        }
    }
}

double Bounce(double t, double range) {
    const double p = std::fmod(t, 2 * range);
    return p < range ? p : 2 * range - p;
}

constexpr int kDemoFrames = 600;
constexpr int kTitleFrames = 150;
constexpr std::string_view kTitles[] = {"QZM PLAYER", "ВИДЕО ДЛЯ ZX!", "TR-DOS И SCL", "ПРИВЕТ, МИР!"};
constexpr std::string_view kMessage =
    "          *** QZM PLAYER *** ZX SPECTRUM VIDEO: 256×192 PIXELS, EIGHT COLOURS *** "
    "ВИДЕО ДЛЯ ZX SPECTRUM: КАДР ЗА КАДРОМ, ВОСЕМЬ ЦВЕТОВ *** MADE WITH QZMTOOL ENCODE AND PACK *** "
    "СДЕЛАНО КОМАНДАМИ QZMTOOL ***";

// Frame `f` of the main demo.
void DrawDemo(Picture& p, int f) {
    // Title bar: the titles slide in from the right one after another, their letters' colours cycle.
    p.Fill(0, 0, kWidth, 24, Spectrum(1));
    const std::string_view title = kTitles[f / kTitleFrames % std::size(kTitles)];
    const int width = static_cast<int>(DecodeUtf8(title).size()) * 16;
    const int slide = std::max(0, 16 - f % kTitleFrames) * 16;
    p.Text((kWidth - width) / 32 * 16 + slide, 4, DecodeUtf8(title), 2, 2,
           [&](std::size_t i) { return Spectrum(2 + static_cast<int>(i + f / 6) % 6); });

    // The landscape with a ball bouncing over it and a square turning, changing colour.
    DrawLandscape(p, 24, 128, 176, 70, 70);
    const double bx = 20 + Bounce(f * 2.5, 216);
    const double by = 40 + Bounce(f * 1.5, 96);
    DrawBall(p, bx, by, 11, Spectrum(2 + f / 50 % 5));
    const int g = f & ~1;  // the square moves every other frame
    DrawSquare(p, 70 + 40 * std::cos(g / 40.0), 88 + 20 * std::sin(g / 25.0), 16, g / 15.0,
               Spectrum(7 - f / 75 % 4));

    // Colour bars stepping along.
    for (int box = 0; box < 16; ++box) {
        p.Fill(box * 16, 152, box * 16 + 16, 168, Spectrum(1 + (box + f / 8) % 7));
    }

    // The message scrolls by two pixels a frame.
    p.Fill(0, 168, kWidth, kHeight, {});
    const int shift = f * 2;
    const std::u32string message = DecodeUtf8(kMessage);
    const std::u32string_view shown =
        std::u32string_view(message).substr(std::min<std::size_t>(shift / 8, message.size()), 33);
    p.Text(-(shift % 8), 176, shown, 1, 1, [](std::size_t) { return Spectrum(6); });
}

constexpr int kSunsetFrames = 250;

// Frame `f` of the sunset: the sun sinks behind the hills, a caption stays.
void DrawSunset(Picture& p, int f) {
    DrawLandscape(p, 0, 176, 120, 40 + f / 4, 60);
    // Three birds crossing the sky.
    for (int bird = 0; bird < 3; ++bird) {
        const int x = (f + bird * 90) % 300 - 20;
        const int y = 30 + bird * 14 + (f / 10 + bird) % 2;
        const int wing = (f / 5 + bird) % 2 == 0 ? 3 : 1;  // wings up or level
        for (int d = 0; d < 4; ++d) {
            p.Set(x + d, y - (3 - d) * wing / 3, {20, 10, 30});
            p.Set(x + 6 - d, y - (3 - d) * wing / 3, {20, 10, 30});
        }
    }
    p.Fill(0, 176, kWidth, kHeight, {});
    p.Text(72, 180, DecodeUtf8("ЗАКАТ - SUNSET"), 1, 1,
           [](std::size_t i) { return Spectrum(i < 5 ? 6 : 5); });
}

}  // namespace

int main(int argc, char** argv) {
    const std::string scene = argc == 3 ? argv[1] : "";
    if (scene != "demo" && scene != "sunset") {
        std::fprintf(stderr, "usage: draw_demo_frames demo|sunset OUT_DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[2];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    const int frames = scene == "demo" ? kDemoFrames : kSunsetFrames;
    for (int f = 0; f < frames; ++f) {
        Picture picture;
        scene == "demo" ? DrawDemo(picture, f) : DrawSunset(picture, f);
        char name[32];
        std::snprintf(name, sizeof name, "frame-%05d.ppm", f + 1);
        if (!picture.Write(dir / name)) {
            std::fprintf(stderr, "draw_demo_frames: cannot write %s\n", (dir / name).c_str());
            return 1;
        }
    }
    std::printf("%s: %d frames in %s\n", scene.c_str(), frames, dir.c_str());
    return 0;
}
