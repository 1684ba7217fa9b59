// Catalogue walks of TR-DOS images and SCL archives: which entries are read and count as videos,
// how names read, where each video's data begins, and where a walk stops without reading past the
// data. Then real images from public software collections: their catalogues read as recorded,
// loading one says it holds no video, and a video written into a copy plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
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

using testing::kCodeTag;
using testing::kQzmTag;
using testing::kSector;
using testing::SclImageBuilder;
using testing::TrdImageBuilder;

using Listed = std::vector<std::pair<std::string, std::size_t>>;  // name and data offset

Listed Videos(std::span<const std::uint8_t> image, ImageKind kind) {
    Listed videos;
    for (const VideoEntry& video : ListVideos(image, kind)) {
        videos.emplace_back(video.name, video.offset);
    }
    return videos;
}

// Entry 0 is read even when its first byte is zero; after it, such an entry ends the catalogue.
// Names end at a zero byte and keep their trailing blanks; a deleted file's entry (first byte 1)
// reads like any other; only the exact, case-sensitive tag with a zero fourth byte marks a video.
// Sector s of track t begins at t * 4096 + s * 256.
TEST(Catalogue, TrDosEntriesNamesTagsAndDataOffsets) {
    TrdImageBuilder trd;
    trd.AddEntry(std::string("\0ERASED", 7), kQzmTag, 1, 0);
    trd.AddEntry("AB", kQzmTag, 1, 9);
    trd.AddEntry(std::string("CLIPS\0XY", 8), kQzmTag, 2, 0);
    trd.AddEntry("EIGHTCHR", kQzmTag, 255, 15);
    trd.AddEntry("\x01oot", kQzmTag, 0, 1);
    // The low byte of the length not zero, lower case, one letter in lower case, a blank for the
    // zero, another letter.
    const testing::Tag notVideos[] = {
        {'Q', 'Z', 'M', 1}, {'q', 'z', 'm', 0}, {'Q', 'Z', 'm', 0}, {'Q', 'Z', 'M', ' '}, {'C', 'Z', 'M', 0}};
    for (const testing::Tag& tag : notVideos) {
        trd.AddEntry("NOTVIDEO", tag, 1, 0);
    }
    trd.AddEntry(std::string("\0", 1), kCodeTag, 0, 0);
    trd.AddEntry("STALE", kQzmTag, 3, 0);
    EXPECT_EQ(Videos(trd.Build(), ImageKind::TrDos), (Listed{{"", 4096},
                                                             {"AB      ", 6400},
                                                             {"CLIPS", 8192},
                                                             {"EIGHTCHR", 255 * 4096 + 15 * 256},
                                                             {"\x01oot    ", 256}}));
    EXPECT_EQ(WalkCatalogue(trd.Build(), ImageKind::TrDos).size(), 10u);
}

// Forty entries and nothing after them: every video is listed, beyond any sixteen, in catalogue
// order, and an entry cut by the end of the data is not read. A crafted run of entries is listed
// only as far as kMaxListedVideos.
TEST(Catalogue, TrDosCatalogueWithoutAnEndEntryStopsAtTheEndOfTheData) {
    TrdImageBuilder trd;
    for (int i = 0; i < 40; ++i) {
        trd.AddEntry("VIDEO" + std::to_string(i), i % 2 == 0 ? kQzmTag : kCodeTag, 1, 0);
    }
    std::vector<std::uint8_t> image = trd.Build();
    image.resize(16 * 40);
    const Listed videos = Videos(image, ImageKind::TrDos);
    ASSERT_EQ(videos.size(), 20u);
    EXPECT_EQ(videos[1].first, "VIDEO2  ");
    EXPECT_EQ(videos[19].first, "VIDEO38 ");
    image.resize(16 * 40 - 1);
    EXPECT_EQ(WalkCatalogue(image, ImageKind::TrDos).size(), 39u);
    image.resize(15);
    EXPECT_TRUE(WalkCatalogue(image, ImageKind::TrDos).empty());

    // A crafted catalogue of a thousand videos lists no more than any real disk could hold.
    std::vector<std::uint8_t> crafted(16 * 1000, 'V');
    for (std::size_t pos = 0; pos < crafted.size(); pos += 16) {
        std::copy(kQzmTag.begin(), kQzmTag.end(), crafted.begin() + static_cast<std::ptrdiff_t>(pos) + 8);
    }
    EXPECT_EQ(ListVideos(crafted, ImageKind::TrDos).size(), kMaxListedVideos);
}

