// Loading files by path into a player: kinds by extension, starting the one video or the chosen
// one, the no-video end, files that cannot be read, and loads started while one is in progress.
#include <gtest/gtest.h>

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

std::string HeaderName(const CStreamPlayer& player) {
    const auto name = player.Header().Name();
    return {name.begin(), name.end()};
}

class FileLoader : public ::testing::Test {
protected:
    // A TR-DOS image with the videos FIRST and SECOND, and a code file between them.
    std::vector<std::uint8_t> TwoVideoImage() const {
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
    }
    void ExpectStillPlaying() const {
        EXPECT_EQ(player.State(), PlayerState::Playing);
        EXPECT_EQ(HeaderName(player), "PLAYING ");
        EXPECT_EQ(player.CurrentFrame(), 1);
        EXPECT_TRUE(host.messages.empty());
    }
    void ExpectEmpty() const {
        EXPECT_EQ(player.State(), PlayerState::Empty);
        EXPECT_TRUE(player.FileBuffer().empty());
        EXPECT_EQ(player.CurrentFrame(), kNoFrame);
    }

    testing::TempDir dir;
    testing::RecordingHost host;
    CStreamPlayer player{host};
};

TEST(ImageKindOfPath, ExtensionAfterTheLastDotOfTheWholePathInAnyCase) {
    const std::pair<const char*, ImageKind> cases[] = {
        {"clip.qzm", ImageKind::Stream},
        {"CLIP.QZM", ImageKind::Stream},
        {"Clip.Qzm", ImageKind::Stream},
        {"/a.b/disk.trd", ImageKind::TrDos},
        {"DISK.TrD", ImageKind::TrDos},
        {"x.scl", ImageKind::Scl},
        {"x.tar.SCL", ImageKind::Scl},
        {"clip.qzm2", ImageKind::Unknown},
        {"clip.qz", ImageKind::Unknown},
        {"clip", ImageKind::Unknown},
        {"clip.", ImageKind::Unknown},
        {"C:\\a.b\\clip", ImageKind::Unknown},
        {"/tmp/a.qzm/clip", ImageKind::Unknown},
        {"clip.qzm ", ImageKind::Unknown},
        {".qzm", ImageKind::Stream},
    };
    for (const auto& [path, kind] : cases) {
        EXPECT_EQ(KindOfPath(path), kind) << path;
    }
}

