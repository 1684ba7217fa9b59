// Arbitrary bytes opened as a TR-DOS image (first byte even) or an SCL archive (first byte odd),
// the rest being the file. The chooser takes the last video; a few frames of whatever starts are
// decoded. Whatever the catalogue claims, nothing may be read outside the file, and the player must
// end in a state that agrees with the result.
#include <cstddef>
#include <cstdint>
#include <filesystem>
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

std::vector<std::uint8_t> Seed(std::uint8_t kindByte, std::vector<std::uint8_t> file) {
    file.insert(file.begin(), kindByte);
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const ImageKind kind = (data[0] & 1) != 0 ? ImageKind::Scl : ImageKind::TrDos;
    // One player for the whole run: building one renders a whole picture, which would dominate
    // the run time, and every load drops the previous file and stream first.
    static fuzzing::QuietHost host;
    static CStreamPlayer player(host);
    const int result = OpenLoadedFile(player, std::vector<std::uint8_t>(data + 1, data + size), kind);

    Check(result == 0 || player.State() == PlayerState::Playing);
    Check(player.State() != PlayerState::Empty || player.FileBuffer().empty());
    Check(player.State() == PlayerState::Empty || player.FileBuffer().size() == size - 1);
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
}
