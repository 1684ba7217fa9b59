// How good the encoder's pictures look, as seen from a viewing distance (both pictures blurred with
// a Gaussian of sigma 1.5, then PSNR and SSIM over the picture, not the bars), per dither mode on
// three rungs of the same eight colours:
//   floor    per cell the two colours of a two-cluster split, no dither
//   ours     the encoder
//   ceiling  the same dither without the two-colours-per-cell limit: the nearest colour, Floyd-
//            Steinberg, or an 8 x 8 Bayer matrix per channel
// and, for videos, how many cells change a frame at the video defaults. The sources are read and
// scaled exactly as qzmtool encode reads them.
//   quality_report [--csv] [--save DIR] PICTURE...   one line per picture, then the means per mode;
//                                                   --save writes the pictures compared (their
//                                                   picture areas) as PPM
//   quality_report --video [--threshold T] VIDEO...   changed cells, bytes and seen quality per frame,
//                                                     at the video default threshold 4 unless told
// scripts/measure-quality.sh makes a corpus and runs this.
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "media_reader.h"
#include "picture_quantizer.h"
#include "seen_quality.h"
#include "video_encoder.h"

namespace {

using namespace qzm::encoder;
using Picture = std::vector<std::uint8_t>;

constexpr int kVideoThreshold = 4;  // qzmtool encode's default for videos
constexpr std::array<Dither, 3> kModes = {Dither::None, Dither::Ordered, Dither::Diffusion};
constexpr const char* kModeNames[] = {"none", "ordered", "diffusion"};

int Level(int k, int c) {
    return (c == 0 ? (k >> 1) & 1 : c == 1 ? (k >> 2) & 1 : k & 1) * 255;
}

std::uint8_t* At(Picture& p, int x, int y) {
    return p.data() + (static_cast<std::size_t>(y) * kPictureWidth + static_cast<std::size_t>(x)) * 3;
}
const std::uint8_t* At(const Picture& p, int x, int y) {
    return p.data() + (static_cast<std::size_t>(y) * kPictureWidth + static_cast<std::size_t>(x)) * 3;
}

bool Inside(const Area& a, int x, int y) {
    return x >= a.x && x < a.x + a.width && y >= a.y && y < a.y + a.height;
}

void PutColour(std::uint8_t* p, int k) {
    for (int c = 0; c < 3; ++c) {
        p[c] = static_cast<std::uint8_t>(Level(k, c));
    }
}

template <typename Value>
int Nearest(const Value* v) {
    int best = 0;
    double bestDistance = 1e30;
    for (int k = 0; k < 8; ++k) {
        double d = 0;
        for (int c = 0; c < 3; ++c) {
            d += (v[c] - Level(k, c)) * static_cast<double>(v[c] - Level(k, c));
        }
        if (d < bestDistance) {
            bestDistance = d, best = k;
        }
    }
    return best;
}

Picture ScreenPicture(const Screen& screen) {
    Picture p(kPictureBytes);
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            const std::uint8_t byte = screen[BitmapOffset(y, x / 8)];
            const std::uint8_t attribute =
                screen[qzm::kBitmapBytes + static_cast<std::size_t>((y / 8) * 32 + x / 8)];
            PutColour(At(p, x, y), (byte >> (7 - x % 8)) & 1 ? attribute & 7 : (attribute >> 3) & 7);
        }
    }
    return p;
}