TEST_F(FileLoader, StreamFilesPlayWhateverTheCaseOfTheirExtension) {
    for (const char* name : {"clip.qzm", "CLIP.QZM", "Clip.Qzm", "dir.trd/clip.qzm"}) {
        EXPECT_EQ(LoadFile(player, dir.Write(name, SmallVideo("CLIP").bytes)), 1) << name;
        EXPECT_EQ(HeaderName(player), "CLIP    ");
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(FileLoader, UnrecognisedExtensionLeavesThePlayerEmptyWithoutAMessage) {
    for (const char* name : {"clip.qzm2", "clip.qz", "clip", "a.b/clip"}) {
        StartPlaying();
        EXPECT_EQ(LoadFile(player, dir.Write(name, SmallVideo("CLIP").bytes)), 0) << name;
        ExpectEmpty();
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST_F(FileLoader, FileThatCannotBeReadLeavesThePlayerUntouched) {
    StartPlaying();
    const std::span<const std::uint8_t> buffer = player.FileBuffer();
    std::filesystem::create_directories(dir.Path() / "folder.qzm");
    const std::string huge = dir.Write("huge.qzm", SmallVideo("HUGE").bytes);
    std::filesystem::resize_file(huge, kMaxFileBytes + 1);  // sparse: costs no disk space
    for (const std::string& path :
         {(dir.Path() / "missing.qzm").string(), (dir.Path() / "folder.qzm").string(), huge}) {
        EXPECT_EQ(LoadFile(player, path), 0) << path;
        ExpectStillPlaying();
        EXPECT_EQ(player.FileBuffer().data(), buffer.data());
    }
}

TEST_F(FileLoader, OneVideoStartsWithoutAChoice) {
    TrdImageBuilder trd;
    trd.AddFile("CODE", kCodeTag, std::vector<std::uint8_t>(700, 1));
    trd.AddFile("ONLY", kQzmTag, SmallVideo("ONLY").bytes);
    EXPECT_EQ(LoadFile(player, dir.Write("one.trd", trd.Build())), 1);
    EXPECT_TRUE(host.choices.empty());
    EXPECT_EQ(HeaderName(player), "ONLY    ");
    EXPECT_EQ(player.State(), PlayerState::Playing);
}

TEST_F(FileLoader, SeveralVideosAreOfferedByNameInCatalogueOrder) {
    const std::string path = dir.Write("two.trd", TwoVideoImage());
    host.answers = {1, 0};
    EXPECT_EQ(LoadFile(player, path), 1);
    EXPECT_EQ(HeaderName(player), "SECOND  ");
    EXPECT_EQ(LoadFile(player, path), 1);
    EXPECT_EQ(HeaderName(player), "FIRST   ");
    ASSERT_EQ(host.choices.size(), 2u);
    EXPECT_EQ(host.choices[0], (std::vector<std::string>{"FIRST   ", "SECOND  "}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(FileLoader, NoChoiceOrARowOutOfRangeEndsWithNoVideosAndAnEmptyPlayer) {
    const std::string path = dir.Write("two.trd", TwoVideoImage());
    for (const int answer : {-1, 2, 1000}) {
        StartPlaying();
        host.answers = {answer};
        EXPECT_EQ(LoadFile(player, path), 0) << answer;
        EXPECT_EQ(host.messages, std::vector<std::string>{std::string(kMsgNoVideos)});
        ExpectEmpty();
        EXPECT_EQ(HeaderName(player), "PLAYING ");  // the header copy of the last stream stays
        EXPECT_EQ(player.DecodeFrame(true), 0);
        EXPECT_EQ(player.Rewind(), 0);
    }
}

TEST_F(FileLoader, ImagesWithoutVideosSayNoVideofilesFound) {
    TrdImageBuilder codeOnly;
    codeOnly.AddFile("CODE", kCodeTag, std::vector<std::uint8_t>(300, 1));
    const std::pair<const char*, std::vector<std::uint8_t>> images[] = {
        {"code.trd", codeOnly.Build()},
        {"none.scl", SclImageBuilder().Build()},
        {"empty.trd", {}},
        {"empty.scl", {}},
    };
    for (const auto& [name, bytes] : images) {
        StartPlaying();
        EXPECT_EQ(LoadFile(player, dir.Write(name, bytes)), 0) << name;
        EXPECT_EQ(host.messages, std::vector<std::string>{std::string(kMsgNoVideos)}) << name;
        ExpectEmpty();
        EXPECT_TRUE(host.choices.empty());
    }
}

TEST_F(FileLoader, StreamCutShortByTheEndOfTheFileIsAnInvalidStream) {
    const std::vector<std::uint8_t> video = SmallVideo("CUT").bytes;
    TrdImageBuilder faraway;
    faraway.AddEntry("FARAWAY", kQzmTag, 200, 0);  // beyond the end of the image
    TrdImageBuilder cut;
    cut.AddEntry("CUT", kQzmTag, 1, 0);  // right after track 0, where the image ends
    std::vector<std::uint8_t> cutImage = cut.Build();
    cutImage.insert(cutImage.end(), video.begin(), video.begin() + 255);  // one byte short of a header
    const std::pair<const char*, std::vector<std::uint8_t>> files[] = {
        {"empty.qzm", {}},
        {"cut.qzm", {video.begin(), video.begin() + 255}},
        {"faraway.trd", faraway.Build(true)},
        {"cut.trd", cutImage},
    };
    for (const auto& [name, bytes] : files) {
        host.messages.clear();
        EXPECT_EQ(LoadFile(player, dir.Write(name, bytes)), 0) << name;
        EXPECT_EQ(host.messages, std::vector<std::string>{std::string(kMsgInvalidStream)}) << name;
        EXPECT_EQ(player.State(), PlayerState::Refused);
        EXPECT_EQ(player.FileBuffer().size(), bytes.size());
    }
}

// Regression: a load started from the video choice (the window's open and drop stay usable) freed
// the buffer that the first load then started its stream in.
TEST_F(FileLoader, LoadStartedDuringTheChoiceIsRefusedAndTheFirstLoadCompletes) {
    const std::vector<std::uint8_t> image = TwoVideoImage();
    const std::string path = dir.Write("two.trd", image);
    const std::string other = dir.Write("other.qzm", SmallVideo("OTHER").bytes);
    int inner = -1;
    host.onChoose = [&] { inner = LoadFile(player, other); };
    host.answers = {1};
    EXPECT_EQ(LoadFile(player, path), 1);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(HeaderName(player), "SECOND  ");
    EXPECT_TRUE(
        std::equal(image.begin(), image.end(), player.FileBuffer().begin(), player.FileBuffer().end()));
    EXPECT_EQ(player.DecodeFrame(true), 1);
}

TEST_F(FileLoader, LoadStartedDuringTheNoVideosMessageIsRefused) {
    const std::string path = dir.Write("none.scl", SclImageBuilder().Build());
    const std::string other = dir.Write("other.qzm", SmallVideo("OTHER").bytes);
    int inner = -1;
    host.onMessage = [&](std::string_view) { inner = LoadFile(player, other); };
    EXPECT_EQ(LoadFile(player, path), 0);
    EXPECT_EQ(inner, 0);
    ExpectEmpty();
}

}  // namespace
}  // namespace qzm
