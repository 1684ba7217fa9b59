// Builders of TR-DOS disk images and SCL archives laid out as real ones are, and short valid
// streams to put in them: the input of the loader's tests and the seeds of its fuzzer.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stream_builder.h"

namespace qzm::testing {

using Tag = std::array<std::uint8_t, 4>;
inline constexpr Tag kQzmTag{'Q', 'Z', 'M', 0};
inline constexpr Tag kCodeTag{'C', 0, 0x80, 0};  // a code file: not a video
inline constexpr std::size_t kSector = 256;
inline constexpr std::size_t kTrack = 16 * kSector;

struct TestVideo {
    std::vector<std::uint8_t> bytes;
    std::size_t firstFrameEnd;  // bytes the first frame needs, header included
};

// A stream of `frames` frames, each writing one cell, then the end of the stream.
inline TestVideo SmallVideo(const std::string& name, int frames = 3) {
    StreamBuilder stream;
    stream.Header({.name = name, .frameCount = static_cast<std::uint16_t>(frames), .blocks = {1}});
    std::size_t firstFrameEnd = 0;
    for (int f = 0; f < frames; ++f) {
        CellLines lines;
        lines.fill(static_cast<std::uint8_t>(0x11 * (f + 1)));
        stream.Literal(static_cast<std::uint8_t>(f), lines).EndFrame();
        firstFrameEnd = f == 0 ? stream.Size() : firstFrameEnd;
    }
    return {stream.EndStream().Take(), firstFrameEnd};
}

inline std::size_t SectorsFor(std::size_t bytes) {
    return (bytes + kSector - 1) / kSector;
}

// The first 14 bytes of a catalogue entry, the same in both formats: name (raw bytes, padded with
// blanks to 8), tag (type letter, start field, low byte of the length), high byte of the length
// and the length in sectors.
inline void PutEntryHead(std::uint8_t* entry, std::string_view name, const Tag& tag, std::size_t sectors) {
    for (std::size_t i = 0; i < 8; ++i) {
        entry[i] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : ' ';
    }
    std::copy(tag.begin(), tag.end(), entry + 8);
    entry[12] = static_cast<std::uint8_t>(sectors);
    entry[13] = static_cast<std::uint8_t>(sectors);
}

// Appends `data` to `files`, padded to whole sectors.
inline void AppendSectors(std::vector<std::uint8_t>& files, std::span<const std::uint8_t> data) {
    files.insert(files.end(), data.begin(), data.end());
    files.resize(SectorsFor(files.size()) * kSector, 0);
}

// A TR-DOS image: track 0 holds the catalogue (sectors 0-7) and the system sector (8); files follow
// from track 1, sector after sector.
class TrdImageBuilder {
public:
    // Adds a file after the previous one, and its catalogue entry. Returns where its data begins.
    std::size_t AddFile(std::string_view name, const Tag& tag, std::span<const std::uint8_t> data) {
        const std::size_t offset = kTrack + m_data.size();
        AddEntry(name, tag, offset / kTrack, offset % kTrack / kSector, SectorsFor(data.size()));
        AppendSectors(m_data, data);
        return offset;
    }
    // Adds a catalogue entry only, pointing at sector `sector` of track `track`.
    void AddEntry(std::string_view name, const Tag& tag, std::size_t track, std::size_t sector,
                  std::size_t sectors = 0) {
        m_catalogue.resize(m_catalogue.size() + 16);
        std::uint8_t* entry = &m_catalogue[m_catalogue.size() - 16];
        PutEntryHead(entry, name, tag, sectors);
        entry[14] = static_cast<std::uint8_t>(sector);
        entry[15] = static_cast<std::uint8_t>(track);
    }
    // Track 0 and the files' sectors; padded to a whole 80-track double-sided disk when `fullDisk`.
    std::vector<std::uint8_t> Build(bool fullDisk = false) const {
        std::vector<std::uint8_t> image(m_catalogue);
        image.resize(kTrack, 0);
        // The system sector: first free sector and track, 80 tracks on two sides, the number of
        // files, the free sectors, TR-DOS, and a blank label.
        const auto byte = [](std::size_t value) { return static_cast<std::uint8_t>(value); };
        const std::size_t used = m_data.size() / kSector;
        const std::size_t freeSectors = 2560 - 16 - used;
        const std::uint8_t system[] = {
            byte(used % 16),   byte(1 + used / 16),    0x16, byte(m_catalogue.size() / 16),
            byte(freeSectors), byte(freeSectors >> 8), 0x10};
        std::copy(std::begin(system), std::end(system), image.begin() + 8 * kSector + 0xE1);
        std::fill_n(image.begin() + 8 * kSector + 0xF5, 8, ' ');
        image.insert(image.end(), m_data.begin(), m_data.end());
        image.resize(std::max(image.size(), fullDisk ? 160 * kTrack : 0), 0);
        return image;
    }

private:
    std::vector<std::uint8_t> m_catalogue;
    std::vector<std::uint8_t> m_data;
};

// Ends an SCL archive with its checksum: the 32-bit sum of every byte before it.
inline void AppendSclChecksum(std::vector<std::uint8_t>& archive) {
    const std::uint32_t sum = std::accumulate(archive.begin(), archive.end(), std::uint32_t{0});
    for (int i = 0; i < 4; ++i) {
        archive.push_back(static_cast<std::uint8_t>(sum >> (8 * i)));
    }
}

// An SCL archive: signature, count, 14-byte entries, the files' sectors, and the checksum.
class SclImageBuilder {
public:
    void AddFile(std::string_view name, const Tag& tag, std::span<const std::uint8_t> data) {
        m_catalogue.resize(m_catalogue.size() + 14);
        PutEntryHead(&m_catalogue[m_catalogue.size() - 14], name, tag, SectorsFor(data.size()));
        AppendSectors(m_data, data);
    }
    std::vector<std::uint8_t> Build() const {
        std::vector<std::uint8_t> archive{'S', 'I', 'N', 'C', 'L', 'A', 'I', 'R'};
        archive.push_back(static_cast<std::uint8_t>(m_catalogue.size() / 14));
        archive.insert(archive.end(), m_catalogue.begin(), m_catalogue.end());
        archive.insert(archive.end(), m_data.begin(), m_data.end());
        AppendSclChecksum(archive);
        return archive;
    }

private:
    std::vector<std::uint8_t> m_catalogue;
    std::vector<std::uint8_t> m_data;
};

}  // namespace qzm::testing
