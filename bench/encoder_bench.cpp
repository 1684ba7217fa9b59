// Encoder speed (256 x 192 RGB in, QZM stream out) against copying the input and against the 20 ms a
// frame lasts at 50 fps; then the stream sizes it reaches on the bundled demo and on a full-motion
// clip, per coding form.
//   QZM_ENCODER_CLIP=clip.rgb  raw RGB24 256x192 frames (e.g. from ffmpeg's testsrc2) for the size table
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "player_host.h"
#include "ratio_report.h"
#include "stream_player.h"
#include "video_encoder.h"

namespace {

using namespace qzm::encoder;
using Picture = std::vector<std::uint8_t>;

constexpr int kClipFrames = 100;

// Moving content in the manner of a test card: scrolling colour gradients, a rotating bar, three
// bouncing discs and a noisy strip.
Picture SynthesiseFrame(int frame) {
    Picture p(kPictureBytes);
    const double angle = frame * 0.05;
    const double cx = std::cos(angle);
    const double sy = std::sin(angle);
    std::uint32_t noise = 0x9E3779B9u * static_cast<std::uint32_t>(frame + 1);
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            int r = (x + frame * 3) & 255;
            int g = (y * 4 / 3 + frame) & 255;
            int b = ((x + y) / 2 + frame * 5) & 255;
            const double dx = x - 128;
            const double dy = y - 96;
            if (std::abs(dx * sy - dy * cx) < 6 && dx * dx + dy * dy < 80 * 80) {
                r = g = b = 255;
            }
            for (int d = 0; d < 3; ++d) {
                const int px = (40 + frame * (3 + d) + d * 60) % 512;
                const int bx = px < 256 ? px : 511 - px;
                const int by = 30 + d * 60;
                if ((x - bx) * (x - bx) + (y - by) * (y - by) < 200) {
                    r = d == 0 ? 255 : 0, g = d == 1 ? 255 : 0, b = d == 2 ? 255 : 0;
                }
            }
            if (y >= 176) {
                noise = noise * 1664525u + 1013904223u;
                r = g = b = static_cast<int>(noise >> 24);
            }
            std::uint8_t* q =
                p.data() + (static_cast<std::size_t>(y) * kPictureWidth + static_cast<std::size_t>(x)) * 3;
            q[0] = static_cast<std::uint8_t>(r), q[1] = static_cast<std::uint8_t>(g),
            q[2] = static_cast<std::uint8_t>(b);
        }
    }
    return p;
}

const std::vector<Picture>& Clip() {
    static const std::vector<Picture> clip = [] {
        std::vector<Picture> frames;
        for (int f = 0; f < kClipFrames; ++f) {
            frames.push_back(SynthesiseFrame(f));
        }
        return frames;
    }();
    return clip;
}

void BM_CopyInput(benchmark::State& state) {
    Picture out(kPictureBytes);
    for (auto _ : state) {
        for (const Picture& p : Clip()) {
            std::memcpy(out.data(), p.data(), kPictureBytes);
            benchmark::DoNotOptimize(out.data());
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kClipFrames);
}
BENCHMARK(BM_CopyInput)->Unit(benchmark::kMillisecond);

// Colour choice, dithering, the size of every form and the final coding of the clip, at the
// pictures' threshold (0) and the videos' (4, which adds the test for cells that look unchanged).
void BM_Encode(benchmark::State& state) {
    EncodeOptions options;
    options.dither = static_cast<Dither>(state.range(0));
    options.threshold = static_cast<int>(state.range(1));
    for (auto _ : state) {
        VideoEncoder encoder(options);
        for (const Picture& p : Clip()) {
            encoder.AddFrame(p);
        }
        auto stream = encoder.Finish();
        benchmark::DoNotOptimize(stream);
    }
    state.SetItemsProcessed(state.iterations() * kClipFrames);
    // Seconds of video at 50 fps per second of encoding.
    state.counters["x_realtime"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kClipFrames * 0.02, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Encode)
    ->ArgsProduct({{0, 1, 2}, {0, 4}})
    ->ArgNames({"dither", "threshold"})
    ->Unit(benchmark::kMillisecond);

// --- Sizes ----------------------------------------------------------------------------------------

class SilentHost : public qzm::IPlayerHost {
public:
    void ShowMessage(std::string_view) override {}
    int ChooseVideo(std::span<const std::string>) override { return 0; }
};

std::size_t BitmapOffsetOf(int y, int column) {
    return static_cast<std::size_t>(((y >> 6) << 11) | ((y & 7) << 8) | (((y >> 3) & 7) << 5) | column);
}

Picture ScreenToPicture(std::span<const std::uint8_t, qzm::kScreenBytes> screen) {
    Picture p(kPictureBytes);
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            const std::uint8_t byte = screen[BitmapOffsetOf(y, x / 8)];
            const std::uint8_t attribute =
                screen[qzm::kBitmapBytes + static_cast<std::size_t>((y / 8) * 32 + x / 8)];
            const int c = (byte >> (7 - x % 8)) & 1 ? attribute & 7 : (attribute >> 3) & 7;
            std::uint8_t* q =
                p.data() + (static_cast<std::size_t>(y) * kPictureWidth + static_cast<std::size_t>(x)) * 3;
            q[0] = static_cast<std::uint8_t>((c >> 1 & 1) * 255);
            q[1] = static_cast<std::uint8_t>((c >> 2 & 1) * 255);
            q[2] = static_cast<std::uint8_t>((c & 1) * 255);
        }
    }
    return p;
}

