#include "grab_name.h"

#include <algorithm>
#include <cstdio>

namespace qzm::ui {
namespace {

// What may not stand in a file name on one desktop or another.
constexpr std::string_view kUnsafe = "/\\:*?\"<>|";

std::string SafeName(std::string_view name) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!name.empty() && blank(name.front())) {
        name.remove_prefix(1);
    }
    while (!name.empty() && blank(name.back())) {
        name.remove_suffix(1);
    }
    std::string safe(name);
    for (char& c : safe) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || kUnsafe.find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    if (!safe.empty() && safe.front() == '.') {
        safe.front() = '_';  // not a hidden file
    }
    return safe;
}

}  // namespace

std::string GrabBaseName(std::string_view videoName, std::string_view fileStem, int frame) {
    std::string name = SafeName(videoName);
    if (name.empty()) {
        name = SafeName(fileStem);
    }
    if (name.empty()) {
        name = "frame";
    }
    char number[16];
    std::snprintf(number, sizeof number, "-%05d", std::clamp(frame, 0, 99999));
    return name + number;
}

std::string GrabFileName(std::string_view base, int copy) {
    std::string name(base);
    if (copy > 1) {
        name += '-';
        name += std::to_string(copy);
    }
    return name + ".png";
}

}  // namespace qzm::ui
