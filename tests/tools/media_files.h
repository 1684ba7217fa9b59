// Video and picture files the tool tests write for themselves.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>

#include "image_writer.h"
#include "temp_dir.h"

namespace qzm::testing {

// A YUV4MPEG video of `frames` flat grey 64 x 48 frames at `rate` ("50:1"); frame k has luma
// 16 + 20 k, which shows as red, green and blue of about 23.3 k.
inline std::string WriteGreyVideo(const TempDir& dir, const std::string& name, const std::string& rate,
                                  int frames) {
    constexpr int kPixels = 64 * 48;
    std::string text = "YUV4MPEG2 W64 H48 F" + rate + " Ip A1:1 C444\n";
    for (int k = 0; k < frames; ++k) {
        text += "FRAME\n";
        text.append(kPixels, static_cast<char>(16 + 20 * k));
        text.append(2 * kPixels, static_cast<char>(128));
    }
    return dir.Write(name, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// Writes `image` with the project's image writer and returns its path.
inline std::string WritePicture(const TempDir& dir, const std::string& name, const tool::RgbImage& image,
                                tool::ImageFormat format) {
    std::string error;
    if (!tool::WriteImage(dir.Path() / name, image, format, error)) {
        ADD_FAILURE() << error;
    }
    return (dir.Path() / name).string();
}

// A `w` x `h` picture of one colour.
inline std::string WritePicture(const TempDir& dir, const std::string& name, int w, int h, std::uint8_t r,
                                std::uint8_t g, std::uint8_t b, tool::ImageFormat format) {
    tool::RgbImage image;
    image.Resize(w, h);
    for (std::size_t i = 0; i < image.rgb.size(); ++i) {
        image.rgb[i] = i % 3 == 0 ? r : i % 3 == 1 ? g : b;
    }
    return WritePicture(dir, name, image, format);
}

}  // namespace qzm::testing
