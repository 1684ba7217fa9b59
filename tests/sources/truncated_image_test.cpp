// Every prefix of a valid image holding two videos loads to one of the documented outcomes. Which
// one follows from how much of the catalogue and of the chosen stream the prefix still holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "disk_images.h"
#include "file_loader.h"
#include "recording_host.h"
#include "stream_player.h"

namespace qzm {
namespace {

using testing::kQzmTag;
using testing::SmallVideo;

struct TwoVideoImage {
    ImageKind kind;
    std::vector<std::uint8_t> bytes;
    std::size_t entryEnds[2];  // where each video's catalogue entry ends
    std::size_t offsets[2];    // where each video's stream begins
};

const std::vector<std::string> kNames{"FIRST   ", "SECOND  "};

TwoVideoImage TrDosImage() {
    testing::TrdImageBuilder trd;
    const std::size_t first = trd.AddFile("FIRST", kQzmTag, SmallVideo("FIRST").bytes);
    const std::size_t second = trd.AddFile("SECOND", kQzmTag, SmallVideo("SECOND").bytes);
    return {ImageKind::TrDos, trd.Build(), {16, 32}, {first, second}};
}

TwoVideoImage SclImage() {
    testing::SclImageBuilder scl;
    scl.AddFile("FIRST", kQzmTag, SmallVideo("FIRST").bytes);
    scl.AddFile("SECOND", kQzmTag, SmallVideo("SECOND").bytes);
    return {ImageKind::Scl, scl.Build(), {9 + 14, 9 + 28}, {scl.DataOffset(0), scl.DataOffset(1)}};
}

void LoadEveryPrefix(const TwoVideoImage& image) {
    const std::size_t firstFrameEnd = SmallVideo("FIRST").firstFrameEnd;
    testing::RecordingHost host;
    CStreamPlayer player(host);
    for (std::size_t length = 0; length <= image.bytes.size(); ++length) {
        SCOPED_TRACE("prefix of " + std::to_string(length) + " bytes");
        host.messages.clear();
        host.choices.clear();
        host.answers = {1};  // the last row
        const int result = OpenLoadedFile(
            player, std::vector<std::uint8_t>(image.bytes.begin(), image.bytes.begin() + length), image.kind);

        const std::size_t listed = (length >= image.entryEnds[1])   ? 2
                                   : (length >= image.entryEnds[0]) ? 1
                                                                    : 0;
        if (listed == 0) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(host.messages, std::vector<std::string>{std::string(kMsgNoVideos)});
            EXPECT_EQ(player.State(), PlayerState::Empty);
            EXPECT_TRUE(player.FileBuffer().empty());
            continue;
        }
        EXPECT_EQ(host.choices, listed == 2 ? std::vector<std::vector<std::string>>{kNames}
                                            : std::vector<std::vector<std::string>>{});
        const std::size_t offset = image.offsets[listed - 1];
        const std::size_t remaining = length > offset ? length - offset : 0;
        if (remaining < kHeaderBytes) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(host.messages, std::vector<std::string>{std::string(kMsgInvalidStream)});
            EXPECT_EQ(player.State(), PlayerState::Refused);
        } else if (remaining < firstFrameEnd) {
            EXPECT_EQ(result, 0);  // the first frame runs out of data
            EXPECT_TRUE(host.messages.empty());
            EXPECT_EQ(player.State(), PlayerState::Ended);
        } else {
            EXPECT_EQ(result, 1);
            EXPECT_TRUE(host.messages.empty());
            EXPECT_EQ(player.State(), PlayerState::Playing);
            EXPECT_EQ(player.Header().Name()[0], kNames[listed - 1][0]);
        }
        EXPECT_EQ(player.FileBuffer().size(), length);
    }
}

TEST(TruncatedImage, EveryPrefixOfATrDosImageEndsInADocumentedOutcome) {
    LoadEveryPrefix(TrDosImage());
}

TEST(TruncatedImage, EveryPrefixOfAnSclArchiveEndsInADocumentedOutcome) {
    LoadEveryPrefix(SclImage());
}

}  // namespace
}  // namespace qzm
