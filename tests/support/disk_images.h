// Builders of TR-DOS disk images and SCL archives laid out as real ones are, and short valid
// streams to put in them: the input of the loader's tests and the seeds of its fuzzer.
#pragma once

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
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
    authoring::HeaderFields header;
    header.name = name;
    header.frameCount = static_cast<std::uint16_t>(frames);
    header.blocks = {1};
    authoring::StreamBuilder stream;
    stream.Header(header);
    std::size_t firstFrameEnd = 0;
    for (int f = 0; f < frames; ++f) {
        authoring::CellLines lines;
        lines.fill(static_cast<std::uint8_t>(0x11 * (f + 1)));
        stream.Literal(static_cast<std::uint8_t>(f), lines).EndFrame();
        if (f == 0) {
            firstFrameEnd = stream.Size();
        }
    }
    stream.EndStream();
    return {stream.Take(), firstFrameEnd};
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

// A TR-DOS image: track 0 holds the catalogue (sectors 0-7) and the system sector (8); files follow
// from track 1, sector after sector.
class TrdImageBuilder {
public:
    // Adds a file after the previous one, and its catalogue entry. Returns where its data begins.
    std::size_t AddFile(std::string_view name, const Tag& tag, std::span<const std::uint8_t> data) {
        const std::size_t offset = kTrack + m_data.size();
        AddEntry(name, tag, offset / kTrack, offset % kTrack / kSector, SectorsFor(data.size()));
        m_data.insert(m_data.end(), data.begin(), data.end());
        m_data.resize(SectorsFor(m_data.size()) * kSector, 0);
        return offset;
    }
    // Adds a catalogue entry only, pointing at sector `sector` of track `track`.
    void AddEntry(std::string_view name, const Tag& tag, std::size_t track, std::size_t sector,
                  std::size_t sectors = 0) {
        std::array<std::uint8_t, 16> entry{};
        PutEntryHead(entry.data(), name, tag, sectors);
        entry[14] = static_cast<std::uint8_t>(sector);
        entry[15] = static_cast<std::uint8_t>(track);
        m_entries.push_back(entry);
    }
    // Track 0 and the files' sectors; padded to a whole 80-track double-sided disk when `fullDisk`.
    std::vector<std::uint8_t> Build(bool fullDisk = false) const {
        assert(m_entries.size() <= 128);
        std::vector<std::uint8_t> image(kTrack, 0);
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            std::copy(m_entries[i].begin(), m_entries[i].end(),
                      image.begin() + static_cast<std::ptrdiff_t>(16 * i));
        }
        const std::size_t used = SectorsFor(m_data.size());
        const std::size_t freeSectors = 2560 - 16 - used;
        std::uint8_t* system = image.data() + 8 * kSector;
        system[0xE1] = static_cast<std::uint8_t>(used % 16);  // first free sector and track
        system[0xE2] = static_cast<std::uint8_t>(1 + used / 16);
        system[0xE3] = 0x16;  // 80 tracks, two sides
        system[0xE4] = static_cast<std::uint8_t>(m_entries.size());
        system[0xE5] = static_cast<std::uint8_t>(freeSectors & 0xFF);
        system[0xE6] = static_cast<std::uint8_t>(freeSectors >> 8);
        system[0xE7] = 0x10;  // TR-DOS
        std::fill(system + 0xF5, system + 0xFD, ' ');
        image.insert(image.end(), m_data.begin(), m_data.end());
        if (fullDisk) {
            image.resize(std::max(image.size(), 160 * kTrack), 0);
        }
        return image;
    }

private:
    std::vector<std::array<std::uint8_t, 16>> m_entries;
    std::vector<std::uint8_t> m_data;
};

// Ends an SCL archive with its checksum: the 32-bit sum of every byte before it.
inline void AppendSclChecksum(std::vector<std::uint8_t>& archive) {
    std::uint32_t sum = 0;
    for (const std::uint8_t b : archive) {
        sum += b;
    }
    for (int i = 0; i < 4; ++i) {
        archive.push_back(static_cast<std::uint8_t>(sum >> (8 * i)));
    }
}

// An SCL archive: signature, count, 14-byte entries, the files' sectors, and the checksum.
class SclImageBuilder {
public:
    // Adds a file of `data` padded to whole sectors; returns its index.
    std::size_t AddFile(std::string_view name, const Tag& tag, std::span<const std::uint8_t> data) {
        std::array<std::uint8_t, 14> entry{};
        PutEntryHead(entry.data(), name, tag, SectorsFor(data.size()));
        m_entries.push_back(entry);
        m_data.insert(m_data.end(), data.begin(), data.end());
        m_data.resize(SectorsFor(m_data.size()) * kSector, 0);
        return m_entries.size() - 1;
    }
    // Where the data of file `index` begins in the built archive.
    std::size_t DataOffset(std::size_t index) const {
        std::size_t offset = 9 + 14 * m_entries.size();
        for (std::size_t i = 0; i < index; ++i) {
            offset += m_entries[i][13] * kSector;
        }
        return offset;
    }
    std::vector<std::uint8_t> Build() const {
        std::vector<std::uint8_t> archive{'S', 'I', 'N', 'C', 'L', 'A', 'I', 'R'};
        archive.push_back(static_cast<std::uint8_t>(m_entries.size()));
        for (const auto& entry : m_entries) {
            archive.insert(archive.end(), entry.begin(), entry.end());
        }
        archive.insert(archive.end(), m_data.begin(), m_data.end());
        AppendSclChecksum(archive);
        return archive;
    }

private:
    std::vector<std::array<std::uint8_t, 14>> m_entries;
    std::vector<std::uint8_t> m_data;
};

}  // namespace qzm::testing
