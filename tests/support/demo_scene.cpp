#include "demo_scene.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "coded_frames.h"
#include "stream_builder.h"

namespace qzm::testing {
namespace {

using encoder::BitmapOffset;

constexpr int kWidth = 256;
constexpr int kHeight = 192;

// The letters of the title and the digits, 8 x 8: each glyph's lines are its bytes, the top line
// in the high byte, bit 7 of a line leftmost.
constexpr std::string_view kGlyphChars = "QZMPLAYERDO0123456789";
constexpr std::uint64_t kGlyphs[] = {
    0x3C6666666A6C3600, 0x7E060C1830607E00, 0x63777F6B63636300, 0x7C66667C60606000, 0x6060606060607E00,
    0x3C66667E66666600, 0x6666663C18181800, 0x7E60607C60607E00, 0x7C66667C6C666600, 0x786C6666666C7800,
    0x3C66666666663C00, 0x3C666E7666663C00, 0x1838181818187E00, 0x3C66060C30607E00, 0x3C66061C06663C00,
    0x0C1C3C6C7E0C0C00, 0x7E607C0606663C00, 0x1C30607C66663C00, 0x7E060C1830303000, 0x3C66663C66663C00,
    0x3C66663E060C3800};

// Writes `text` (the characters above and blanks) from byte column `column`, pixel line `y` down.
void DrawText(std::span<std::uint8_t, kScreenBytes> s, int column, int y, std::string_view text) {
    for (char c : text) {
        if (const std::size_t glyph = kGlyphChars.find(c); glyph != std::string_view::npos) {
            for (int line = 0; line < 8; ++line) {
                s[BitmapOffset(y + line, column)] =
                    static_cast<std::uint8_t>(kGlyphs[glyph] >> (56 - 8 * line));
            }
        }
        ++column;
    }
}

void SetPixel(std::span<std::uint8_t, kScreenBytes> s, int x, int y) {
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) {
        return;
    }
    s[BitmapOffset(y, x >> 3)] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
}

// Bounces `t * speed` back and forth over 0..range.
int Bounce(int t, int speed, int range) {
    const int p = (t * speed) % (2 * range);
    return p < range ? p : 2 * range - p;
}

}  // namespace

void DrawDemoScreen(int frame, int colourFrame, std::span<std::uint8_t, kScreenBytes> screen) {
    std::fill(screen.begin(), screen.begin() + kBitmapBytes, 0);
    // Attributes: white on a blue title strip; a black middle with green, cyan and yellow inks; colour
    // bars at the bottom, white on cycling papers.
    const int shift = colourFrame >= 0 && frame >= colourFrame ? (frame - colourFrame) / 2 : 0;
    for (int row = 0; row < 24; ++row) {
        for (int column = 0; column < kAttributeColumns; ++column) {
            const bool middle = row >= 2 && row < 21;
            const int paper = row < 2 ? 1 : middle ? 0 : (column / 4 + shift + row) % 7 + 1;
            screen[kBitmapBytes + static_cast<std::size_t>(row * kAttributeColumns + column)] =
                static_cast<std::uint8_t>(paper << 3 | (middle ? 4 + std::min((row - 2) / 6, 2) : 7));
        }
    }

    DrawText(screen, 1, 4, "QZM PLAYER DEMO");

    // The frame number, right-aligned in the title strip.
    const std::string number = std::to_string(frame);
    DrawText(screen, 31 - static_cast<int>(number.size()), 4, number);
    // A dotted rule under the title strip.
    for (int x = 0; x < kWidth; x += 2) {
        SetPixel(screen, x, 17);
    }

    // A scrolling wave across the middle.
    for (int x = 0; x < kWidth; ++x) {
        const double phase = (x + 3.0 * frame) / 18.0;
        const int y = 100 + static_cast<int>(std::lround(28.0 * std::sin(phase)));
        SetPixel(screen, x, y);
        SetPixel(screen, x, y + 1);
    }

    // A filled ball that bounces around the middle area.
    const int cx = 12 + Bounce(frame, 3, kWidth - 24);
    const int cy = 32 + Bounce(frame, 2, 120);
    for (int dy = -11; dy <= 11; ++dy) {
        for (int dx = -11; dx <= 11; ++dx) {
            if (dx * dx + dy * dy <= 121 && ((dx + dy) & 3) != 0) {
                SetPixel(screen, cx + dx, cy + dy);
            }
        }
    }

    // Stripes in the colour bars, moving one pixel every fourth frame.
    for (int y = 168; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (((x + y + frame / 4) & 7) < 2) {
                SetPixel(screen, x, y);
            }
        }
    }
}

std::vector<std::uint8_t> BuildDemoStream(const DemoStreamOptions& options) {
    StreamBuilder out;
    out.Header({.version = options.version,
                .name = options.name,
                .frameCount = static_cast<std::uint16_t>(std::min(options.frames, 65535)),
                .frameDelay = options.frameDelay,
                .title = options.title,
                .author = options.author});

    FormWriter writer(out, kWhiteOnBlack);
    const int frames = options.frames;
    const int maskedFrom = frames / 4;
    const int xorFrom = frames * 45 / 100;
    const int packedFrom = frames * 65 / 100;
    encoder::Screen screen{};
    for (int f = 0; f < frames; ++f) {
        // Attributes may change from the frame after the one that switches to the packed form.
        DrawDemoScreen(f + 1, packedFrom + 2, screen);
        FrameForm form = FrameForm::Literal;
        if (f == 0 || (f < maskedFrom && f % 64 == 0)) {
            form = FrameForm::FullScreen;
        } else if (f >= xorFrom && f % 40 == 0) {
            form = FrameForm::LScreen;
        } else if (f >= packedFrom) {
            form = FrameForm::Packed;
        } else if (f >= xorFrom) {
            form = FrameForm::MaskedXor;
        } else if (f >= maskedFrom) {
            form = FrameForm::Masked;
        }
        if (!writer.Write(screen, form)) {
            writer.Write(screen, FrameForm::LScreen);
        }
    }
    writer.EndStream();

    // The block list: the stream's length in 256-byte blocks, as bytes of at most 255.
    std::vector<std::uint8_t> data = out.Take();
    std::size_t blocks = (data.size() + 255) / 256;
    for (std::size_t i = kHeaderBlockList; i < kHeaderBytes - 1 && blocks > 0; ++i) {
        const std::size_t b = std::min<std::size_t>(blocks, 255);
        data[i] = static_cast<std::uint8_t>(b);
        blocks -= b;
    }
    return data;
}

}  // namespace qzm::testing
