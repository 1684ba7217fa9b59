// Loading files into a player: kinds by extension, starting the one video or the chosen one, the
// ends that leave the player empty, files that cannot be read or are cut short at any length, and
// loads started while one is in progress.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "disk_images.h"
#include "file_loader.h"
#include "recording_host.h"
#include "stream_player.h"
#include "temp_dir.h"

namespace qzm {
namespace {

using testing::kCodeTag;
using testing::kQzmTag;
using testing::SclImageBuilder;
using testing::SmallVideo;
using testing::TrdImageBuilder;

const std::vector<std::string> kNoMessages;
const std::vector<std::string> kNoVideos{std::string(kMsgNoVideos)};
const std::vector<std::string> kInvalidStream{std::string(kMsgInvalidStream)};
const std::vector<std::string> kNames{"FIRST   ", "SECOND  "};

std::string HeaderName(const CStreamPlayer& player) {
    const auto name = player.Header().Name();
    return {name.begin(), name.end()};
}

TEST(ImageKindOfPath, ExtensionAfterTheLastDotOfTheWholePathInAnyCase) {
    const std::pair<ImageKind, std::vector<const char*>> cases[] = {
        {ImageKind::Stream, {"clip.qzm", "CLIP.QZM", "Clip.Qzm", ".qzm"}},
        {ImageKind::TrDos, {"/a.b/disk.trd", "DISK.TrD"}},
        {ImageKind::Scl, {"x.scl", "x.tar.SCL"}},
        {ImageKind::Unknown,
         {"clip.qzm2", "clip.qz", "clip", "clip.", "clip.qzm ", "/tmp/a.qzm/clip", "C:\\a.b\\clip"}},
    };
    for (const auto& [kind, paths] : cases) {
        for (const char* path : paths) {
            EXPECT_EQ(KindOfPath(path), kind) << path;
        }
    }
}

class FileLoader : public ::testing::Test {
protected:
    // A TR-DOS image with the videos FIRST and SECOND, and a code file between them.
    static std::vector<std::uint8_t> TwoVideoImage() {
        TrdImageBuilder trd;
        trd.AddFile("FIRST", kQzmTag, SmallVideo("FIRST").bytes);
        trd.AddFile("CODE", kCodeTag, std::vector<std::uint8_t>(1000, 0xC9));
        trd.AddFile("SECOND", kQzmTag, SmallVideo("SECOND").bytes);
        return trd.Build(true);
    }
    // Starts a stream file, so that tests can see whether a later load changed the player.
    void StartPlaying() {
        ASSERT_EQ(LoadFile(player, dir.Write("playing.qzm", SmallVideo("PLAYING").bytes)), 1);
        host.messages.clear();
        host.choices.clear();
    }

