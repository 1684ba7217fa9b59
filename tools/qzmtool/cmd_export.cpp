// qzmtool export: decodes a video and writes its frames as pictures.
#include <cstdio>
#include <filesystem>
#include <memory>

#include "arguments.h"
#include "commands.h"
#include "image_writer.h"
#include "renderer.h"
#include "terminal_host.h"
#include "video_loader.h"

namespace qzm::tool {
namespace {

struct ExportOptions {
    std::string input;
    std::filesystem::path out;
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
        error = "export takes one FILE";
        return false;
    }
    o.input = args->Positional()[0];
    const auto out = args->Option("out");
    if (!out || out->empty()) {
        error = "export needs --out DIR";
        return false;
    }
    o.out = *out;
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
    if (const auto format = args->Option("format")) {
        if (*format == "ppm") {
            o.format = ImageFormat::Ppm;
        } else if (*format == "png") {
            o.format = ImageFormat::Png;
        } else {
            error = "--format is ppm or png";
            return false;
        }
    }
    if (const auto size = args->Option("size");
        size && !ParseSize(*size, kMaxExportSide, o.width, o.height)) {
        error = "--size is WxH, each from 1 to " + std::to_string(kMaxExportSide);
        return false;
    }
    return true;
}

std::filesystem::path FramePath(const ExportOptions& o, unsigned long number) {
    char name[64];
    std::snprintf(name, sizeof name, "frame-%05lu.%s", number, o.format == ImageFormat::Png ? "png" : "ppm");
    return o.out / name;
}

}  // namespace

int RunExport(const std::vector<std::string>& words) {
    ExportOptions o;
    std::string error;
    if (!ParseExport(words, o, error)) {
        Complain(error);
        return kExitUsage;
    }

    TerminalHost host(o.videoRow);
    CStreamPlayer player(host);
    if (OpenVideo(player, o.input) == 0) {
        if (player.State() == PlayerState::Ended) {
            Complain("the first frame of " + o.input + " cannot be decoded");
        }
        return kExitFailure;
    }
    if (o.from) {
        player.Seek(static_cast<int>(*o.from));
        if (player.State() != PlayerState::Playing) {
            Complain("the video ends before frame " + std::to_string(*o.from));
            return kExitFailure;
        }
    }
    std::error_code ec;
    std::filesystem::create_directories(o.out, ec);
    if (ec) {
        Complain("cannot create " + o.out.string() + ": " + ec.message());
        return kExitFailure;
    }

    // At the native size the picture is the palette-index image itself; any other size is the
    // renderer's output at exactly that size.
    std::unique_ptr<CRenderer> renderer;
    if (o.width != kImageWidth || o.height != kImageHeight) {
        renderer = CreateRenderer(o.filter);
    }
    RgbImage image;
    unsigned long number = static_cast<unsigned long>(player.CurrentFrame());
    for (long written = 0; o.count < 0 || written < o.count; ++written, ++number) {
        if (written > 0 && player.DecodeFrame(true) == 0) {
            break;
        }
        if (renderer) {
            renderer->Render(player.IndexedImage().data(), o.width, o.height, 0, 0);
            image.FromPixels(renderer->Pixels(), o.width, o.height);
        } else {
            image.FromIndexed(player.IndexedImage().data(), kImageWidth, kImageHeight, player.GetPalette());
        }
        if (!WriteImage(FramePath(o, number), image, o.format, error)) {
            Complain(error);
            return kExitFailure;
        }
    }
    return kExitOk;
}

}  // namespace qzm::tool