// The data of entry i of n begins at 9 + 14n + 256 * (the sectors of every earlier entry).
TEST(Catalogue, SclDataOffsetsCountTheSectorsOfEveryEarlierFile) {
    SclImageBuilder scl;
    scl.AddFile("DATA", kCodeTag, std::vector<std::uint8_t>(3 * 256, 0xAA));
    scl.AddFile("CLIP", kQzmTag, std::vector<std::uint8_t>(300, 0x55));
    std::vector<std::uint8_t> archive = scl.Build();
    std::fill_n(archive.begin(), 8, 0);  // the signature is not examined
    archive[9 + 12] = 0x7F;              // nor the high byte of a length: the sectors count
    EXPECT_EQ(Videos(archive, ImageKind::Scl), (Listed{{"CLIP    ", 805}}));
    EXPECT_TRUE(ListVideos(SclImageBuilder().Build(), ImageKind::Scl).empty());          // n = 0
    EXPECT_TRUE(ListVideos(std::vector<std::uint8_t>(8, 'S'), ImageKind::Scl).empty());  // no count
}

TEST(Catalogue, SclCountBeyondTheDataListsOnlyTheEntriesInsideIt) {
    SclImageBuilder scl;
    scl.AddFile("ONE", kQzmTag, std::vector<std::uint8_t>(256, 1));
    scl.AddFile("TWO", kQzmTag, std::vector<std::uint8_t>(256, 2));
    std::vector<std::uint8_t> archive = scl.Build();
    archive[8] = 200;        // claims 200 files
    archive.resize(9 + 27);  // the second entry is one byte short
    // The claimed count still places the data.
    EXPECT_EQ(Videos(archive, ImageKind::Scl), (Listed{{"ONE     ", 9 + 14 * 200}}));
}

// A copy of `image` with `stream` written into it as a last file, as the disk system would: an
// entry after the recorded ones, and the data from the recorded data end on (extending the image
// as far as needed). An SCL archive gets a new count and checksum.
std::vector<std::uint8_t> WriteVideoInto(std::vector<std::uint8_t> image, const testing::RealImage& known,
                                         ImageKind kind, std::span<const std::uint8_t> stream) {
    const std::size_t sectors = testing::SectorsFor(stream.size());
    std::uint8_t entry[16]{};
    testing::PutEntryHead(entry, "INJECTED", kQzmTag, sectors);
    if (kind == ImageKind::TrDos) {
        entry[14] = static_cast<std::uint8_t>(known.dataEnd / kSector % 16);
        entry[15] = static_cast<std::uint8_t>(known.dataEnd / testing::kTrack);
        std::ranges::copy(entry, image.begin() + static_cast<std::ptrdiff_t>(16 * known.entries));
        image.resize(std::max(image.size(), known.dataEnd + sectors * kSector), 0);
        std::ranges::copy(stream, image.begin() + static_cast<std::ptrdiff_t>(known.dataEnd));
        return image;
    }
    image.resize(known.dataEnd, 0);  // drops the checksum, or fills what a truncated archive lacks
    image[8] = static_cast<std::uint8_t>(known.entries + 1);
    image.insert(image.begin() + static_cast<std::ptrdiff_t>(9 + 14 * known.entries), entry, entry + 14);
    testing::AppendSectors(image, stream);
    testing::AppendSclChecksum(image);
    return image;
}

TEST(RealImages, EachReadsAsRecordedHoldsNoVideoAndPlaysOneWrittenIntoACopy) {
    const auto dir = testing::RealImagesDir();
    if (!dir) {
        GTEST_SKIP() << "real disk images not found: QZM_SHARED_DIR/testdata/real is absent";
    }
    const std::vector<std::uint8_t> video = testing::SmallVideo("INJECTED", 4).bytes;
    testing::TempDir temp;
    for (const testing::RealImage& known : testing::kRealImages) {
        SCOPED_TRACE(known.file);
        const std::string path = (*dir / known.file).string();
        const ImageKind kind = KindOfPath(path);
        const std::optional<std::vector<std::uint8_t>> image = ReadWholeFile(path);
        ASSERT_TRUE(image);
        const std::vector<CatalogueEntry> entries = WalkCatalogue(*image, kind);
        ASSERT_EQ(entries.size(), known.entries);
        EXPECT_EQ(entries.front().name, known.firstName);
        EXPECT_EQ(entries.back().offset + entries.back().sectors * kSector, known.dataEnd);

        testing::RecordingHost host;
        CStreamPlayer player(host);
        EXPECT_EQ(LoadFile(player, path), 0);
        EXPECT_EQ(host.messages, std::vector<std::string>{std::string(kMsgNoVideos)});
        EXPECT_EQ(player.State(), PlayerState::Empty);

        host.messages.clear();
        ASSERT_EQ(LoadFile(player, temp.Write(known.file, WriteVideoInto(*image, known, kind, video))), 1);
        EXPECT_EQ(player.Header().Name()[0], 'I');
        for (int frame = 2; frame <= 4; ++frame) {
            EXPECT_EQ(player.DecodeFrame(true), 1);
        }
        EXPECT_EQ(player.DecodeFrame(true), 0);
        EXPECT_TRUE(host.messages.empty());
        EXPECT_TRUE(host.choices.empty());
    }
}

}  // namespace
}  // namespace qzm
