// qzmtool thumbnail: one representative frame of a video as a small PNG, for file managers.
#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>

#include "arguments.h"
#include "commands.h"
#include "display_geometry.h"
#include "image_writer.h"
#include "messages.h"
#include "renderer.h"
#include "terminal_host.h"
#include "video_loader.h"

namespace qzm::tool {
namespace {

constexpr long kDefaultSize = 256;
constexpr long kMinSize = 16;
constexpr long kMaxSize = 4096;

constexpr int kCellRows = 24;
constexpr int kCells = kCellRows * kAttributeColumns;
// A frame is worth showing once this many of its cells show two colours; title cards, fades and
// blank frames have few.
constexpr int kDetailedCells = kCells / 4;

// How many of the screen's 8 x 8 cells show two colours: ink and paper differ and both appear. A
// row of cells is taken a pixel line at a time, 32 bytes side by side, so that it runs fast enough
// to be asked of every frame.
int TwoColourCells(std::span<const std::uint8_t, kScreenBytes> screen) {
    int count = 0;
    for (int row = 0; row < kCellRows; ++row) {
        // The top pixel line of the row: the screen third, then the row within it.
        const std::uint8_t* top = screen.data() + (((row & 0x18) << 8) | ((row & 7) << 5));
        std::array<std::uint8_t, kAttributeColumns> any{};
        std::array<std::uint8_t, kAttributeColumns> all;
        all.fill(0xFF);
        for (int line = 0; line < kCellLines; ++line) {
            const std::uint8_t* bits = top + line * kCellLineStride;
            for (int column = 0; column < kAttributeColumns; ++column) {
                any[column] |= bits[column];
                all[column] &= bits[column];
            }
        }
        const std::uint8_t* attributes = screen.data() + kBitmapBytes + row * kAttributeColumns;
        for (int column = 0; column < kAttributeColumns; ++column) {
            // Without branches: which way they go changes from cell to cell.
            const bool inkIsNotPaper = ((attributes[column] ^ (attributes[column] >> 3)) & 7) != 0;
            count += static_cast<int>(inkIsNotPaper) & static_cast<int>(any[column] != 0) &
                     static_cast<int>(all[column] != 0xFF);
        }
    }
    return count;
}

// Decodes forward from the first frame, once, to the first frame from a tenth of the video on that
// has detail enough, or else to the middle frame. A stream that ends before either gives its last
// frame. The picture is left in the player's IndexedImage.
void ShowRepresentativeFrame(CStreamPlayer& player) {
    const int frames = player.Header().FrameCount();
    const int first = std::max(1, frames / 10);
    const int middle = std::max(first, frames / 2);
    for (int shown = 1;; ++shown) {
        if (shown >= middle || (shown >= first && TwoColourCells(player.Screen()) >= kDetailedCells)) {
            break;
        }
        if (player.DecodeFrame(false) == 0) {
            player.Seek(shown);  // back to the last frame that decoded
            break;
        }
    }
    player.ScreenToIndexed();
}

}  // namespace

int RunThumbnail(const std::vector<std::string>& words) {
    std::string error;
    const auto args = Arguments::Parse(words, {"size", "video"}, error);
    if (!args || args->Positional().size() != 2) {
        Complain(args ? _("thumbnail takes FILE and OUT.png") : error);
        return kExitUsage;
    }
    const auto size = args->Number("size", kMinSize, kMaxSize, error);
    const auto video = args->Number("video", 1, 100'000, error);
    if (!error.empty()) {
        Complain(error);
        return kExitUsage;
    }
    const std::string& input = args->Positional()[0];
    const std::filesystem::path out = args->Positional()[1];

    TerminalHost host(static_cast<int>(video.value_or(1)) - 1);
    CStreamPlayer player(host);
    if (OpenVideo(player, input) == 0) {
        if (player.State() == PlayerState::Ended) {
            Complain(Format(_("the first frame of %s cannot be decoded"), input.c_str()));
        }
        return kExitFailure;
    }
    ShowRepresentativeFrame(player);

    const int side = static_cast<int>(size.value_or(kDefaultSize));
    const DisplayGeometry fit = FitDisplayArea(side, side);
    const std::unique_ptr<CRenderer> renderer = CreateRenderer(FilterBicubic);
    renderer->Render(player.IndexedImage().data(), fit.width, fit.height, 0, 0);
    RgbImage image;
    image.FromPixels(renderer->Pixels(), fit.width, fit.height);
    if (!WriteImage(out, image, ImageFormat::Png, error)) {
        std::error_code ignored;
        std::filesystem::remove(out, ignored);  // no half-written picture is left behind
        Complain(error);
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace qzm::tool