// Per cell: two clusters of its pixels (a few rounds of k-means from the darkest and the brightest
// pixel), each shown as the colour nearest its mean.
Picture Floor(const Picture& source) {
    Picture out(kPictureBytes);
    for (int cy = 0; cy < kPictureHeight; cy += 8) {
        for (int cx = 0; cx < kPictureWidth; cx += 8) {
            std::array<std::array<double, 3>, 2> centre{};
            int dark = 0, bright = 0;
            for (int i = 0; i < 64; ++i) {
                const auto luma = [&](int j) {
                    const std::uint8_t* p = At(source, cx + j % 8, cy + j / 8);
                    return p[0] * 3 + p[1] * 6 + p[2];
                };
                dark = luma(i) < luma(dark) ? i : dark;
                bright = luma(i) > luma(bright) ? i : bright;
            }
            for (int c = 0; c < 3; ++c) {
                centre[0][static_cast<std::size_t>(c)] = At(source, cx + dark % 8, cy + dark / 8)[c];
                centre[1][static_cast<std::size_t>(c)] = At(source, cx + bright % 8, cy + bright / 8)[c];
            }
            std::array<int, 64> member{};
            for (int round = 0; round < 6; ++round) {
                std::array<std::array<double, 3>, 2> sum{};
                std::array<int, 2> count{};
                for (int i = 0; i < 64; ++i) {
                    const std::uint8_t* p = At(source, cx + i % 8, cy + i / 8);
                    double d[2] = {0, 0};
                    for (std::size_t m = 0; m < 2; ++m) {
                        for (int c = 0; c < 3; ++c) {
                            d[m] += (p[c] - centre[m][static_cast<std::size_t>(c)]) *
                                    (p[c] - centre[m][static_cast<std::size_t>(c)]);
                        }
                    }
                    const int m = d[1] < d[0] ? 1 : 0;
                    member[static_cast<std::size_t>(i)] = m;
                    ++count[static_cast<std::size_t>(m)];
                    for (int c = 0; c < 3; ++c) {
                        sum[static_cast<std::size_t>(m)][static_cast<std::size_t>(c)] += p[c];
                    }
                }
                for (std::size_t m = 0; m < 2; ++m) {
                    for (std::size_t c = 0; c < 3 && count[m] > 0; ++c) {
                        centre[m][c] = sum[m][c] / count[m];
                    }
                }
            }
            const int colour[2] = {Nearest(centre[0].data()), Nearest(centre[1].data())};
            for (int i = 0; i < 64; ++i) {
                PutColour(At(out, cx + i % 8, cy + i / 8), colour[member[static_cast<std::size_t>(i)]]);
            }
        }
    }
    return out;
}

constexpr std::array<std::array<int, 8>, 8> kBayer{{
    {0, 32, 8, 40, 2, 34, 10, 42},
    {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},
    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},
    {63, 31, 55, 23, 61, 29, 53, 21},
}};

// Any colour at any pixel: the nearest, a Bayer matrix per channel, or Floyd-Steinberg in
// serpentine order over the picture area (the bars black).
Picture Ceiling(const Picture& source, Dither dither, const Area& area) {
    Picture out(kPictureBytes, 0);
    std::vector<std::array<double, 3>> error(static_cast<std::size_t>(2 * (kPictureWidth + 2)));
    std::array<double, 3>* current = error.data();
    std::array<double, 3>* next = error.data() + kPictureWidth + 2;
    for (int y = area.y; y < area.y + area.height; ++y) {
        const bool forward = ((y - area.y) & 1) == 0;
        for (int n = 0; n < area.width; ++n) {
            const int x = forward ? area.x + n : area.x + area.width - 1 - n;
            const std::uint8_t* p = At(source, x, y);
            std::uint8_t* q = At(out, x, y);
            if (dither == Dither::None) {
                PutColour(q, Nearest(p));
            } else if (dither == Dither::Ordered) {
                for (int c = 0; c < 3; ++c) {
                    q[c] = 128 * p[c] > (2 * kBayer[static_cast<std::size_t>(y & 7)]
                                                   [static_cast<std::size_t>(x & 7)] +
                                         1) *
                                            255
                               ? 255
                               : 0;
                }
            } else {
                const int step = forward ? 1 : -1;
                std::array<double, 3> v{};
                for (std::size_t c = 0; c < 3; ++c) {
                    v[c] = std::clamp(p[c] + current[x + 1][c], 0.0, 255.0);
                }
                const int k = Nearest(v.data());
                PutColour(q, k);
                for (std::size_t c = 0; c < 3; ++c) {
                    const double e = v[c] - Level(k, static_cast<int>(c));
                    if (Inside(area, x + step, y)) {
                        current[x + 1 + step][c] += e * 7 / 16;
                    }
                    if (Inside(area, x - step, y + 1)) {
                        next[x + 1 - step][c] += e * 3 / 16;
                    }
                    next[x + 1][c] += e * 5 / 16;
                    if (Inside(area, x + step, y + 1)) {
                        next[x + 1 + step][c] += e / 16;
                    }
                }
            }
        }
        std::fill(current, current + kPictureWidth + 2, std::array<double, 3>{});
        std::swap(current, next);
    }
    return out;
}

struct Read {
    std::vector<Picture> frames;
    std::vector<Area> areas;
    std::string error;
};

