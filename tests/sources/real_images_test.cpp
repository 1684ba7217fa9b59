// Real TR-DOS images and SCL archives from public software collections: their catalogues read as
// recorded, loading one says it holds no video, and a video written into a copy plays.
#include <gtest/gtest.h>

#include <algorithm>
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

using testing::kSector;

// A copy of `image` with `stream` written into it as a last file, as the disk system would: an
// entry after the recorded ones, and the data from the recorded data end on (extending the image
// as far as needed). An SCL archive gets a new count and checksum.
std::vector<std::uint8_t> WriteVideoInto(std::vector<std::uint8_t> image, const testing::RealImage& known,
                                         ImageKind kind, std::span<const std::uint8_t> stream) {
    const std::size_t sectors = testing::SectorsFor(stream.size());
    std::uint8_t entry[16]{};
    testing::PutEntryHead(entry, "INJECTED", testing::kQzmTag, sectors);
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

TEST_F(RealImages, EachReadsAsRecordedHoldsNoVideoAndPlaysOneWrittenIntoACopy) {
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
