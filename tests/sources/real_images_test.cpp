// Real TR-DOS images and SCL archives from public software collections: their catalogues read as
// other tools read them, none holds a video, and a video written into one plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "disk_catalogue.h"
#include "disk_images.h"
#include "file_loader.h"
#include "recording_host.h"
#include "shared_data.h"
#include "stream_player.h"
#include "temp_dir.h"

namespace qzm {
namespace {

using testing::kQzmTag;
using testing::kSector;
using testing::SectorsFor;

// Skips, saying so, when the images are not there.
class RealImages : public ::testing::Test {
protected:
    void SetUp() override {
        if (!dir) {
            GTEST_SKIP() << "real disk images not found: QZM_SHARED_DIR/testdata/real is absent";
        }
    }
    const std::optional<std::filesystem::path> dir = testing::RealImagesDir();
};

struct KnownCatalogue {
    const char* file;
    std::size_t entries;
    const char* firstName;
    const char* lastName;
    std::size_t dataEnd;  // where the last file's sectors end
};

// As recorded with the images. A TR-DOS image's data end is its first free sector; an SCL archive's
// shows that the sectors of every earlier entry count.
const KnownCatalogue kKnown[] = {
    {"256c-5.trd", 42, "\x01oot    ", "boot    ", 145 * 4096 + 15 * 256},
    {"CSCFINAL.TRD", 30, "musicsfx", "boot    ", 402944},  // ends exactly at the end of the image
    {"ENJOY.TRD", 3, "ENJOY   ", "boot    ", 70400},
    {"GS104SRC.TRD", 92, "boot    ", "SGEN_AS_", 394752},
    {"MEM.TRD", 2, "mem     ", "mem     ", 4352 + 15 * 256},
    {"disk2.trd", 63, "McDONALD", "unzip_h ", 647424},
    {"zx-format8.trd", 20, "ZF#08.1 ", "mem_t.ba", 610048},
    {"empty.scl", 1, "boot    ", "boot    ", 6167},
    {"flasher.scl", 1, "FLASHNGS", "FLASHNGS", 6423},  // beyond the truncated archive's 6364 bytes
    {"npl.scl", 1, "NPL     ", "NPL     ", 7191},
    {"pang16c.scl", 5, "PANG 16C", "PANGMUZ*", 47951},
    {"xnx.scl", 4, "boot    ", "data    ", 227649},
};

std::vector<std::uint8_t> ReadImage(const std::filesystem::path& path) {
    std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path.string());
    return bytes ? std::move(*bytes) : std::vector<std::uint8_t>{};
}

TEST_F(RealImages, CataloguesReadAsRecorded) {
    for (const KnownCatalogue& known : kKnown) {
        SCOPED_TRACE(known.file);
        const std::filesystem::path path = *dir / known.file;
        const std::vector<CatalogueEntry> entries = WalkCatalogue(ReadImage(path), KindOfPath(path.string()));
        ASSERT_EQ(entries.size(), known.entries);
        EXPECT_EQ(entries.front().name, known.firstName);
        EXPECT_EQ(entries.back().name, known.lastName);
        EXPECT_EQ(entries.front().offset,
                  KindOfPath(known.file) == ImageKind::TrDos ? 4096 : 9 + 14 * known.entries);
        EXPECT_EQ(entries.back().offset + entries.back().sectors * kSector, known.dataEnd);
        EXPECT_TRUE(std::none_of(entries.begin(), entries.end(),
                                 [](const CatalogueEntry& e) { return e.IsVideo(); }));
    }
}

TEST_F(RealImages, EveryImageLoadsAndHoldsNoVideo) {
    for (const KnownCatalogue& known : kKnown) {
        testing::RecordingHost host;
        CStreamPlayer player(host);
        EXPECT_EQ(LoadFile(player, (*dir / known.file).string()), 0) << known.file;
        EXPECT_EQ(host.messages, std::vector<std::string>{std::string(kMsgNoVideos)}) << known.file;
        EXPECT_TRUE(host.choices.empty());
        EXPECT_EQ(player.State(), PlayerState::Empty);
    }
}

// Writes `stream` into a TR-DOS image as the disk system would: an entry after the last one, the data
// at the first free sector (extending an image that ends there), and the system sector updated.
std::vector<std::uint8_t> WriteIntoTrDos(std::vector<std::uint8_t> image,
                                         std::span<const std::uint8_t> stream) {
    std::uint8_t* system = image.data() + 8 * kSector;
    const std::size_t files = system[0xE4];
    const std::size_t firstFree = system[0xE2] * std::size_t{16} + system[0xE1];
    const std::size_t sectors = SectorsFor(stream.size());
    std::uint8_t* entry = image.data() + 16 * files;
    testing::PutEntryHead(entry, "INJECTED", kQzmTag, sectors);
    entry[14] = static_cast<std::uint8_t>(firstFree % 16);
    entry[15] = static_cast<std::uint8_t>(firstFree / 16);
    const std::size_t nextFree = firstFree + sectors;
    const std::size_t freeSectors = system[0xE5] + 256 * system[0xE6] - sectors;
    system[0xE1] = static_cast<std::uint8_t>(nextFree % 16);
    system[0xE2] = static_cast<std::uint8_t>(nextFree / 16);
    system[0xE4] = static_cast<std::uint8_t>(files + 1);
    system[0xE5] = static_cast<std::uint8_t>(freeSectors & 0xFF);
    system[0xE6] = static_cast<std::uint8_t>(freeSectors >> 8);
    image.resize(std::max(image.size(), nextFree * kSector), 0);
    std::copy(stream.begin(), stream.end(), image.begin() + static_cast<std::ptrdiff_t>(firstFree * kSector));
    return image;
}

// Appends `stream` as a last file to an SCL archive: one more entry, the data after the other
// files' data, and a new checksum.
std::vector<std::uint8_t> WriteIntoScl(const std::vector<std::uint8_t>& archive,
                                       std::span<const std::uint8_t> stream) {
    const std::size_t count = archive[8];
    const CatalogueEntry last = WalkCatalogue(archive, ImageKind::Scl).back();
    std::vector<std::uint8_t> out(
        archive.begin(), archive.begin() + static_cast<std::ptrdiff_t>(last.offset + last.sectors * kSector));
    out[8] = static_cast<std::uint8_t>(count + 1);
    std::array<std::uint8_t, 14> entry{};
    testing::PutEntryHead(entry.data(), "INJECTED", kQzmTag, SectorsFor(stream.size()));
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(9 + 14 * count), entry.begin(), entry.end());
    out.insert(out.end(), stream.begin(), stream.end());
    out.resize(out.size() + SectorsFor(stream.size()) * kSector - stream.size(), 0);
    testing::AppendSclChecksum(out);
    return out;
}

