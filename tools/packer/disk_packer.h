// Writers of TR-DOS disk images (.trd) and SCL archives (.scl), and the catalogue entries that put
// QZM videos on them so that the player finds them and Spectrum disk tools see ordinary files.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qzm::packer {

// An 80-track double-sided disk: 160 tracks of 16 sectors of 256 bytes. Track 0 holds the
// catalogue (sectors 0-7, 16 bytes an entry) and the system sector (8); files start at track 1.
inline constexpr std::size_t kSectorBytes = 256;
inline constexpr std::size_t kSectorsPerTrack = 16;
inline constexpr std::size_t kDiskSectors = 160 * kSectorsPerTrack;
inline constexpr std::size_t kDiskBytes = kDiskSectors * kSectorBytes;        // 655360
inline constexpr std::size_t kFileSectors = kDiskSectors - kSectorsPerTrack;  // 2544 for files
inline constexpr std::size_t kMaxEntries = 128;
inline constexpr std::size_t kMaxEntrySectors = 255;  // one entry's sector count is one byte

using Name = std::array<std::uint8_t, 8>;

// One catalogue entry and its data: name (8 bytes, blank padded), type letter, start field, length
// field, and the data, which takes ceil(size / 256) sectors (at most 255), the last one zero padded.
struct DiskFile {
    Name name{};
    std::uint8_t type = 0;
    std::uint16_t start = 0;
    std::uint16_t length = 0;
    std::span<const std::uint8_t> data;

    std::size_t Sectors() const { return (data.size() + kSectorBytes - 1) / kSectorBytes; }
};

// A whole image, or a one-line reason why none could be made.
using PackResult = std::variant<std::vector<std::uint8_t>, std::string>;

// A 640 KB TR-DOS image holding `files` from track 1 sector 0 on, back to back, and a system sector
// as TR-DOS formats and updates it: first free sector and track, disk type 0x16 (80 tracks, two
// sides), number of entries, free sectors, TR-DOS id 0x10, nine blanks, the number of deleted
// entries (name byte 0 is 1) and `label`. Refused when the files need more than 128 entries or more
// than 2544 sectors, or one of them more than 255 sectors.
PackResult WriteTrDos(std::span<const DiskFile> files, const Name& label);

// An SCL archive: "SINCLAIR", the number of entries, their 14-byte heads (the TR-DOS entry without
// its position), the files' sectors back to back, and the 32-bit sum of all those bytes. Refused
// for the same reasons as a TR-DOS image, so that the archive fits on one disk.
PackResult WriteScl(std::span<const DiskFile> files);

// `text` as a catalogue name: its first 8 bytes, padded with blanks.
Name MakeName(std::string_view text);

// A QZM video to put on a disk: the catalogue name and the whole stream file.
struct Video {
    Name name{};
    std::span<const std::uint8_t> stream;
};

// The entries of one video. The first carries the tag the player looks for: type 'Q', start field
// "ZM" and a length whose low byte is 0 (the length is its sectors times 256). A stream longer than
// 255 sectors continues in further entries of the same name over the following sectors, typed '1',
// '2', ... in order, so disk tools see valid files and the player reads the stream straight on
// from the first entry's data. (A disk has room for at most nine continuations.)
std::vector<DiskFile> VideoEntries(const Video& video);

enum class DiskFormat { TrDos, Scl };

// The image of `videos`, in order, in the given format; `label` names a TR-DOS disk.
PackResult PackVideos(DiskFormat format, std::span<const Video> videos, const Name& label);

}  // namespace qzm::packer
