#include "image_kind.h"

#include <algorithm>

namespace qzm {
namespace {

bool EqualsUpperCased(std::string_view text, std::string_view upper) {
    return std::equal(text.begin(), text.end(), upper.begin(), upper.end(), [](char a, char b) {
        return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
    });
}

}  // namespace

ImageKind KindOfPath(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) {
        return ImageKind::Unknown;
    }
    const std::string_view extension = path.substr(dot + 1);
    if (EqualsUpperCased(extension, "QZM")) {
        return ImageKind::Stream;
    }
    if (EqualsUpperCased(extension, "TRD")) {
        return ImageKind::TrDos;
    }
    if (EqualsUpperCased(extension, "SCL")) {
        return ImageKind::Scl;
    }
    return ImageKind::Unknown;
}

}  // namespace qzm
