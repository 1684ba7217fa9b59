// Draws every picture of the player's skin and its icons and writes them as PNG files.
//   make_skin OUTDIR          writes the pictures into OUTDIR
//   make_skin --check DIR     checks the pictures in DIR: names, sizes and their defining pixels
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "pictures.h"
#include "skin_check.h"

namespace {

using qzm::skin::Image;

struct Picture {
    std::string name;
    Image image;
};

std::vector<Picture> AllPictures() {
    using qzm::skin::FrameSymbol;
    using qzm::skin::PanelSymbol;
    std::vector<Picture> all;
    const std::pair<const char*, PanelSymbol> panel[] = {{"open", PanelSymbol::Eject},
                                                         {"play", PanelSymbol::PlayPause},
                                                         {"stop", PanelSymbol::Stop},
                                                         {"info", PanelSymbol::Info},
                                                         {"options", PanelSymbol::Wrench}};
    for (const auto& [name, symbol] : panel) {
        all.push_back({std::string(name) + ".png", qzm::skin::PanelButton(symbol, false)});
        all.push_back({std::string(name) + "-hover.png", qzm::skin::PanelButton(symbol, true)});
    }
    const std::pair<const char*, FrameSymbol> frame[] = {{"about", FrameSymbol::About},
                                                         {"ontop", FrameSymbol::OnTop},
                                                         {"minimize", FrameSymbol::Minimize},
                                                         {"maximize", FrameSymbol::Maximize},
                                                         {"close", FrameSymbol::Close}};
    for (const auto& [name, symbol] : frame) {
        all.push_back({std::string(name) + ".png", qzm::skin::FrameButton(symbol, false)});
        all.push_back({std::string(name) + "-hover.png", qzm::skin::FrameButton(symbol, true)});
    }
    all.push_back({"digits.png", qzm::skin::DigitStrip()});
    all.push_back({"title.png", qzm::skin::TitleImage()});
    for (int size : {16, 32, 48, 64, 128, 256}) {
        all.push_back({"icon-" + std::to_string(size) + ".png", qzm::skin::AppIcon(size)});
    }
    return all;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] != "--check") {
        for (const Picture& p : AllPictures()) {
            const std::string error = qzm::skin::WritePng(std::string(args[0]) + "/" + p.name, p.image);
            if (!error.empty()) {
                std::fprintf(stderr, "make_skin: %s\n", error.c_str());
                return 1;
            }
        }
        return 0;
    }
    if (args.size() == 2 && args[0] == "--check") {
        const std::vector<std::string> faults = qzm::skin::CheckSkin(std::string(args[1]));
        for (const std::string& f : faults) {
            std::fprintf(stderr, "make_skin: %s\n", f.c_str());
        }
        return faults.empty() ? 0 : 1;
    }
    std::fprintf(stderr, "usage: make_skin OUTDIR | make_skin --check DIR\n");
    return 2;
}
