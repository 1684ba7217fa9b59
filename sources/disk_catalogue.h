// Catalogues of TR-DOS disk images and SCL archives, and the videos they hold.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image_kind.h"

namespace qzm {

// Entry bytes 8-11 (type letter, start field, low byte of the length) of a video.
inline constexpr std::array<std::uint8_t, 4> kVideoTag{'Q', 'Z', 'M', 0};

// One catalogue entry as the walk read it.
struct CatalogueEntry {
    std::string name;                 // bytes 0-7 up to a zero byte, in UTF-8 (see WindowsTextToUtf8)
    std::array<std::uint8_t, 4> tag;  // bytes 8-11
    std::uint8_t sectors;             // byte 13: the file's length in 256-byte sectors
    std::size_t offset;               // where the file's data begins; may lie at or past the end

    bool IsVideo() const { return tag == kVideoTag; }
};

struct VideoEntry {
    std::string name;
    std::size_t offset;
};

// Every entry the catalogue walk examines, in catalogue order. Nothing is read beyond `file`; an
// entry that does not lie wholly inside it ends the walk. Stream files and unknown kinds have none.
std::vector<CatalogueEntry> WalkCatalogue(std::span<const std::uint8_t> file, ImageKind kind);

// How many leading bytes of a file the catalogue walk reads, judged from the file's first bytes
// `head`: walking those bytes finds what walking the whole file finds. Nothing when `head` ends
// inside a TR-DOS catalogue, whose length only its end tells; a number above head.size() when the
// SCL catalogue needs more. Stream files and unknown kinds have no catalogue: 0.
std::optional<std::size_t> CatalogueBytes(std::span<const std::uint8_t> head, ImageKind kind);

// The most videos listed from one image: more than a disk or an archive can hold (128 TR-DOS
// catalogue entries, 255 SCL files), so only a crafted catalogue is cut short.
inline constexpr std::size_t kMaxListedVideos = 256;

// The videos among them in catalogue order, the first kMaxListedVideos of them.
std::vector<VideoEntry> ListVideos(std::span<const std::uint8_t> file, ImageKind kind);

}  // namespace qzm
