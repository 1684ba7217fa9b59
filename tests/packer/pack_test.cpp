// Packed disk images: qzmtool pack's images load and play every video; their catalogues and system
// sectors are what real disks and the disk tools' own converter hold; long videos continue over
// several entries; what does not fit is refused with nothing written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "demo_scene.h"
#include "disk_catalogue.h"
#include "disk_images.h"
#include "disk_packer.h"
#include "file_loader.h"
#include "recording_host.h"
#include "run_program.h"
#include "shared_data.h"
#include "stream_player.h"
#include "temp_dir.h"

namespace qzm {
namespace {

using packer::DiskFile;
using testing::TempDir;

using testing::RunProgram;
using testing::RunResult;

// Plays the player's stream to its end: the frames decoded and the last picture.
std::pair<int, IndexedImageBuffer> PlayThrough(CStreamPlayer& player) {
    int frames = 1;
    while (player.DecodeFrame(true) == 1) {
        ++frames;
    }
    return {frames, player.IndexedImage()};
}

// Loads each of the videos of the image at `path` in turn, as the user would choose them, and plays
// it to its end: the same frames and last picture as `streams` played on their own, no message.
void ExpectListsAndPlays(const std::string& path, const std::vector<std::string>& names,
                         const std::vector<std::vector<std::uint8_t>>& streams) {
    for (std::size_t i = 0; i < streams.size(); ++i) {
        SCOPED_TRACE(path + " video " + std::to_string(i + 1));
        testing::RecordingHost host;
        CStreamPlayer player(host);
        host.answers = {static_cast<int>(i)};
        ASSERT_EQ(LoadFile(player, path), 1);
        if (streams.size() > 1) {
            EXPECT_EQ(host.choices, std::vector<std::vector<std::string>>{names});
        }
        const auto packed = PlayThrough(player);

        CStreamPlayer alone(host);
        ASSERT_EQ(alone.StartStream(streams[i].data(), streams[i].size()), 1);
        const auto expected = PlayThrough(alone);
        EXPECT_EQ(packed.first, expected.first);
        EXPECT_EQ(packed.first, player.Header().FrameCount());
        EXPECT_TRUE(packed.second == expected.second);
        EXPECT_TRUE(host.messages.empty()) << host.messages.front();
    }
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    return ReadWholeFile(path).value_or(std::vector<std::uint8_t>{});
}

TEST(PackCommand, BothFormatsListAndPlayEveryVideoALongOneOverSeveralEntries) {
    TempDir dir;
    const std::vector<std::vector<std::uint8_t>> streams = {
        testing::SmallVideo("SHORT", 3).bytes,
        testing::BuildDemoStream({.frames = 100, .name = "LONGER"}),  // 327 sectors: two entries
        testing::SmallVideo("", 2).bytes,  // a blank header name: the file's stem names it
    };
    const std::vector<std::string> inputs = {dir.Write("a.qzm", streams[0]), dir.Write("b.qzm", streams[1]),
                                             dir.Write("clip-number-3.qzm", streams[2])};
    const std::vector<std::string> names = {"SHORT   ", "LONGER  ", "clip-num"};
    ASSERT_GT(testing::SectorsFor(streams[1].size()), packer::kMaxEntrySectors);

    for (const char* out : {"videos.trd", "videos.scl"}) {
        const std::string path = (dir.Path() / out).string();
        std::vector<std::string> args{"pack", path};
        args.insert(args.end(), inputs.begin(), inputs.end());
        const RunResult r = RunProgram(QZMTOOL_PATH, args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        ExpectListsAndPlays(path, names, streams);

        // The long video: a tagged entry of 255 sectors, then an untagged one of the same name with
        // the rest, over the sectors right after; then the next video.
        const std::vector<std::uint8_t> image = ReadBytes(path);
        const std::vector<CatalogueEntry> entries = WalkCatalogue(image, KindOfPath(path));
        ASSERT_EQ(entries.size(), 4u);
        const std::size_t longSectors = testing::SectorsFor(streams[1].size());
        EXPECT_EQ(entries[1].tag, kVideoTag);
        EXPECT_EQ(entries[1].sectors, 255);
        EXPECT_EQ(entries[2].name, "LONGER  ");
        EXPECT_EQ(entries[2].tag, (std::array<std::uint8_t, 4>{'1', 0, 0, 0}));
        EXPECT_EQ(entries[2].sectors, longSectors - 255);
        EXPECT_EQ(entries[2].offset, entries[1].offset + 255 * testing::kSector);
        EXPECT_EQ(entries[3].offset, entries[1].offset + longSectors * testing::kSector);
        // Lengths (bytes 11-12) count whole sectors.
        const std::size_t head = path.ends_with(".trd") ? 16 : 14;
        const std::size_t second = (path.ends_with(".trd") ? 0 : 9) + 2 * head;
        EXPECT_EQ(image[second + 11], 0);
        EXPECT_EQ(image[second + 12], longSectors - 255);
    }
}

// Real disks' files written again by the packer, in their order: the same catalogue, system sector
// and data. Images made by other tools differ in what the table says.
// The files of a real image as its catalogue lists them, with their data in it.
std::vector<DiskFile> FilesOf(std::span<const std::uint8_t> image, bool trdos) {
    std::vector<DiskFile> files;
    for (const CatalogueEntry& entry : WalkCatalogue(image, trdos ? ImageKind::TrDos : ImageKind::Scl)) {
        const std::uint8_t* e = &image[trdos ? 16 * files.size() : 9 + 14 * files.size()];
        DiskFile& file = files.emplace_back();
        std::copy_n(e, 8, file.name.begin());
        file.type = e[8];
        file.start = static_cast<std::uint16_t>(e[9] | e[10] << 8);
        file.length = static_cast<std::uint16_t>(e[11] | e[12] << 8);
        file.data = image.subspan(entry.offset, entry.sectors * testing::kSector);
    }
    return files;
}

TEST(Packer, WritesRealImagesFilesAsTheirDisksHoldThem) {
    const auto real = testing::RealImagesDir();
    if (!real) {
        GTEST_SKIP() << "real disk images not found: QZM_SHARED_DIR/testdata/real is absent";
    }
    for (const testing::RealImage& known : testing::kRealImages) {
        SCOPED_TRACE(known.file);
        if (known.truncated) {
            continue;
        }
        const bool trdos = KindOfPath(known.file) == ImageKind::TrDos;
        const std::vector<std::uint8_t> original = ReadBytes((*real / known.file).string());
        ASSERT_FALSE(original.empty());
        const std::vector<DiskFile> files = FilesOf(original, trdos);
        if (!trdos) {
            const auto written = std::get<std::vector<std::uint8_t>>(packer::WriteScl(files));
            ASSERT_EQ(written.size(), original.size() + (known.noChecksum ? 4 : 0));
            EXPECT_TRUE(std::equal(original.begin(), original.end(), written.begin()));
            continue;
        }
        packer::Name label;
        std::copy_n(original.begin() + 0x8F5, 8, label.begin());
        const auto written = std::get<std::vector<std::uint8_t>>(packer::WriteTrDos(files, label));
        ASSERT_EQ(written.size(), packer::kDiskBytes);
        // The catalogue up to its end mark (real disks keep old entries after it).
        const std::size_t catalogue = 16 * files.size();
        EXPECT_TRUE(std::equal(original.begin(), original.begin() + catalogue, written.begin()));
        EXPECT_EQ(written[catalogue], 0);
        // First free sector and track, disk type, entries, free sectors, TR-DOS id; deleted entries
        // and label. The bytes between are blanks on disks that TR-DOS formatted, zero on others.
        for (std::size_t at = 0x8E1; at <= 0x8FC; ++at) {
            if ((at >= 0x8E8 && at <= 0x8F3) || (at == 0x8E3 && known.zeroDiskType)) {
                continue;
            }
            EXPECT_EQ(written[at], original[at]) << "system sector byte " << std::hex << at;
        }
        // The files' sectors, up to the first free one (where a short image ends).
        const std::size_t end = (original[0x8E2] * 16 + original[0x8E1]) * testing::kSector;
        ASSERT_LE(end, original.size());
        EXPECT_TRUE(std::equal(original.begin() + testing::kTrack, original.begin() + end,
                               written.begin() + testing::kTrack));
    }
}

TEST(PackCommand, RefusesWhatDoesNotFitOrIsNoVideoAndLeavesNoFile) {
    TempDir dir;
    const std::string small = dir.Write("small.qzm", testing::SmallVideo("SMALL").bytes);
    std::vector<std::uint8_t> huge = testing::SmallVideo("HUGE").bytes;
    huge.resize((packer::kFileSectors + 1) * testing::kSector, 0);
    const std::string tooLarge = dir.Write("huge.qzm", huge);
    const std::string notStream = dir.Write("zeros.qzm", std::vector<std::uint8_t>(300, 0));
    const std::string missing = (dir.Path() / "missing.qzm").string();
    const std::string kept = dir.Write("kept.trd", std::vector<std::uint8_t>{'o', 'l', 'd'});
    const auto out = [&](const char* name) { return (dir.Path() / name).string(); };
    std::vector<std::string> tooMany{out("many.scl")};
    tooMany.insert(tooMany.end(), packer::kMaxEntries + 1, small);

    const testing::Refusal cases[] = {
        {{out("a.trd"), tooLarge}, 1},
        {{out("a.scl"), small, tooLarge}, 1},
        {{kept, tooLarge}, 1},  // an old image stays as it was
        {tooMany, 1},
        {{out("a.trd"), notStream}, 1},
        {{out("a.scl"), missing}, 1},
        {{out("a.zip"), small}, 2},
        {{out("a.trd")}, 2},
    };
    testing::ExpectRefusals(QZMTOOL_PATH, "pack", cases, dir.Path());
    EXPECT_EQ(ReadBytes(kept), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_NE(RunProgram(QZMTOOL_PATH, {"pack", out("a.trd"), tooLarge}).err.find("too large for the disk"),
              std::string::npos);
}

// Debian's fuse-emulator-utils convert SCL archives to TR-DOS images with scl2trd.
TEST(Packer, SclConvertedByTheDiskToolsListsAndPlaysTheSameVideosAsOurImage) {
    std::string scl2trd;
    for (const char* tool : {"/usr/bin/scl2trd", "/usr/local/bin/scl2trd"}) {
        scl2trd = scl2trd.empty() && std::filesystem::exists(tool) ? tool : scl2trd;
    }
    if (scl2trd.empty()) {
        GTEST_SKIP() << "scl2trd (Debian fuse-emulator-utils) is not installed";
    }
    TempDir dir;
    const std::vector<std::vector<std::uint8_t>> streams = {
        testing::BuildDemoStream({.frames = 90, .name = "FIRST"}), testing::SmallVideo("SECOND", 4).bytes};
    const packer::Video videos[] = {{packer::MakeName("FIRST"), streams[0]},
                                    {packer::MakeName("SECOND"), streams[1]}};
    const packer::Name label = packer::MakeName("LABEL");
    const std::string scl = dir.Write("v.scl", std::get<std::vector<std::uint8_t>>(packer::PackVideos(
                                                   packer::DiskFormat::Scl, videos, label)));
    const auto ours =
        std::get<std::vector<std::uint8_t>>(packer::PackVideos(packer::DiskFormat::TrDos, videos, label));
    const std::string converted = (dir.Path() / "converted.trd").string();
    ASSERT_EQ(RunProgram(scl2trd, {scl, converted}).exitCode, 0);

    ExpectListsAndPlays(converted, {"FIRST   ", "SECOND  "}, streams);
    // Its catalogue and system sector are ours, but for the label.
    const std::vector<std::uint8_t> theirs = ReadBytes(converted);
    ASSERT_EQ(theirs.size(), ours.size());
    EXPECT_TRUE(std::equal(ours.begin(), ours.begin() + 0x8F5, theirs.begin()));
    EXPECT_TRUE(std::equal(ours.begin() + testing::kTrack, ours.end(), theirs.begin() + testing::kTrack));
}

// The committed demos: the disk image and the archive offer the demo and a second video, which
// play to their ends as they do on their own; each file stays well under a megabyte.
TEST(BundledDemos, DiskAndArchiveHoldTheDemoAndASecondVideo) {
    const std::filesystem::path samples = testing::SourceDir() / "samples";
    const std::vector<std::uint8_t> demo = ReadBytes((samples / "demo.qzm").string());
    ASSERT_FALSE(demo.empty());
    for (const char* file : {"demo.qzm", "demos.trd", "demos.scl"}) {
        EXPECT_LT(std::filesystem::file_size(samples / file), 1000u * 1000u) << file;
    }
    for (const char* file : {"demos.trd", "demos.scl"}) {
        SCOPED_TRACE(file);
        const std::string path = (samples / file).string();
        const std::vector<std::uint8_t> image = ReadBytes(path);
        const std::vector<VideoEntry> videos = ListVideos(image, KindOfPath(path));
        ASSERT_EQ(videos.size(), 2u);
        EXPECT_EQ(videos[0].name, "DEMO    ");
        EXPECT_TRUE(std::equal(demo.begin(), demo.end(),
                               image.begin() + static_cast<std::ptrdiff_t>(videos[0].offset)));
        const std::vector<std::uint8_t> second(image.begin() + static_cast<std::ptrdiff_t>(videos[1].offset),
                                               image.end());
        ExpectListsAndPlays(path, {videos[0].name, videos[1].name}, {demo, second});
    }
}

}  // namespace
}  // namespace qzm
