// qzmtool export: decodes a video and writes its frames as pictures, or as raw frames to stdout.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "arguments.h"
#include "commands.h"
#include "image_writer.h"
#include "messages.h"
#include "progress_line.h"
#include "renderer.h"
#include "terminal_host.h"
#include "video_loader.h"

namespace qzm::tool {
namespace {

// Raw frames for a pipe: 32-bit blue, green, red, 255 or 24-bit red, green, blue, top row first.
enum class RawFormat { Bgra, Rgb24 };

struct ExportOptions {
    std::string input;
    std::filesystem::path out;
    bool toStdout = false;  // --out -
    RawFormat raw = RawFormat::Bgra;
    bool screens = false;  // --format scr: the Spectrum screens themselves
    std::optional<long> from;
    long count = -1;  // -1: to the end
    ImageFormat format = ImageFormat::Ppm;
    int width = kImageWidth;
    int height = kImageHeight;
    int filter = FilterNearest;
    int videoRow = 0;
};

constexpr int kMaxExportSide = 16384;

bool ParseExport(const std::vector<std::string>& words, ExportOptions& o, std::string& error) {
    const auto args =
        Arguments::Parse(words, {"out", "from", "count", "format", "size", "filter", "video"}, error);
    if (!args) {
        return false;
    }
    if (args->Positional().size() != 1) {
        error = _("export takes one FILE");
        return false;
    }
    o.input = args->Positional()[0];
    const auto out = args->Option("out");
    if (!out || out->empty()) {
        error = _("export needs --out DIR");
        return false;
    }
    o.out = *out;
    o.toStdout = *out == "-";
    o.from = args->Number("from", 0, 65535, error);
    const auto count = args->Number("count", 0, 1'000'000'000, error);
    const auto filter = args->Number("filter", 0, 3, error);
    const auto video = args->Number("video", 1, 100'000, error);
    if (!error.empty()) {
        return false;
    }
    o.count = count.value_or(-1);
    o.filter = static_cast<int>(filter.value_or(FilterNearest));
    o.videoRow = static_cast<int>(video.value_or(1)) - 1;
    if (const auto format = args->Option("format"); o.toStdout) {
        if (format.value_or("bgra") == "bgra") {
            o.raw = RawFormat::Bgra;
        } else if (*format == "rgb24") {
            o.raw = RawFormat::Rgb24;
        } else {
            error = _("with --out - the --format is bgra or rgb24");
            return false;
        }
    } else if (format) {
        if (*format == "ppm") {
            o.format = ImageFormat::Ppm;
        } else if (*format == "png") {
            o.format = ImageFormat::Png;
        } else if (*format == "scr") {
            o.screens = true;
        } else {
            error = _("--format is ppm, png or scr (bgra or rgb24 with --out -)");
            return false;
        }
    }
    if (o.screens && args->Option("size")) {
        error = _("--format scr writes the screens as they are: --size does not apply");
        return false;
    }
    if (const auto size = args->Option("size");
        size && !ParseSize(*size, kMaxExportSide, o.width, o.height)) {
        error = Format(_("--size is WxH, each from 1 to %d"), kMaxExportSide);
        return false;
    }
    return true;
}

std::filesystem::path FramePath(const ExportOptions& o, unsigned long number) {
    char name[64];
    const char* extension = o.format == ImageFormat::Png ? "png" : "ppm";
    std::snprintf(name, sizeof name, "frame-%05lu.%s", number, o.screens ? "scr" : extension);
    return o.out / name;
}

// Writes one frame to stdout in the raw format; `bgra` is reused from frame to frame.
bool WriteRaw(const RgbImage& image, RawFormat format, std::vector<std::uint8_t>& bgra) {
    if (format == RawFormat::Rgb24) {
        return std::fwrite(image.rgb.data(), 1, image.rgb.size(), stdout) == image.rgb.size();
    }
    bgra.resize(image.rgb.size() / 3 * 4);
    for (std::size_t i = 0, j = 0; i < image.rgb.size(); i += 3, j += 4) {
        bgra[j] = image.rgb[i + 2];
        bgra[j + 1] = image.rgb[i + 1];
        bgra[j + 2] = image.rgb[i];
        bgra[j + 3] = 0xFF;
    }
    return std::fwrite(bgra.data(), 1, bgra.size(), stdout) == bgra.size();
}

}  // namespace

int RunExport(const std::vector<std::string>& words) {
    ExportOptions o;
    std::string error;
    if (!ParseExport(words, o, error)) {
        Complain(error);
        return kExitUsage;
    }
    if (o.toStdout && isatty(STDOUT_FILENO)) {
        Complain(_("--out - writes raw frames: send them into a pipe or a file, not to the terminal"));
        return kExitUsage;
    }

    TerminalHost host(o.videoRow);
    CStreamPlayer player(host);
    if (OpenVideo(player, o.input) == 0) {
        if (player.State() == PlayerState::Ended) {
            Complain(Format(_("the first frame of %s cannot be decoded"), o.input.c_str()));
        }
        return kExitFailure;
    }
    if (o.from) {
        player.Seek(static_cast<int>(*o.from));
        if (player.State() != PlayerState::Playing) {
            Complain(Format(_("the video ends before frame %ld"), *o.from));
            return kExitFailure;
        }
    }
    std::error_code ec;
    if (!o.toStdout) {
        std::filesystem::create_directories(o.out, ec);
    }
    if (ec) {
        Complain(Format(_("cannot create %s: %s"), o.out.c_str(), ec.message().c_str()));
        return kExitFailure;
    }

    // At the native size the picture is the palette-index image itself; any other size is the
    // renderer's output at exactly that size.
    std::unique_ptr<CRenderer> renderer;
    if (o.width != kImageWidth || o.height != kImageHeight) {
        renderer = CreateRenderer(o.filter);
    }
    RgbImage image;
    std::vector<std::uint8_t> bgra;
    unsigned long number = static_cast<unsigned long>(player.CurrentFrame());
    const long left =
        std::max(0L, static_cast<long>(player.Header().FrameCount()) - static_cast<long>(number) + 1);
    ProgressLine progress(_("exporting"));
    for (long written = 0; o.count < 0 || written < o.count; ++written, ++number) {
        if (written > 0 && player.DecodeFrame(true) == 0) {
            break;
        }
        bool saved = false;
        if (o.screens) {
            saved = WriteScreen(FramePath(o, number), player.Screen(), error);
        } else {
            if (renderer) {
                renderer->Render(player.IndexedImage().data(), o.width, o.height, 0, 0);
                image.FromPixels(renderer->Pixels(), o.width, o.height);
            } else {
                image.FromIndexed(player.IndexedImage().data(), kImageWidth, kImageHeight,
                                  player.GetPalette());
            }
            if (o.toStdout) {
                saved = WriteRaw(image, o.raw, bgra);
                error = _("cannot write frames to the standard output");
            } else {
                saved = WriteImage(FramePath(o, number), image, o.format, error);
            }
        }
        if (!saved) {
            progress.Finish();
            Complain(error);
            return kExitFailure;
        }
        progress.Update(written + 1, o.count < 0 ? left : std::min(o.count, left));
    }
    progress.Finish();
    if (o.toStdout && std::fflush(stdout) != 0) {
        Complain(_("cannot write frames to the standard output"));
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace qzm::tool
