#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qzm::skin {

// A straight (not premultiplied) RGBA colour.
struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
    bool operator==(const Rgba&) const = default;
};

constexpr Rgba Opaque(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return {r, g, b, 255};
}

// The window's background blue; every skin picture that is not a full square shows it in its corners.
constexpr Rgba kWindowBlue = Opaque(0x00, 0x55, 0xE5);

// Mixes a and b: t = 0 gives a, t = 1 gives b (t is clamped).
Rgba Mix(Rgba a, Rgba b, double t);

class Image {
public:
    Image(int width, int height, Rgba fill);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgba At(int x, int y) const { return pixels_[Index(x, y)]; }
    void Set(int x, int y, Rgba c) { pixels_[Index(x, y)] = c; }
    // Lays c over the pixel with the given coverage (0..1), "source over" for straight alpha.
    void Blend(int x, int y, Rgba c, double coverage);
    // Copies src with its top-left corner at (x, y); parts outside this image are dropped.
    void Paste(const Image& src, int x, int y);

    bool IsOpaque() const;
    const std::vector<Rgba>& Pixels() const { return pixels_; }

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

    int width_;
    int height_;
    std::vector<Rgba> pixels_;
};

// Writes 8-bit RGB (or RGBA when some pixel is not opaque) with fixed settings and no time stamp, so
// the same image always gives the same bytes. Returns an error text or empty.
std::string WritePng(const std::string& path, const Image& image);
// Reads any 8-bit PNG as RGBA. Returns false (with error set) when the file cannot be read.
bool ReadPng(const std::string& path, Image& image, std::string& error);

}  // namespace qzm::skin