Read ReadAll(const std::string& path, std::size_t limit) {
    Read r;
    qzm::media::MediaReader reader;
    if (r.error = reader.Open({path}); !r.error.empty()) {
        return r;
    }
    Picture rgb(kPictureBytes);
    while (r.frames.size() < limit) {
        const auto result =
            reader.Next(reader.NaturalDelay(),
                        std::span<std::uint8_t, qzm::media::kFrameBytes>(rgb.data(), rgb.size()), r.error);
        if (result != qzm::media::ReadResult::Frame) {
            break;
        }
        const qzm::media::Rect box = reader.PictureArea();
        r.frames.push_back(rgb);
        r.areas.push_back({box.x, box.y, box.width, box.height});
    }
    return r;
}

struct Rungs {
    SeenQuality floor, ours, ceiling;
};

double Place(double floor, double ours, double ceiling) {
    return ceiling - floor > 1e-9 ? (ours - floor) / (ceiling - floor) : 1.0;
}

// Writes the picture's `area` as FOLDER/NAME.ppm, when a folder is given.
void SavePpm(const std::string& folder, const std::string& name, const Picture& p, const Area& area) {
    if (folder.empty()) {
        return;
    }
    std::FILE* f = std::fopen((std::filesystem::path(folder) / (name + ".ppm")).c_str(), "wb");
    if (f != nullptr) {
        std::fprintf(f, "P6\n%d %d\n255\n", area.width, area.height);
        for (int y = area.y; y < area.y + area.height; ++y) {
            std::fwrite(At(p, area.x, y), 3, static_cast<std::size_t>(area.width), f);
        }
        std::fclose(f);
    }
}

int Pictures(const std::vector<std::string>& paths, bool csv, const std::string& save) {
    std::array<std::vector<Rungs>, 3> all;
    if (csv) {
        std::printf("picture,mode,floor_psnr,ours_psnr,ceiling_psnr,floor_ssim,ours_ssim,ceiling_ssim\n");
    } else {
        std::printf("%-28s %-9s %26s   %26s\n", "picture", "dither", "seen PSNR dB: floor ours ceil",
                    "seen SSIM: floor ours ceil");
    }
    for (const std::string& path : paths) {
        const Read read = ReadAll(path, 1);
        if (read.frames.empty()) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), read.error.c_str());
            return 1;
        }
        const Picture& source = read.frames[0];
        const Area& area = read.areas[0];
        const Picture floor = Floor(source);
        const SeenQuality floorQuality = MeasureSeen(source, floor, area);
        const std::string name = std::filesystem::path(path).filename().string();
        for (std::size_t m = 0; m < kModes.size(); ++m) {
            EncodeOptions options;
            options.dither = kModes[m];
            VideoEncoder encoder(options);
            encoder.AddFrame(source, area);
            const auto result = encoder.Finish();
            if (const auto* error = std::get_if<std::string>(&result); error != nullptr) {
                std::fprintf(stderr, "%s: %s\n", path.c_str(), error->c_str());
                return 1;
            }
            const Picture ours = ScreenPicture(encoder.Screens()[0]);
            const Picture ceiling = Ceiling(source, kModes[m], area);
            const Rungs r{floorQuality, MeasureSeen(source, ours, area), MeasureSeen(source, ceiling, area)};
            const std::string stem = std::filesystem::path(path).stem().string();
            SavePpm(save, stem + "-source", source, area);
            SavePpm(save, stem + "-floor", floor, area);
            SavePpm(save, stem + "-" + kModeNames[m] + "-ours", ours, area);
            SavePpm(save, stem + "-" + kModeNames[m] + "-ceiling", ceiling, area);
            all[m].push_back(r);
            if (csv) {
                std::printf("%s,%s,%.3f,%.3f,%.3f,%.4f,%.4f,%.4f\n", name.c_str(), kModeNames[m],
                            r.floor.psnr, r.ours.psnr, r.ceiling.psnr, r.floor.ssim, r.ours.ssim,
                            r.ceiling.ssim);
            } else {
                std::printf("%-28.28s %-9s %8.2f %8.2f %8.2f   %8.4f %8.4f %8.4f\n", name.c_str(),
                            kModeNames[m], r.floor.psnr, r.ours.psnr, r.ceiling.psnr, r.floor.ssim,
                            r.ours.ssim, r.ceiling.ssim);
            }
        }
    }
    std::printf("\nMeans over %zu pictures (place: where ours stands from floor 0 to ceiling 1):\n",
                paths.size());
    std::printf("%-9s %26s %6s   %26s\n", "dither", "seen PSNR dB: floor ours ceil", "place",
                "seen SSIM: floor ours ceil");
    for (std::size_t m = 0; m < kModes.size(); ++m) {
        Rungs mean{};
        for (const Rungs& r : all[m]) {
            mean.floor.psnr += r.floor.psnr / static_cast<double>(all[m].size());
            mean.ours.psnr += r.ours.psnr / static_cast<double>(all[m].size());
            mean.ceiling.psnr += r.ceiling.psnr / static_cast<double>(all[m].size());
            mean.floor.ssim += r.floor.ssim / static_cast<double>(all[m].size());
            mean.ours.ssim += r.ours.ssim / static_cast<double>(all[m].size());
            mean.ceiling.ssim += r.ceiling.ssim / static_cast<double>(all[m].size());
        }
        std::printf("%-9s %8.2f %8.2f %8.2f %6.2f   %8.4f %8.4f %8.4f\n", kModeNames[m], mean.floor.psnr,
                    mean.ours.psnr, mean.ceiling.psnr,
                    Place(mean.floor.psnr, mean.ours.psnr, mean.ceiling.psnr), mean.floor.ssim,
                    mean.ours.ssim, mean.ceiling.ssim);
    }
    return 0;
}