TEST_F(RealImages, VideoWrittenIntoACopyPlays) {
    const std::vector<std::uint8_t> video = testing::SmallVideo("INJECTED", 4).bytes;
    testing::TempDir temp;
    for (const KnownCatalogue& known : kKnown) {
        const std::vector<std::uint8_t> original = ReadImage(*dir / known.file);
        const bool trd = KindOfPath(known.file) == ImageKind::TrDos;
        if (!trd && std::string(known.file) != "pang16c.scl") {
            continue;  // the other archives have a single file, or are truncated
        }
        SCOPED_TRACE(known.file);
        const std::string path =
            temp.Write(known.file, trd ? WriteIntoTrDos(original, video) : WriteIntoScl(original, video));
        testing::RecordingHost host;
        CStreamPlayer player(host);
        ASSERT_EQ(LoadFile(player, path), 1);
        EXPECT_TRUE(host.choices.empty());
        EXPECT_EQ(player.Header().Name()[0], 'I');
        for (int frame = 2; frame <= 4; ++frame) {
            EXPECT_EQ(player.DecodeFrame(true), 1);
        }
        EXPECT_EQ(player.DecodeFrame(true), 0);
        EXPECT_TRUE(host.messages.empty());
    }
}

}  // namespace
}  // namespace qzm
