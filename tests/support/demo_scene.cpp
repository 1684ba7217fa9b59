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

// The letters of the title and the digits, 8 x 8, top line first, bit 7 leftmost.
struct Letter {
    char c;
    std::uint8_t lines[8];
};
constexpr Letter kLetters[] = {
    {'Q', {0x3C, 0x66, 0x66, 0x66, 0x6A, 0x6C, 0x36, 0x00}},
    {'Z', {0x7E, 0x06, 0x0C, 0x18, 0x30, 0x60, 0x7E, 0x00}},
    {'M', {0x63, 0x77, 0x7F, 0x6B, 0x63, 0x63, 0x63, 0x00}},
    {'P', {0x7C, 0x66, 0x66, 0x7C, 0x60, 0x60, 0x60, 0x00}},
    {'L', {0x60, 0x60, 0x60, 0x60, 0x60, 0x60, 0x7E, 0x00}},
    {'A', {0x3C, 0x66, 0x66, 0x7E, 0x66, 0x66, 0x66, 0x00}},
    {'Y', {0x66, 0x66, 0x66, 0x3C, 0x18, 0x18, 0x18, 0x00}},
    {'E', {0x7E, 0x60, 0x60, 0x7C, 0x60, 0x60, 0x7E, 0x00}},
    {'R', {0x7C, 0x66, 0x66, 0x7C, 0x6C, 0x66, 0x66, 0x00}},
    {'D', {0x78, 0x6C, 0x66, 0x66, 0x66, 0x6C, 0x78, 0x00}},
    {'O', {0x3C, 0x66, 0x66, 0x66, 0x66, 0x66, 0x3C, 0x00}},
    {'0', {0x3C, 0x66, 0x6E, 0x76, 0x66, 0x66, 0x3C, 0x00}},
    {'1', {0x18, 0x38, 0x18, 0x18, 0x18, 0x18, 0x7E, 0x00}},
    {'2', {0x3C, 0x66, 0x06, 0x0C, 0x30, 0x60, 0x7E, 0x00}},
    {'3', {0x3C, 0x66, 0x06, 0x1C, 0x06, 0x66, 0x3C, 0x00}},
    {'4', {0x0C, 0x1C, 0x3C, 0x6C, 0x7E, 0x0C, 0x0C, 0x00}},
    {'5', {0x7E, 0x60, 0x7C, 0x06, 0x06, 0x66, 0x3C, 0x00}},
    {'6', {0x1C, 0x30, 0x60, 0x7C, 0x66, 0x66, 0x3C, 0x00}},
    {'7', {0x7E, 0x06, 0x0C, 0x18, 0x30, 0x30, 0x30, 0x00}},
    {'8', {0x3C, 0x66, 0x66, 0x3C, 0x66, 0x66, 0x3C, 0x00}},
    {'9', {0x3C, 0x66, 0x66, 0x3E, 0x06, 0x0C, 0x38, 0x00}},
};

// Writes `text` (the characters above and blanks) from byte column `column`, pixel line `y` down.
void DrawText(std::span<std::uint8_t, kScreenBytes> s, int column, int y, std::string_view text) {
    for (char c : text) {
        for (const Letter& letter : kLetters) {
            if (letter.c == c) {
                for (int line = 0; line < 8; ++line) {
                    s[BitmapOffset(y + line, column)] = letter.lines[line];
                }
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

void SetAttribute(std::span<std::uint8_t, kScreenBytes> s, int row, int column, int ink, int paper) {
    s[kBitmapBytes + static_cast<std::size_t>(row * kAttributeColumns + column)] =
        static_cast<std::uint8_t>((paper << 3) | ink);
}

// Bounces `t * speed` back and forth over 0..range.
int Bounce(int t, int speed, int range) {
    const int p = (t * speed) % (2 * range);
    return p < range ? p : 2 * range - p;
}

}  // namespace

void DrawDemoScreen(int frame, int colourFrame, std::span<std::uint8_t, kScreenBytes> screen) {
    std::fill(screen.begin(), screen.begin() + kBitmapBytes, 0);
    // Attributes: blue title strip, a black middle with coloured inks, colour bars at the bottom.
    for (int row = 0; row < 24; ++row) {
        for (int column = 0; column < kAttributeColumns; ++column) {
            if (row < 2) {
                SetAttribute(screen, row, column, 7, 1);
            } else if (row >= 21) {
                const int shift = colourFrame >= 0 && frame >= colourFrame ? (frame - colourFrame) / 2 : 0;
                SetAttribute(screen, row, column, 7, ((column / 4 + shift + row) % 7) + 1);
            } else {
                SetAttribute(screen, row, column, 4 + std::min((row - 2) / 6, 2), 0);  // green, cyan, yellow
            }
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
    HeaderFields header;
    header.version = options.version;
    header.name = options.name;
    header.frameCount = static_cast<std::uint16_t>(std::min(options.frames, 65535));
    header.frameDelay = options.frameDelay;
    header.title = options.title;
    header.author = options.author;
    out.Header(header);

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
