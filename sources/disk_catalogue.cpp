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

// Calls `visit` with each entry of the run and its data offset, in catalogue order, until it
// returns false.
template <typename Visit>
void VisitTrDos(std::span<const std::uint8_t> file, Visit visit) {
    bool ended = false;
    const std::size_t end = TrDosRunEnd(file, ended);
    for (std::size_t pos = 0; pos < end; pos += kTrdEntryBytes) {
        const std::span<const std::uint8_t> entry = file.subspan(pos, kTrdEntryBytes);
        const std::size_t data = entry[kTrdTrackByte] * kTrackBytes + entry[kTrdSectorByte] * kSectorBytes;
        if (!visit(entry, data)) {
            return;
        }
    }
}

// SCL archive: an 8-byte signature (not examined), the number of files n at byte 8, n entries of
// 14 bytes from byte 9, then the files' data back to back in catalogue order, each one its length
// in sectors times 256 bytes. So the data of entry i begins at 9 + 14n + 256 * (sectors of all
// earlier entries). Entries that a short file cuts off are not read.
constexpr std::size_t kSclCountByte = 8;
constexpr std::size_t kSclFirstEntry = 9;
constexpr std::size_t kSclEntryBytes = 14;

template <typename Visit>
void VisitScl(std::span<const std::uint8_t> file, Visit visit) {
    if (file.size() <= kSclCountByte) {
        return;
    }
    const std::size_t count = file[kSclCountByte];
    std::size_t data = kSclFirstEntry + kSclEntryBytes * count;
    std::size_t pos = kSclFirstEntry;
    for (std::size_t i = 0; i < count && kSclEntryBytes <= file.size() - pos; ++i, pos += kSclEntryBytes) {
        const std::span<const std::uint8_t> entry = file.subspan(pos, kSclEntryBytes);
        if (!visit(entry, data)) {
            return;
        }
        data += entry[kSectorsByte] * kSectorBytes;
    }
}

template <typename Visit>
void VisitCatalogue(std::span<const std::uint8_t> file, ImageKind kind, Visit visit) {
    switch (kind) {
        case ImageKind::TrDos: VisitTrDos(file, visit); break;
        case ImageKind::Scl: VisitScl(file, visit); break;
        case ImageKind::Stream:
        case ImageKind::Unknown: break;
    }
}

bool IsVideoEntry(std::span<const std::uint8_t> entry) {
    return std::equal(kVideoTag.begin(), kVideoTag.end(), entry.begin() + kTagByte);
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
    std::vector<CatalogueEntry> entries;
    VisitCatalogue(file, kind, [&](std::span<const std::uint8_t> entry, std::size_t data) {
        entries.push_back(ReadEntry(entry, data));
        return true;
    });
    return entries;
}

std::vector<VideoEntry> ListVideos(std::span<const std::uint8_t> file, ImageKind kind) {
    // Only tagged entries are read into the list: a crafted image's catalogue may run on for
    // millions of entries.
    std::vector<VideoEntry> videos;
    VisitCatalogue(file, kind, [&](std::span<const std::uint8_t> entry, std::size_t data) {
        if (IsVideoEntry(entry)) {
            videos.push_back({WindowsTextToUtf8(entry.first(kNameBytes)), data});
        }
        return videos.size() < kMaxListedVideos;
    });
    return videos;
}

}  // namespace qzm
