#include "image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include <png.h>

namespace qzm::skin {
namespace {

std::uint8_t ToByte(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

Rgba Mix(Rgba a, Rgba b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto mix = [t](std::uint8_t x, std::uint8_t y) { return ToByte(x + (y - x) * t); };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b), mix(a.a, b.a)};
}

Image::Image(int width, int height, Rgba fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

void Image::Blend(int x, int y, Rgba c, double coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0.0) {
        return;
    }
    Rgba& d = pixels_[Index(x, y)];
    const double sa = c.a / 255.0 * std::min(coverage, 1.0);
    const double da = d.a / 255.0;
    const double oa = sa + da * (1.0 - sa);
    if (oa <= 0.0) {
        return;
    }
    auto over = [&](std::uint8_t s, std::uint8_t dst) {
        return ToByte((s * sa + dst * da * (1.0 - sa)) / oa);
    };
    d = {over(c.r, d.r), over(c.g, d.g), over(c.b, d.b), ToByte(oa * 255.0)};
}

void Image::Paste(const Image& src, int x, int y) {
    for (int sy = 0; sy < src.height_; ++sy) {
        for (int sx = 0; sx < src.width_; ++sx) {
            const int tx = x + sx;
            const int ty = y + sy;
            if (tx >= 0 && ty >= 0 && tx < width_ && ty < height_) {
                Set(tx, ty, src.At(sx, sy));
            }
        }
    }
}

bool Image::IsOpaque() const {
    return std::all_of(pixels_.begin(), pixels_.end(), [](Rgba p) { return p.a == 255; });
}

std::string WritePng(const std::string& path, const Image& image) {
    File f(std::fopen(path.c_str(), "wb"));
    if (!f) {
        return "cannot create " + path;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return "cannot start a PNG writer";
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return "PNG writer failed on " + path;
    }
    const bool opaque = image.IsOpaque();
    const int channels = opaque ? 3 : 4;
    png_init_io(png, f.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width()), static_cast<png_uint_32>(image.Height()),
                 8, opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(image.Width()) * channels);
    for (int y = 0; y < image.Height(); ++y) {
        png_byte* out = row.data();
        for (int x = 0; x < image.Width(); ++x) {
            const Rgba p = image.At(x, y);
            *out++ = p.r;
            *out++ = p.g;
            *out++ = p.b;
            if (!opaque) {
                *out++ = p.a;
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return {};
}

bool ReadPng(const std::string& path, Image& image, std::string& error) {
    png_image pi{};
    pi.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&pi, path.c_str()) == 0) {
        error = path + ": " + pi.message;
        return false;
    }
    pi.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> bytes(PNG_IMAGE_SIZE(pi));
    if (png_image_finish_read(&pi, nullptr, bytes.data(), 0, nullptr) == 0) {
        error = path + ": " + pi.message;
        png_image_free(&pi);
        return false;
    }
    const int w = static_cast<int>(pi.width);
    const int h = static_cast<int>(pi.height);
    image = Image(w, h, {});
    const png_byte* in = bytes.data();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x, in += 4) {
            image.Set(x, y, {in[0], in[1], in[2], in[3]});
        }
    }
    return true;
}

}  // namespace qzm::skin
