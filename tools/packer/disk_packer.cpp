#include "disk_packer.h"

#include <algorithm>
#include <numeric>

namespace qzm::packer {
namespace {

constexpr std::size_t kHeadBytes = 14;   // name, type, start, length, sectors: both formats
constexpr std::size_t kEntryBytes = 16;  // TR-DOS adds the first sector and track

// Where the system sector keeps its fields: track 0, sector 8.
constexpr std::size_t kSystemSector = 8 * kSectorBytes;
constexpr std::size_t kFirstFreeSector = kSystemSector + 0xE1;
constexpr std::size_t kFirstFreeTrack = kSystemSector + 0xE2;
constexpr std::size_t kDiskType = kSystemSector + 0xE3;
constexpr std::size_t kFileCount = kSystemSector + 0xE4;
constexpr std::size_t kFreeSectors = kSystemSector + 0xE5;  // 16 bits
constexpr std::size_t kTrDosId = kSystemSector + 0xE7;
constexpr std::size_t kBlanks = kSystemSector + 0xEA;  // nine blanks, as FORMAT writes them
constexpr std::size_t kDeletedCount = kSystemSector + 0xF4;
constexpr std::size_t kLabel = kSystemSector + 0xF5;
constexpr std::uint8_t kDoubleSided80 = 0x16;
constexpr std::uint8_t kTrDosIdValue = 0x10;
constexpr std::uint8_t kDeletedMark = 1;

constexpr std::uint8_t kVideoType = 'Q';
constexpr std::uint16_t kVideoStart = 'Z' | ('M' << 8);  // bytes 9 and 10 read "ZM"

std::uint8_t Low(std::size_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t High(std::size_t value) {
    return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

std::string NameText(const Name& name) {
    return std::string(name.begin(), name.end());
}

// Checks that `files` fit in one disk's catalogue and sectors; returns the reason when they do not.
std::string CheckFits(std::span<const DiskFile> files) {
    if (files.size() > kMaxEntries) {
        return "too many files for one disk: " + std::to_string(files.size()) +
               " catalogue entries needed, a disk holds " + std::to_string(kMaxEntries);
    }
    std::size_t sectors = 0;
    for (const DiskFile& file : files) {
        if (file.Sectors() > kMaxEntrySectors) {
            return "file '" + NameText(file.name) + "' is longer than " + std::to_string(kMaxEntrySectors) +
                   " sectors";
        }
        sectors += file.Sectors();
    }
    if (sectors > kFileSectors) {
        return "too large for the disk: " + std::to_string(sectors) + " sectors needed, a disk holds " +
               std::to_string(kFileSectors);
    }
    return {};
}

void PutHead(std::uint8_t* head, const DiskFile& file) {
    std::copy(file.name.begin(), file.name.end(), head);
    head[8] = file.type;
    head[9] = Low(file.start);
    head[10] = High(file.start);
    head[11] = Low(file.length);
    head[12] = High(file.length);
    head[13] = static_cast<std::uint8_t>(file.Sectors());
}

}  // namespace

PackResult WriteTrDos(std::span<const DiskFile> files, const Name& label) {
    if (std::string error = CheckFits(files); !error.empty()) {
        return error;
    }
    std::vector<std::uint8_t> image(kDiskBytes, 0);
    std::size_t next = kSectorsPerTrack;  // the first free sector, counted from the disk's start
    std::size_t deleted = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const DiskFile& file = files[i];
        std::uint8_t* entry = &image[i * kEntryBytes];
        PutHead(entry, file);
        entry[14] = static_cast<std::uint8_t>(next % kSectorsPerTrack);
        entry[15] = static_cast<std::uint8_t>(next / kSectorsPerTrack);
        std::ranges::copy(file.data, image.begin() + static_cast<std::ptrdiff_t>(next * kSectorBytes));
        next += file.Sectors();
        deleted += file.name[0] == kDeletedMark ? 1 : 0;
    }
    const std::size_t freeSectors = kDiskSectors - next;
    image[kFirstFreeSector] = static_cast<std::uint8_t>(next % kSectorsPerTrack);
    image[kFirstFreeTrack] = static_cast<std::uint8_t>(next / kSectorsPerTrack);
    image[kDiskType] = kDoubleSided80;
    image[kFileCount] = static_cast<std::uint8_t>(files.size());
    image[kFreeSectors] = Low(freeSectors);
    image[kFreeSectors + 1] = High(freeSectors);
    image[kTrDosId] = kTrDosIdValue;
    std::fill_n(image.begin() + kBlanks, 9, ' ');
    image[kDeletedCount] = static_cast<std::uint8_t>(deleted);
    std::ranges::copy(label, image.begin() + kLabel);
    return image;
}

PackResult WriteScl(std::span<const DiskFile> files) {
    if (std::string error = CheckFits(files); !error.empty()) {
        return error;
    }
    std::vector<std::uint8_t> archive{'S', 'I', 'N', 'C', 'L', 'A', 'I', 'R'};
    archive.push_back(static_cast<std::uint8_t>(files.size()));
    for (const DiskFile& file : files) {
        archive.resize(archive.size() + kHeadBytes);
        PutHead(&archive[archive.size() - kHeadBytes], file);
    }
    for (const DiskFile& file : files) {
        archive.insert(archive.end(), file.data.begin(), file.data.end());
        archive.resize(archive.size() + (file.Sectors() * kSectorBytes - file.data.size()), 0);
    }
    const std::uint32_t sum = std::accumulate(archive.begin(), archive.end(), std::uint32_t{0});
    for (int shift = 0; shift < 32; shift += 8) {
        archive.push_back(static_cast<std::uint8_t>(sum >> shift));
    }
    return archive;
}

Name MakeName(std::string_view text) {
    Name name;
    name.fill(' ');
    std::copy_n(text.begin(), std::min(text.size(), name.size()), name.begin());
    return name;
}

std::vector<DiskFile> VideoEntries(const Video& video) {
    constexpr std::size_t kPartBytes = kMaxEntrySectors * kSectorBytes;
    std::vector<DiskFile> entries;
    std::size_t pos = 0;
    do {
        const std::size_t part = entries.size();
        DiskFile file;
        file.name = video.name;
        file.data = video.stream.subspan(pos, std::min(kPartBytes, video.stream.size() - pos));
        // The length counts whole sectors, so its low byte is 0 as the tag needs.
        file.length = static_cast<std::uint16_t>(file.Sectors() * kSectorBytes);
        file.type = part == 0 ? kVideoType : static_cast<std::uint8_t>('0' + part % 10);
        file.start = part == 0 ? kVideoStart : 0;
        entries.push_back(file);
        pos += file.data.size();
    } while (pos < video.stream.size());
    return entries;
}

PackResult PackVideos(DiskFormat format, std::span<const Video> videos, const Name& label) {
    std::vector<DiskFile> files;
    for (const Video& video : videos) {
        const std::vector<DiskFile> entries = VideoEntries(video);
        files.insert(files.end(), entries.begin(), entries.end());
    }
    return format == DiskFormat::TrDos ? WriteTrDos(files, label) : WriteScl(files);
}

}  // namespace qzm::packer