    testing::TempDir dir;
    testing::RecordingHost host;
    CStreamPlayer player{host};
};

TEST_F(FileLoader, OneVideoStartsWithoutAChoiceAndSeveralAreOfferedByNameInCatalogueOrder) {
    SclImageBuilder one;
    one.AddFile("CODE", kCodeTag, std::vector<std::uint8_t>(700, 1));
    one.AddFile("ONLY", kQzmTag, SmallVideo("ONLY").bytes);
    EXPECT_EQ(LoadFile(player, dir.Write("one.scl", one.Build())), 1);
    EXPECT_EQ(HeaderName(player), "ONLY    ");
    EXPECT_TRUE(host.choices.empty());
    const std::string two = dir.Write("two.trd", TwoVideoImage());
    host.answers = {1, 0};
    EXPECT_EQ(LoadFile(player, two), 1);
    EXPECT_EQ(HeaderName(player), "SECOND  ");
    EXPECT_EQ(LoadFile(player, two), 1);
    EXPECT_EQ(HeaderName(player), "FIRST   ");
    EXPECT_EQ(host.choices, (std::vector<std::vector<std::string>>{kNames, kNames}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(FileLoader, UnknownKindsImagesWithoutVideosAndDismissedChoicesLeaveThePlayerEmpty) {
    const std::vector<std::uint8_t> video = SmallVideo("CLIP").bytes;
    const std::vector<std::uint8_t> two = TwoVideoImage();
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int answer;  // the chooser's, should it be asked
        const std::vector<std::string>& messages;
    } cases[] = {
        {"clip.qzm2", video, 0, kNoMessages},  // unknown kinds are left silently
        {"a.b/clip", video, 0, kNoMessages},
        {"none.scl", SclImageBuilder().Build(), 0, kNoVideos},  // and images without a video (below)
        {"two.trd", two, -1, kNoVideos},                        // the choice dismissed
        {"two.trd", two, 2, kNoVideos},                         // a row out of range
        {"two.trd", two, 1000, kNoVideos},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ", answer " + std::to_string(c.answer));
        StartPlaying();
        host.answers = {c.answer};
        EXPECT_EQ(LoadFile(player, dir.Write(c.name, c.bytes)), 0);
        EXPECT_EQ(host.messages, c.messages);
        EXPECT_EQ(host.choices.size(), c.bytes == two ? 1u : 0u);
        EXPECT_EQ(player.State(), PlayerState::Empty);
        EXPECT_TRUE(player.FileBuffer().empty());
        EXPECT_EQ(HeaderName(player), "PLAYING ");  // the header copy of the last stream stays
        EXPECT_EQ(player.DecodeFrame(true), 0);
        EXPECT_EQ(player.Rewind(), 0);
        EXPECT_EQ(player.CurrentFrame(), 0xFFFF);
    }
}

TEST_F(FileLoader, FileThatCannotBeReadLeavesThePlayerUntouched) {
    StartPlaying();
    const std::uint8_t* buffer = player.FileBuffer().data();
    std::filesystem::create_directories(dir.Path() / "folder.qzm");
    const std::string huge = dir.Write("huge.qzm", SmallVideo("HUGE").bytes);
    std::filesystem::resize_file(huge, kMaxFileBytes + 1);  // sparse: costs no disk space
    for (const std::string& path :
         {(dir.Path() / "missing.qzm").string(), (dir.Path() / "folder.qzm").string(), huge}) {
        EXPECT_EQ(LoadFile(player, path), 0) << path;
        EXPECT_EQ(player.State(), PlayerState::Playing);
        EXPECT_EQ(HeaderName(player), "PLAYING ");
        EXPECT_EQ(player.CurrentFrame(), 1);
        EXPECT_EQ(player.FileBuffer().data(), buffer);
        EXPECT_TRUE(host.messages.empty());
    }
}

// Regression: a file was read whole before its header or catalogue was looked at, so a 1 GB file
// named .qzm took seconds and 1 GB of memory to be refused. A file that cannot hold a video is now
// refused from its first kilobytes, with the same message and outcome; a catalogue that runs on
// past them is read on until it ends.
TEST_F(FileLoader, FilesThatCannotHoldAVideoAreRefusedFromTheirFirstBytes) {
    constexpr std::size_t kLarge = kMaxFileBytes;  // sparse: costs no disk space
    const std::vector<std::string> kUnsupported{std::string(kMsgUnsupportedVersion)};
    std::vector<std::uint8_t> future = SmallVideo("FUTURE").bytes;
    future[kHeaderVersion] = kFirstUnsupportedVersion;
    TrdImageBuilder code;
    code.AddFile("CODE", kCodeTag, std::vector<std::uint8_t>(300, 1));
    SclImageBuilder codeScl;
    codeScl.AddFile("CODE", kCodeTag, std::vector<std::uint8_t>(300, 1));
    // 300 entries without a zero first byte, the last one a video whose data lies past the end.
    std::vector<std::uint8_t> longCatalogue(300 * 16, 'x');
    std::copy(kQzmTag.begin(), kQzmTag.end(), longCatalogue.end() - 8);
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::size_t size;
        const std::vector<std::string>& messages;
        PlayerState state;
    } cases[] = {
        {"program.qzm", {0x7F, 'E', 'L', 'F', 2, 1, 1}, kLarge, kInvalidStream, PlayerState::Refused},
        {"future.qzm", future, kLarge, kUnsupported, PlayerState::Refused},
        {"code.trd", code.Build(), kLarge, kNoVideos, PlayerState::Empty},
        {"code.scl", codeScl.Build(), kLarge, kNoVideos, PlayerState::Empty},
        {"film.avi", {}, kLarge, kNoMessages, PlayerState::Empty},
        {"long.trd", longCatalogue, longCatalogue.size(), kInvalidStream, PlayerState::Refused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Write(c.name, c.bytes);
        std::filesystem::resize_file(path, c.size);
        const std::optional<std::vector<std::uint8_t>> read = ReadFileToLoad(path, KindOfPath(path));
        ASSERT_TRUE(read.has_value());
        EXPECT_LE(read->size(), c.size == kLarge ? 4096u : c.size);
        EXPECT_EQ(read->size() == c.size, c.size != kLarge);
        StartPlaying();
        EXPECT_EQ(LoadFile(player, path), 0);
        EXPECT_EQ(host.messages, c.messages);
        EXPECT_EQ(player.State(), c.state);
    }
}

// Regression: a load started from the video choice (the window's open and drop stay usable) freed
// the buffer that the first load then started its stream in. Loads started from the no-videos
// message are refused too.
TEST_F(FileLoader, LoadsStartedDuringTheChoiceOrTheMessageAreRefused) {
    const std::vector<std::uint8_t> image = TwoVideoImage();
    const std::string path = dir.Write("two.trd", image);
    const std::string other = dir.Write("other.qzm", SmallVideo("OTHER").bytes);
    std::vector<int> inner;
    host.onChoose = [&] { inner.push_back(LoadFile(player, other)); };
    host.onMessage = [&](std::string_view) { inner.push_back(LoadFile(player, other)); };
    host.answers = {1, -1};
    EXPECT_EQ(LoadFile(player, path), 1);
    EXPECT_EQ(HeaderName(player), "SECOND  ");
    EXPECT_TRUE(std::ranges::equal(image, player.FileBuffer()));
    EXPECT_EQ(player.DecodeFrame(true), 1);
    EXPECT_EQ(LoadFile(player, path), 0);  // dismissed: the message shows
    EXPECT_EQ(player.State(), PlayerState::Empty);
    EXPECT_EQ(inner, (std::vector<int>{0, 0, 0}));
}

struct Outcome {
    int result;
    const std::vector<std::string>& messages;
    PlayerState state;
};

// Every prefix of a TR-DOS image and of an SCL archive holding two videos, and of a stream file,
// opens to one of the documented outcomes, which follows from how much of the catalogue and of
// the chosen (last) stream the prefix still holds: no video listed, too little for a header, the
// first frame running out of data, or playing. A stream file counts as one video listed from
// its first byte.
TEST(TruncatedFile, EveryPrefixEndsInADocumentedOutcome) {
    const testing::TestVideo first = SmallVideo("FIRST");
    const testing::TestVideo second = SmallVideo("SECOND");
    TrdImageBuilder trd;
    const std::size_t trdFirst = trd.AddFile("FIRST", kQzmTag, first.bytes);
    const std::size_t trdSecond = trd.AddFile("SECOND", kQzmTag, second.bytes);
    SclImageBuilder scl;
    scl.AddFile("FIRST", kQzmTag, first.bytes);
    scl.AddFile("SECOND", kQzmTag, second.bytes);
    const std::size_t sclFirst = 9 + 2 * 14;
    const std::size_t sclSecond = sclFirst + testing::SectorsFor(first.bytes.size()) * testing::kSector;
    const struct {
        ImageKind kind;
        std::vector<std::uint8_t> bytes;
        std::size_t entryEnds[2];  // where each video's catalogue entry ends
        std::size_t offsets[2];    // where each video's stream begins
    } files[] = {
        {ImageKind::TrDos, trd.Build(), {16, 32}, {trdFirst, trdSecond}},
        {ImageKind::Scl, scl.Build(), {9 + 14, 9 + 28}, {sclFirst, sclSecond}},
        {ImageKind::Stream, first.bytes, {0, SIZE_MAX}, {0, 0}},
    };
    testing::RecordingHost host;
    CStreamPlayer player(host);
    for (const auto& file : files) {
        for (std::size_t length = 0; length <= file.bytes.size(); ++length) {
            SCOPED_TRACE(::testing::Message()
                         << "kind " << static_cast<int>(file.kind) << ", " << length << " bytes");
            host.messages.clear();
            host.choices.clear();
            host.answers = {1};  // the last row
            const int result = OpenLoadedFile(
                player, std::vector<std::uint8_t>(file.bytes.begin(), file.bytes.begin() + length),
                file.kind);
            const auto listed =
                std::ranges::count_if(file.entryEnds, [&](auto end) { return end <= length; });
            const std::size_t offset = listed == 0 ? 0 : file.offsets[listed - 1];
            const std::size_t remaining = length > offset ? length - offset : 0;
            const Outcome expected =
                listed == 0                       ? Outcome{0, kNoVideos, PlayerState::Empty}
                : remaining < kHeaderBytes        ? Outcome{0, kInvalidStream, PlayerState::Refused}
                : remaining < first.firstFrameEnd ? Outcome{0, kNoMessages, PlayerState::Ended}
                                                  : Outcome{1, kNoMessages, PlayerState::Playing};
            EXPECT_EQ(result, expected.result);
            EXPECT_EQ(host.messages, expected.messages);
            EXPECT_EQ(player.State(), expected.state);
            EXPECT_EQ(host.choices, std::vector<std::vector<std::string>>(listed == 2 ? 1 : 0, kNames));
            EXPECT_EQ(player.FileBuffer().size(), listed == 0 ? 0 : length);
            if (result == 1) {
                EXPECT_EQ(player.Header().Name()[0], kNames[listed - 1][0]);
            }
        }
    }
}

}  // namespace
}  // namespace qzm
