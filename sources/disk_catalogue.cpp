#include "disk_catalogue.h"

#include <algorithm>

#include "dos_text.h"

namespace qzm {
namespace {

// Both formats start an entry with the same 14 bytes:
//   0-7 name, 8 type letter, 9-10 start field, 11-12 length in bytes, 13 length in sectors.
constexpr std::size_t kNameBytes = 8;
constexpr std::size_t kTagByte = 8;
constexpr std::size_t kSectorsByte = 13;
constexpr std::size_t kSectorBytes = 256;

CatalogueEntry ReadEntry(std::span<const std::uint8_t> entry, std::size_t offset) {
    CatalogueEntry out{WindowsTextToUtf8(entry.first(kNameBytes)), {}, entry[kSectorsByte], offset};
    std::copy_n(entry.begin() + kTagByte, out.tag.size(), out.tag.begin());
    return out;
}

// TR-DOS disk image: 256-byte sectors, 16 to a track, track after track, so sector s of track t
// begins at t * 4096 + s * 256. The catalogue is a run of 16-byte entries from byte 0; bytes 14
// and 15 of an entry are the first sector and track of the file's data. Entry 0 is always read
// (a deleted first file keeps its entry, with a first name byte of 1); the run ends before the next
// entry whose first byte is zero, or where the data ends.
constexpr std::size_t kTrdEntryBytes = 16;
constexpr std::size_t kTrdSectorByte = 14;
constexpr std::size_t kTrdTrackByte = 15;
constexpr std::size_t kTrackBytes = 16 * kSectorBytes;

// Where the run of entries in `file` ends: at the entry that ends it, with `ended` set, or after the
// last whole entry in `file`.
std::size_t TrDosRunEnd(std::span<const std::uint8_t> file, bool& ended) {
    ended = false;
    std::size_t pos = 0;
    for (; kTrdEntryBytes <= file.size() - pos; pos += kTrdEntryBytes) {
        if (pos > 0 && file[pos] == 0) {
            ended = true;
            break;
        }
    }
    return pos;
}

std::vector<CatalogueEntry> WalkTrDos(std::span<const std::uint8_t> file) {
    std::vector<CatalogueEntry> entries;
    bool ended = false;
    const std::size_t end = TrDosRunEnd(file, ended);
    for (std::size_t pos = 0; pos < end; pos += kTrdEntryBytes) {
        const std::span<const std::uint8_t> entry = file.subspan(pos, kTrdEntryBytes);
        const std::size_t data = entry[kTrdTrackByte] * kTrackBytes + entry[kTrdSectorByte] * kSectorBytes;
        entries.push_back(ReadEntry(entry, data));
    }
    return entries;
}

// SCL archive: an 8-byte signature (not examined), the number of files n at byte 8, n entries of
// 14 bytes from byte 9, then the files' data back to back in catalogue order, each one its length
// in sectors times 256 bytes. So the data of entry i begins at 9 + 14n + 256 * (sectors of all
// earlier entries). Entries that a short file cuts off are not read.
constexpr std::size_t kSclCountByte = 8;
constexpr std::size_t kSclFirstEntry = 9;
constexpr std::size_t kSclEntryBytes = 14;

std::vector<CatalogueEntry> WalkScl(std::span<const std::uint8_t> file) {
    std::vector<CatalogueEntry> entries;
    if (file.size() <= kSclCountByte) {
        return entries;
    }
    const std::size_t count = file[kSclCountByte];
    std::size_t data = kSclFirstEntry + kSclEntryBytes * count;
    for (std::size_t pos = kSclFirstEntry; entries.size() < count && kSclEntryBytes <= file.size() - pos;
         pos += kSclEntryBytes) {
        entries.push_back(ReadEntry(file.subspan(pos, kSclEntryBytes), data));
        data += entries.back().sectors * kSectorBytes;
    }
    return entries;
}

}  // namespace

std::optional<std::size_t> CatalogueBytes(std::span<const std::uint8_t> head, ImageKind kind) {
    switch (kind) {
        case ImageKind::TrDos: {
            bool ended = false;
            const std::size_t end = TrDosRunEnd(head, ended);
            return ended ? std::optional(end + kTrdEntryBytes) : std::nullopt;
        }
        case ImageKind::Scl:
            if (head.size() <= kSclCountByte) {
                return kSclFirstEntry;
            }
            return kSclFirstEntry + kSclEntryBytes * head[kSclCountByte];
        case ImageKind::Stream:
        case ImageKind::Unknown: break;
    }
    return 0;
}

std::vector<CatalogueEntry> WalkCatalogue(std::span<const std::uint8_t> file, ImageKind kind) {
    switch (kind) {
        case ImageKind::TrDos: return WalkTrDos(file);
        case ImageKind::Scl: return WalkScl(file);
        case ImageKind::Stream:
        case ImageKind::Unknown: break;
    }
    return {};
}

std::vector<VideoEntry> ListVideos(std::span<const std::uint8_t> file, ImageKind kind) {
    std::vector<VideoEntry> videos;
    for (CatalogueEntry& entry : WalkCatalogue(file, kind)) {
        if (entry.IsVideo()) {
            videos.push_back({std::move(entry.name), entry.offset});
        }
    }
    return videos;
}

}  // namespace qzm
