// Catalogue walks of TR-DOS images and SCL archives: where each video's data begins, which entries
// count as videos, how names read, and where a walk stops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "disk_catalogue.h"
#include "disk_images.h"

namespace qzm {
namespace {

using testing::kCodeTag;
using testing::kQzmTag;
using testing::SclImageBuilder;
using testing::Tag;
using testing::TrdImageBuilder;

std::vector<std::string> Names(const std::vector<VideoEntry>& videos) {
    std::vector<std::string> names;
    for (const VideoEntry& video : videos) {
        names.push_back(video.name);
    }
    return names;
}

TEST(TrDosCatalogue, VideoDataOffsetComesFromTrackAndSector) {
    TrdImageBuilder trd;
    trd.AddEntry("CLIP", kQzmTag, 1, 9);
    trd.AddEntry("LAST", kQzmTag, 255, 15);
    const std::vector<VideoEntry> videos = ListVideos(trd.Build(), ImageKind::TrDos);
    ASSERT_EQ(videos.size(), 2u);
    EXPECT_EQ(videos[0].offset, 6400u);
    EXPECT_EQ(videos[1].offset, 255u * 4096 + 15 * 256);
}

TEST(TrDosCatalogue, OnlyTheExactCaseSensitiveTagWithZeroFourthByteMarksAVideo) {
    const Tag notVideos[] = {
        {'Q', 'Z', 'M', 1},    // low byte of the length not zero
        {'q', 'z', 'm', 0},    // lower case
        {'Q', 'Z', 'm', 0},    // one letter in lower case
        {'Q', 'Z', 'M', ' '},  // blank instead of zero
        {'C', 'Z', 'M', 0},
    };
    TrdImageBuilder trd;
    for (const Tag& tag : notVideos) {
        trd.AddEntry("NOTVIDEO", tag, 1, 0);
    }
    trd.AddEntry("VIDEO", kQzmTag, 1, 0);
    EXPECT_EQ(Names(ListVideos(trd.Build(), ImageKind::TrDos)), std::vector<std::string>{"VIDEO   "});
}

TEST(TrDosCatalogue, NamesKeepTrailingBlanksAndEndAtAZeroByte) {
    TrdImageBuilder trd;
    trd.AddEntry("AB", kQzmTag, 1, 0);
    trd.AddEntry(std::string("CLIPS\0XY", 8), kQzmTag, 1, 0);
    trd.AddEntry("EIGHTCHR", kQzmTag, 1, 0);
    trd.AddEntry("\x01oot", kQzmTag, 1, 0);  // a deleted file's entry is read like any other
    EXPECT_EQ(Names(ListVideos(trd.Build(), ImageKind::TrDos)),
              (std::vector<std::string>{"AB      ", "CLIPS", "EIGHTCHR", "\x01oot    "}));
}

TEST(TrDosCatalogue, FirstEntryIsReadEvenWhenItsFirstByteIsZero) {
    TrdImageBuilder trd;
    trd.AddEntry(std::string("\0ERASED", 7), kQzmTag, 1, 0);
    trd.AddEntry("NEXT", kQzmTag, 2, 0);
    trd.AddEntry(std::string("\0", 1), kCodeTag, 0, 0);  // ends the catalogue
    trd.AddEntry("STALE", kQzmTag, 3, 0);                // left over after the end: not read
    const std::vector<VideoEntry> videos = ListVideos(trd.Build(), ImageKind::TrDos);
    EXPECT_EQ(Names(videos), (std::vector<std::string>{"", "NEXT    "}));
    EXPECT_EQ(WalkCatalogue(trd.Build(), ImageKind::TrDos).size(), 2u);
}

TEST(TrDosCatalogue, CatalogueWithoutEndEntryStopsAtTheEndOfTheData) {
    TrdImageBuilder trd;
    for (int i = 0; i < 3; ++i) {
        trd.AddEntry("V" + std::to_string(i), kQzmTag, 1, 0);
    }
    std::vector<std::uint8_t> image = trd.Build();
    image.resize(48);  // exactly three entries
    EXPECT_EQ(ListVideos(image, ImageKind::TrDos).size(), 3u);
    image.resize(47);  // the third entry is cut: not read
    EXPECT_EQ(ListVideos(image, ImageKind::TrDos).size(), 2u);
    image.resize(15);  // not even the first entry
    EXPECT_TRUE(WalkCatalogue(image, ImageKind::TrDos).empty());
}

TEST(TrDosCatalogue, EveryVideoIsListedBeyondSixteenInCatalogueOrder) {
    TrdImageBuilder trd;
    std::vector<std::string> expected;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "VIDEO" + std::to_string(i);
        trd.AddEntry(name, i % 2 == 0 ? kQzmTag : kCodeTag, 1, 0);
        if (i % 2 == 0) {
            expected.push_back(name + std::string(8 - name.size(), ' '));
        }
    }
    EXPECT_EQ(Names(ListVideos(trd.Build(), ImageKind::TrDos)), expected);
}

TEST(SclCatalogue, DataOffsetCountsTheSectorsOfEveryEarlierFile) {
    SclImageBuilder scl;
    scl.AddFile("DATA", kCodeTag, std::vector<std::uint8_t>(3 * 256, 0xAA));
    scl.AddFile("CLIP", kQzmTag, std::vector<std::uint8_t>(300, 0x55));
    const std::vector<VideoEntry> videos = ListVideos(scl.Build(), ImageKind::Scl);
    ASSERT_EQ(videos.size(), 1u);
    EXPECT_EQ(videos[0].name, "CLIP    ");
    EXPECT_EQ(videos[0].offset, 805u);
}

TEST(SclCatalogue, NoFilesMeansNoVideos) {
    EXPECT_TRUE(ListVideos(SclImageBuilder().Build(), ImageKind::Scl).empty());
    EXPECT_TRUE(ListVideos(std::vector<std::uint8_t>(8, 'S'), ImageKind::Scl).empty());  // no count byte
}

TEST(SclCatalogue, CountBeyondTheFileListsOnlyTheEntriesInsideIt) {
    SclImageBuilder scl;
    scl.AddFile("ONE", kQzmTag, std::vector<std::uint8_t>(256, 1));
    scl.AddFile("TWO", kQzmTag, std::vector<std::uint8_t>(256, 2));
    std::vector<std::uint8_t> archive = scl.Build();
    archive[8] = 200;        // claims 200 files
    archive.resize(9 + 27);  // the second entry is one byte short
    const std::vector<VideoEntry> videos = ListVideos(archive, ImageKind::Scl);
    ASSERT_EQ(videos.size(), 1u);
    EXPECT_EQ(videos[0].offset, 9u + 14 * 200);  // the claimed count still places the data
}

TEST(SclCatalogue, SignatureIsNotExamined) {
    SclImageBuilder scl;
    scl.AddFile("CLIP", kQzmTag, std::vector<std::uint8_t>(256, 1));
    std::vector<std::uint8_t> archive = scl.Build();
    std::fill(archive.begin(), archive.begin() + 8, 0);
    EXPECT_EQ(ListVideos(archive, ImageKind::Scl).size(), 1u);
}

}  // namespace
}  // namespace qzm
