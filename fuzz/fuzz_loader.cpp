// Arbitrary bytes opened as a TR-DOS image, an SCL archive or a stream file (the first byte modulo
// 3 says which), the rest being the file. The chooser takes the last video; a few frames of
// whatever starts are decoded. Whatever the catalogue claims, nothing may be read outside the file,
// and the player must end in a state that agrees with the result. The part of the file that loading
// from a path reads (ReadBytesToLoad) must open to the same outcome, messages and header as the
// whole file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "demo_scene.h"
#include "disk_images.h"
#include "file_loader.h"
#include "fuzz_support.h"
#include "stream_player.h"

namespace {

using namespace qzm;

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// Keeps what the loader said and offered; the choice picks the last video.
class Witness : public IPlayerHost {
public:
    void ShowMessage(std::string_view text) override { said.emplace_back(text); }
    int ChooseVideo(std::span<const std::string> names) override {
        said.push_back("choice of " + std::to_string(names.size()));
        return static_cast<int>(names.size()) - 1;
    }
    std::vector<std::string> said;
};

constexpr ImageKind kKinds[] = {ImageKind::TrDos, ImageKind::Scl, ImageKind::Stream};

std::vector<std::uint8_t> Seed(std::uint8_t kindByte, std::vector<std::uint8_t> file) {
    file.insert(file.begin(), kindByte);
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const ImageKind kind = kKinds[data[0] % 3];
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    // One player for each way for the whole run: building one renders a whole picture, which would
    // dominate the run time, and every load drops the previous file and stream first.
    static Witness host;
    static CStreamPlayer player(host);
    host.said.clear();
    const int result = OpenLoadedFile(player, std::vector<std::uint8_t>(file.begin(), file.end()), kind);

    Check(result == 0 || player.State() == PlayerState::Playing);
    Check(player.State() != PlayerState::Empty || player.FileBuffer().empty());
    Check(player.State() == PlayerState::Empty || player.FileBuffer().size() == file.size());

    const std::optional<std::vector<std::uint8_t>> head =
        ReadBytesToLoad(file.size(), kind, [&](std::size_t offset, std::span<std::uint8_t> out) {
            Check(offset <= file.size() && out.size() <= file.size() - offset);
            std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
            return true;
        });
    Check(head.has_value() && head->size() <= file.size());
    if (head->size() < file.size()) {
        static Witness headHost;
        static CStreamPlayer headPlayer(headHost);
        headHost.said.clear();
        Check(result == 0);  // a file read in part holds nothing to play
        Check(OpenLoadedFile(headPlayer, *head, kind) == 0);
        Check(headHost.said == host.said && headPlayer.State() == player.State());
        Check(player.State() != PlayerState::Refused || headPlayer.Header().bytes == player.Header().bytes);
    }

    // The start showed the first frame; a few more are decoded without showing them, to keep runs fast.
    for (int frame = 0; frame < 4 && player.DecodeFrame(false) != 0; ++frame) {
    }
    return 0;
}

void WriteSeeds(const std::filesystem::path& dir) {
    using testing::kCodeTag;
    using testing::kQzmTag;
    using testing::SmallVideo;
    constexpr std::uint8_t kTrd = 0;
    constexpr std::uint8_t kScl = 1;
    constexpr std::uint8_t kStream = 2;
    testing::DemoStreamOptions demo;
    demo.frames = 12;
    const std::vector<std::uint8_t> demoStream = testing::BuildDemoStream(demo);

    testing::TrdImageBuilder one;
    one.AddFile("ONE", kQzmTag, SmallVideo("ONE").bytes);
    fuzzing::WriteSeed(dir, "trd-one", Seed(kTrd, one.Build()));

    testing::TrdImageBuilder several;
    const std::string deleted = "\x01"
                                "eleted";  // a deleted file's entry, pointing at the catalogue
    several.AddEntry(deleted, kQzmTag, 0, 0);
    several.AddFile("FIRST", kQzmTag, SmallVideo("FIRST").bytes);
    several.AddFile("CODE", kCodeTag, std::vector<std::uint8_t>(300, 0xC9));
    several.AddFile("DEMO", kQzmTag, demoStream);
    fuzzing::WriteSeed(dir, "trd-several", Seed(kTrd, several.Build()));

    testing::SclImageBuilder sclOne;
    sclOne.AddFile("ONE", kQzmTag, SmallVideo("ONE").bytes);
    fuzzing::WriteSeed(dir, "scl-one", Seed(kScl, sclOne.Build()));

    testing::SclImageBuilder sclSeveral;
    sclSeveral.AddFile("DATA", kCodeTag, std::vector<std::uint8_t>(3 * 256, 0xAA));
    sclSeveral.AddFile("FIRST", kQzmTag, SmallVideo("FIRST").bytes);
    sclSeveral.AddFile("DEMO", kQzmTag, demoStream);
    fuzzing::WriteSeed(dir, "scl-several", Seed(kScl, sclSeveral.Build()));

    fuzzing::WriteSeed(dir, "scl-none", Seed(kScl, testing::SclImageBuilder().Build()));
    fuzzing::WriteSeed(dir, "stream", Seed(kStream, demoStream));
}