// The bundled demo's frames, as the player shows them.
std::vector<Picture> DemoPictures() {
    std::ifstream in(std::string(QZM_SOURCE_DIR) + "/samples/demo.qzm", std::ios::binary);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
    std::vector<Picture> frames;
    SilentHost host;
    qzm::CStreamPlayer player(host);
    if (file.empty() || player.StartStream(file.data(), file.size()) == 0) {
        return frames;
    }
    do {
        frames.push_back(ScreenToPicture(player.Screen()));
    } while (player.DecodeFrame(false) == 1);
    return frames;
}

std::vector<Picture> ClipFromFile(const char* path) {
    std::vector<Picture> frames;
    std::ifstream in(path, std::ios::binary);
    Picture p(kPictureBytes);
    while (frames.size() < kMaxFrames &&
           in.read(reinterpret_cast<char*>(p.data()), static_cast<std::streamsize>(p.size()))) {
        frames.push_back(p);
    }
    return frames;
}

void PrintSizes(const char* label, const std::vector<Picture>& frames, Dither dither, int threshold) {
    if (frames.empty()) {
        std::printf("  %s: no frames (not found)\n", label);
        return;
    }
    EncodeOptions options;
    options.dither = dither;
    options.threshold = threshold;
    VideoEncoder encoder(options);
    for (const Picture& p : frames) {
        encoder.AddFrame(p);
    }
    const auto stream = encoder.Finish();
    if (const auto* error = std::get_if<std::string>(&stream); error != nullptr) {
        std::printf("  %s: %s\n", label, error->c_str());
        return;
    }
    const EncodeStatistics& s = encoder.Statistics();
    std::printf(
        "  %s, %zu frames, dither %d, threshold %d: %zu bytes of %zu as whole screens = %.4f (%.2f%%)\n",
        label, frames.size(), static_cast<int>(dither), threshold, s.streamBytes, s.fullScreenBytes,
        static_cast<double>(s.streamBytes) / static_cast<double>(s.fullScreenBytes),
        100.0 * static_cast<double>(s.streamBytes) / static_cast<double>(s.fullScreenBytes));
    std::printf(
        "      final DecoderMode %u; per form: frames, bytes, saved against whole screens, saved against "
        "the next best form, stream bytes with this form alone (LSCREEN where attributes need it)\n",
        s.finalMode);
    const EncodeStatistics all = s;
    static const char* const kNames[kFrameFormCount] = {"items", "full screen", "LSCREEN", "packed"};
    for (int f = 0; f < kFrameFormCount; ++f) {
        encoder.SetAllowedForms(1u << f);
        const std::size_t alone = std::get<std::vector<std::uint8_t>>(encoder.Finish()).size();
        const FormStatistics& form = all.forms[static_cast<std::size_t>(f)];
        std::printf("      %-12s %6zu %10zu %10lld %10lld %10zu\n", kNames[f], form.frames, form.bytes,
                    static_cast<long long>(form.saved), static_cast<long long>(form.savedAgainstNext), alone);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int result = qzm::bench::RunWithRatios(
        argc, argv,
        {
            {"encode none / memcpy of the input", "BM_Encode/dither:0/threshold:0", "BM_CopyInput"},
            {"encode ordered / memcpy of the input", "BM_Encode/dither:1/threshold:0", "BM_CopyInput"},
            {"encode diffusion / memcpy of the input", "BM_Encode/dither:2/threshold:0", "BM_CopyInput"},
            {"encode none, threshold 4 / memcpy", "BM_Encode/dither:0/threshold:4", "BM_CopyInput"},
            {"encode ordered, threshold 4 / memcpy", "BM_Encode/dither:1/threshold:4", "BM_CopyInput"},
            {"encode diffusion, threshold 4 / memcpy", "BM_Encode/dither:2/threshold:4", "BM_CopyInput"},
        });
    std::printf("\nStream sizes (goal for the demo: <= 0.25 of whole screens):\n");
    PrintSizes("bundled demo", DemoPictures(), Dither::None, 0);
    const char* clipPath = std::getenv("QZM_ENCODER_CLIP");
    const std::vector<Picture> clip = clipPath != nullptr ? ClipFromFile(clipPath) : Clip();
    const char* clipLabel = clipPath != nullptr ? clipPath : "synthesised clip";
    for (const int threshold : {0, 8}) {
        for (const Dither dither : {Dither::Ordered, Dither::Diffusion}) {
            PrintSizes(clipLabel, clip, dither, threshold);
        }
    }
    return result;
}