int ChangedCells(const Screen& before, const Screen& after) {
    int changed = 0;
    for (int cell = 0; cell < kCellCount; ++cell) {
        bool differs = before[qzm::kBitmapBytes + static_cast<std::size_t>(cell)] !=
                       after[qzm::kBitmapBytes + static_cast<std::size_t>(cell)];
        for (int line = 0; line < 8 && !differs; ++line) {
            const std::size_t at = BitmapOffset((cell / 32) * 8 + line, cell % 32);
            differs = before[at] != after[at];
        }
        changed += differs ? 1 : 0;
    }
    return changed;
}

int Videos(const std::vector<std::string>& paths, int threshold) {
    std::printf("%-24s %-9s %6s %12s %10s %10s %9s %8s %9s\n", "video", "dither", "frames", "cells/frame",
                "max cells", "bytes/fr", "PSNR dB", "SSIM", "frames/s");
    for (const std::string& path : paths) {
        const Read read = ReadAll(path, 2000);
        if (read.frames.empty()) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), read.error.c_str());
            return 1;
        }
        const std::string name = std::filesystem::path(path).filename().string();
        for (std::size_t m = 0; m < kModes.size(); ++m) {
            EncodeOptions options;
            options.dither = kModes[m];
            options.threshold = threshold;
            VideoEncoder encoder(options);
            const std::clock_t start = std::clock();
            for (std::size_t f = 0; f < read.frames.size(); ++f) {
                encoder.AddFrame(read.frames[f], read.areas[f]);
            }
            const auto result = encoder.Finish();
            const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
            const auto* stream = std::get_if<std::vector<std::uint8_t>>(&result);
            if (stream == nullptr) {
                std::fprintf(stderr, "%s: %s\n", path.c_str(), std::get<std::string>(result).c_str());
                return 1;
            }
            const auto& screens = encoder.Screens();
            double cells = 0, psnr = 0, ssim = 0;
            int most = 0;
            for (std::size_t f = 0; f < screens.size(); ++f) {
                const SeenQuality q = MeasureSeen(read.frames[f], ScreenPicture(screens[f]), read.areas[f]);
                psnr += q.psnr, ssim += q.ssim;
                if (f > 0) {
                    const int changed = ChangedCells(screens[f - 1], screens[f]);
                    cells += changed;
                    most = std::max(most, changed);
                }
            }
            const auto frames = static_cast<double>(screens.size());
            std::printf("%-24.24s %-9s %6zu %12.1f %10d %10.0f %9.2f %8.4f %9.0f\n", name.c_str(),
                        kModeNames[m], screens.size(), frames > 1 ? cells / (frames - 1) : 0.0, most,
                        static_cast<double>(stream->size()) / frames, psnr / frames, ssim / frames,
                        seconds > 0 ? frames / seconds : 0.0);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> paths;
    bool video = false;
    bool csv = false;
    std::string save;
    int threshold = kVideoThreshold;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--video") == 0) {
            video = true;
        } else if (std::strcmp(argv[i], "--csv") == 0) {
            csv = true;
        } else if (std::strcmp(argv[i], "--threshold") == 0 && i + 1 < argc) {
            threshold = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--save") == 0 && i + 1 < argc) {
            save = argv[++i];
        } else {
            paths.emplace_back(argv[i]);
        }
    }
    if (paths.empty()) {
        std::fprintf(stderr, "usage: quality_report [--csv] [--save DIR] PICTURE... | quality_report --video "
                             "[--threshold T] VIDEO...\n");
        return 2;
    }
    return video ? Videos(paths, threshold) : Pictures(paths, csv, save);
}
