// Differential target for the encoder: pictures made from the input are encoded, the stream is
// played, and every decoded screen must be exactly the screen the encoder says it coded.
//
// Input: byte 0 dither, 1 threshold, 2 frame count (1-6), 3 allowed modes, 4 allowed forms,
// 5 flags (bit 0: snap channels to 0/255, bit 1: version 1 header, bit 2: each picture's first 6912
// bytes given as a Spectrum screen instead, BRIGHT and FLASH included); the rest draws the pictures:
// the first one tiled from it, each later one the previous with rectangles painted from it.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "fuzz_support.h"
#include "stream_player.h"
#include "video_encoder.h"

namespace {

using namespace qzm::encoder;
using Picture = std::vector<std::uint8_t>;

constexpr std::size_t kOptionBytes = 6;
constexpr std::size_t kRectangleBytes = 7;  // x, y, width, height, red, green, blue

void Paint(Picture& p, const std::uint8_t* r, bool snap) {
    const int x0 = r[0];
    const int y0 = r[1] % kPictureHeight;
    const int x1 = std::min(kPictureWidth, x0 + r[2] % 64 + 1);
    const int y1 = std::min(kPictureHeight, y0 + r[3] % 64 + 1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            for (std::size_t c = 0; c < 3; ++c) {
                const std::uint8_t v = r[4 + c];
                p[(static_cast<std::size_t>(y) * kPictureWidth + static_cast<std::size_t>(x)) * 3 + c] =
                    snap ? (v >= 128 ? 255 : 0) : v;
            }
        }
    }
}

std::vector<Picture> Pictures(const std::uint8_t* data, std::size_t size, int frames, bool snap) {
    std::vector<Picture> pictures;
    Picture p(kPictureBytes, 0);
    if (size > 0) {
        const std::size_t first = std::min(size, kPictureBytes);
        for (std::size_t i = 0; i < first; ++i) {
            p[i] = snap ? (data[i] >= 128 ? 255 : 0) : data[i];
        }
        for (std::size_t filled = first; filled < kPictureBytes; filled *= 2) {  // tile by doubling
            std::memcpy(p.data() + filled, p.data(), std::min(filled, kPictureBytes - filled));
        }
    }
    std::size_t at = 0;
    for (int f = 0; f < frames; ++f) {
        if (f > 0) {
            for (int n = 0; n < 4 && size >= kRectangleBytes; ++n) {
                Paint(p, data + at, snap);
                at = (at + kRectangleBytes) % (size - kRectangleBytes + 1);
            }
        }
        pictures.push_back(p);
    }
    return pictures;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kOptionBytes) {
        return 0;
    }
    EncodeOptions options;
    options.dither = static_cast<Dither>(data[0] % 3);
    options.threshold = data[1] % 65;
    const int frames = data[2] % 6 + 1;
    options.version = (data[5] & 2) != 0 ? 1 : 2;
    VideoEncoder encoder(options);
    encoder.SetAllowedModes(data[3]);
    encoder.SetAllowedForms(data[4]);
    for (const Picture& p : Pictures(data + kOptionBytes, size - kOptionBytes, frames, (data[5] & 1) != 0)) {
        if ((data[5] & 4) != 0) {
            std::array<std::uint8_t, qzm::kScreenBytes> screen;
            std::copy_n(p.begin(), qzm::kScreenBytes, screen.begin());
            encoder.AddScreen(screen);
        } else {
            encoder.AddFrame(p);
        }
    }
    const auto result = encoder.Finish();
    const auto* stream = std::get_if<std::vector<std::uint8_t>>(&result);
    if (stream == nullptr) {
        std::abort();
    }
    qzm::fuzzing::QuietHost host;
    qzm::CStreamPlayer player(host);
    const auto& screens = encoder.Screens();
    if (player.StartStream(stream->data(), stream->size()) != 1) {
        std::abort();
    }
    for (std::size_t f = 0; f < screens.size(); ++f) {
        if (f > 0 && player.DecodeFrame(false) != 1) {
            std::abort();
        }
        const auto shown = player.Screen();
        for (std::size_t i = 0; i < qzm::kScreenBytes; ++i) {
            const std::uint8_t mask = i < qzm::kBitmapBytes ? 0xFF : 0x3F;
            if ((shown[i] & mask) != (screens[f][i] & mask)) {
                std::abort();
            }
        }
    }
    if (player.DecodeFrame(false) != 0 || host.messages != 0) {
        std::abort();
    }
    return 0;
}

void WriteSeeds(const std::filesystem::path& dir) {
    using qzm::fuzzing::WriteSeed;
    const std::vector<std::uint8_t> rectangles{0,   0,   40, 40, 255, 255, 255, 100, 90, 20, 8,  0,  0,   255,
                                               200, 150, 63, 63, 128, 64,  32,  17,  3,  9,  60, 10, 200, 90};
    for (std::uint8_t dither = 0; dither < 3; ++dither) {
        for (const std::uint8_t modes : std::vector<std::uint8_t>{0, 1, 3, 8, 12, 15}) {
            std::vector<std::uint8_t> seed{dither, static_cast<std::uint8_t>(dither * 4), 5, modes,
                                           15,     static_cast<std::uint8_t>(modes & 1)};
            seed.insert(seed.end(), rectangles.begin(), rectangles.end());
            WriteSeed(dir, "d" + std::to_string(dither) + "-m" + std::to_string(modes), seed);
        }
    }
    for (std::uint8_t forms = 1; forms < 16; forms = static_cast<std::uint8_t>(forms * 2)) {
        std::vector<std::uint8_t> seed{0, 0, 4, 15, forms, 1};
        seed.insert(seed.end(), rectangles.begin(), rectangles.end());
        WriteSeed(dir, "forms-" + std::to_string(forms), seed);
        seed[5] = 4;
        WriteSeed(dir, "screens-" + std::to_string(forms), seed);
    }
}
