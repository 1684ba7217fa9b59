// What a file holds, judged by the extension of its path.
#pragma once

#include <string_view>

namespace qzm {

enum class ImageKind {
    Stream,   // ".qzm": one stream at the first byte
    TrDos,    // ".trd": a TR-DOS disk image
    Scl,      // ".scl": an SCL archive
    Unknown,  // anything else, or no "." at all
};

// The extension is the whole rest of the path after its last ".", even when that dot lies in a
// directory name ("a.b/clip" has the extension "b/clip"); it is compared in upper case.
ImageKind KindOfPath(std::string_view path);

}  // namespace qzm
