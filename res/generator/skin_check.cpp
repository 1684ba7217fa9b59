#include "skin_check.h"

#include <set>

#include "image.h"

namespace qzm::skin {
namespace {

struct Expected {
    const char* name;
    int width;
    int height;
    bool button;  // also has a hover picture, and its corners show the window blue
};

constexpr Expected kFiles[] = {
    {"open", 24, 24, true},     {"play", 24, 24, true},        {"stop", 24, 24, true},
    {"info", 24, 24, true},     {"options", 24, 24, true},     {"about", 16, 16, true},
    {"ontop", 16, 16, true},    {"minimize", 16, 16, true},    {"maximize", 16, 16, true},
    {"close", 16, 16, true},    {"digits", 8, 176, false},     {"title", 112, 16, false},
    {"icon-16", 16, 16, false}, {"icon-32", 32, 32, false},    {"icon-48", 48, 48, false},
    {"icon-64", 64, 64, false}, {"icon-128", 128, 128, false}, {"icon-256", 256, 256, false},
};

// The width of the title box that shows the title picture from its left edge.
constexpr int kTitleBoxWidth = 104;

void CheckButton(const std::string& name, const Image& im, std::vector<std::string>& faults) {
    const int m = im.Width() - 1;
    for (auto [x, y] : {std::pair{0, 0}, {m, 0}, {0, m}, {m, m}}) {
        if (im.At(x, y) != kWindowBlue) {
            faults.push_back(name + ": corner " + std::to_string(x) + "," + std::to_string(y) +
                             " is not the window blue");
        }
    }
    const Rgba face = im.At(im.Width() / 2, 2);
    const bool yellow = face.r > 0x90 && face.g > 0x80 && face.b + 0x40 < face.g;
    if (im.Width() == 24 && !yellow) {
        faults.push_back(name + ": the button face is not yellow");
    }
    if (im.Width() == 16 && face == kWindowBlue) {
        faults.push_back(name + ": the button face does not stand out from the window blue");
    }
}

void CheckDigits(const Image& im, std::vector<std::string>& faults) {
    std::set<std::vector<bool>> shapes;
    for (int k = 0; k < 11; ++k) {
        std::vector<bool> lit;
        for (int y = 16 * k; y < 16 * k + 16; ++y) {
            for (int x = 0; x < 8; ++x) {
                const Rgba p = im.At(x, y);
                if (p != Opaque(4, 4, 4) && p != Opaque(0, 255, 0)) {
                    faults.push_back("digits: pixel " + std::to_string(x) + "," + std::to_string(y) +
                                     " is neither the ground nor the stroke colour");
                    return;
                }
                lit.push_back(p.g == 255);
            }
        }
        shapes.insert(lit);
    }
    if (shapes.size() != 11) {
        faults.push_back("digits: the 11 glyphs are not all different");
    }
}

void CheckTitle(const Image& im, std::vector<std::string>& faults) {
    int white = 0;
    for (int y = 0; y < im.Height(); ++y) {
        for (int x = 0; x < im.Width(); ++x) {
            const Rgba p = im.At(x, y);
            white += p == Opaque(255, 255, 255) ? 1 : 0;
            if (p != kWindowBlue && (x >= kTitleBoxWidth || y == 0 || y == im.Height() - 1)) {
                faults.push_back("title: drawing at " + std::to_string(x) + "," + std::to_string(y) +
                                 " falls outside the part the title box shows");
                return;
            }
        }
    }
    if (white < 100) {
        faults.push_back("title: no white lettering");
    }
}

}  // namespace

std::vector<std::string> CheckSkin(const std::string& dir) {
    std::vector<std::string> faults;
    for (const Expected& e : kFiles) {
        for (const char* variant : {"", "-hover"}) {
            if (*variant != '\0' && !e.button) {
                continue;
            }
            const std::string name = std::string(e.name) + variant + ".png";
            Image im(0, 0, {});
            std::string error;
            if (!ReadPng(dir + "/" + name, im, error)) {
                faults.push_back(error);
                continue;
            }
            if (im.Width() != e.width || im.Height() != e.height) {
                faults.push_back(name + ": " + std::to_string(im.Width()) + "x" +
                                 std::to_string(im.Height()) + " instead of " + std::to_string(e.width) +
                                 "x" + std::to_string(e.height));
            } else if (e.button) {
                CheckButton(name, im, faults);
            } else if (name == "digits.png") {
                CheckDigits(im, faults);
            } else if (name == "title.png") {
                CheckTitle(im, faults);
            }
        }
    }
    return faults;
}

}  // namespace qzm::skin
