// Writes RGB pictures as PPM or PNG files, and Spectrum screens as .scr files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "indexed_image.h"

namespace qzm::tool {

enum class ImageFormat { Ppm, Png };

// 8-bit RGB, top row first.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    void Resize(int w, int h);
    // From a bottom-up picture of colour numbers and its palette.
    void FromIndexed(const std::uint8_t* bottomUpRows, int w, int h,
                     std::span<const PaletteEntry, kColourCount> palette);
    // From 32-bit pixels, top row first.
    void FromPixels(const Pixel32* pixels, int w, int h);
};

// Writes `image` to `path`; on failure returns false with a reason in `error`.
bool WriteImage(const std::filesystem::path& path, const RgbImage& image, ImageFormat format,
                std::string& error);

// Writes a Spectrum screen's 6912 bytes as they are, a .scr file; on failure returns false with a
// reason in `error`.
bool WriteScreen(const std::filesystem::path& path, std::span<const std::uint8_t> screen, std::string& error);

}  // namespace qzm::tool
