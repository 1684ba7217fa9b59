#include "image_writer.h"

#include <cstdio>
#include <memory>

#include <png.h>

#include "messages.h"

namespace qzm::tool {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool WritePpm(std::FILE* f, const RgbImage& image) {
    std::fprintf(f, "P6\n%d %d\n255\n", image.width, image.height);
    return std::fwrite(image.rgb.data(), 1, image.rgb.size(), f) == image.rgb.size();
}

bool WritePng(std::FILE* f, const RgbImage& image, std::string& error) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        error = _("cannot start a PNG writer");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = _("PNG writer failed");
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        png_write_row(png, image.rgb.data() + static_cast<std::size_t>(y) * image.width * 3);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

void RgbImage::Resize(int w, int h) {
    width = w;
    height = h;
    rgb.resize(static_cast<std::size_t>(w) * h * 3);
}

void RgbImage::FromIndexed(const std::uint8_t* bottomUpRows, int w, int h,
                           std::span<const PaletteEntry, kColourCount> palette) {
    Resize(w, h);
    std::uint8_t* out = rgb.data();
    for (int row = 0; row < h; ++row) {
        const std::uint8_t* src = bottomUpRows + static_cast<std::size_t>(h - 1 - row) * w;
        for (int x = 0; x < w; ++x) {
            const PaletteEntry& e = palette[src[x] & 7];
            *out++ = e.red;
            *out++ = e.green;
            *out++ = e.blue;
        }
    }
}

void RgbImage::FromPixels(const Pixel32* pixels, int w, int h) {
    Resize(w, h);
    std::uint8_t* out = rgb.data();
    for (std::size_t i = 0, n = static_cast<std::size_t>(w) * h; i < n; ++i) {
        *out++ = static_cast<std::uint8_t>(PixelRed(pixels[i]));
        *out++ = static_cast<std::uint8_t>(PixelGreen(pixels[i]));
        *out++ = static_cast<std::uint8_t>(PixelBlue(pixels[i]));
    }
}

bool WriteImage(const std::filesystem::path& path, const RgbImage& image, ImageFormat format,
                std::string& error) {
    File f(std::fopen(path.c_str(), "wb"));
    if (!f) {
        error = Format(_("cannot write %s"), path.c_str());
        return false;
    }
    const bool ok = format == ImageFormat::Ppm ? WritePpm(f.get(), image) : WritePng(f.get(), image, error);
    if (!ok) {
        if (error.empty()) {
            error = Format(_("cannot write %s"), path.c_str());
        }
        return false;
    }
    if (std::fclose(f.release()) != 0) {
        error = Format(_("cannot write %s"), path.c_str());
        return false;
    }
    return true;
}

bool WriteScreen(const std::filesystem::path& path, std::span<const std::uint8_t> screen,
                 std::string& error) {
    File f(std::fopen(path.c_str(), "wb"));
    if (!f || std::fwrite(screen.data(), 1, screen.size(), f.get()) != screen.size() ||
        std::fclose(f.release()) != 0) {
        error = Format(_("cannot write %s"), path.c_str());
        return false;
    }
    return true;
}

}  // namespace qzm::tool
