// qzmtool run as a program: its pictures against the library's, its listings, its exit codes.
#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <set>

#include "demo_scene.h"
#include "disk_images.h"
#include "media_files.h"
#include "picture_quantizer.h"
#include "recording_host.h"
#include "renderer.h"
#include "run_program.h"
#include "shared_data.h"
#include "shown_screen.h"
#include "stream_player.h"
#include "temp_dir.h"

namespace qzm {
namespace {

using testing::TempDir;

using testing::ReadText;
using testing::RunResult;

RunResult RunTool(const std::vector<std::string>& args) {
    return testing::RunProgram(QZMTOOL_PATH, args);
}

// Runs qzmtool, which must succeed without a word on stderr; returns what it wrote on stdout.
std::string RunOk(const std::vector<std::string>& args) {
    const RunResult r = RunTool(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return r.out;
}

// Runs `info` on `args`: each of `rows` is among the lines it prints.
void ExpectInfo(std::vector<std::string> args, std::initializer_list<const char*> rows) {
    args.insert(args.begin(), "info");
    const std::string info = RunOk(args);
    for (const char* row : rows) {
        EXPECT_NE(info.find(row), std::string::npos) << row << "\n" << info;
    }
}

// A binary PPM of `w` x `h` pixels as qzmtool writes it: its header, then `rgb`.
std::string Ppm(int w, int h, const std::string& rgb) {
    return "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n" + rgb;
}

constexpr std::size_t kPictureRgbBytes = 256 * 192 * 3;

// A PNG's RGB bytes, top row first, or nothing when it cannot be read.
std::string ReadPngRgb(const std::filesystem::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::string rgb;
    if (png_image_begin_read_from_file(&image, path.c_str()) != 0) {
        image.format = PNG_FORMAT_RGB;
        rgb.resize(PNG_IMAGE_SIZE(image));
        png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr);
    }
    return rgb;
}

// Frames `from` to `from + count - 1` of `stream` as the library renders them at `w` x `h` with
// `filter`, as RGB (or BGRA with an opaque alpha) bytes, top row first.
std::string Rendered(const std::vector<std::uint8_t>& stream, int from, int count, int w, int h, int filter,
                     bool bgra) {
    testing::RecordingHost host;
    CStreamPlayer player(host);
    EXPECT_EQ(player.StartStream(stream.data(), stream.size()), 1);
    player.Seek(from);
    auto renderer = CreateRenderer(filter);
    std::string bytes;
    for (int frame = 0; frame < count; ++frame, player.DecodeFrame(true)) {
        renderer->Render(player.IndexedImage().data(), w, h, 0, 0);
        for (int i = 0; i < w * h; ++i) {
            const auto p = renderer->Pixels()[i];
            const char r = static_cast<char>(PixelRed(p)), g = static_cast<char>(PixelGreen(p)),
                       b = static_cast<char>(PixelBlue(p));
            bytes += bgra ? std::string{b, g, r, '\xFF'} : std::string{r, g, b};
        }
    }
    return bytes;
}

// Every frame by default, as PPM pictures at 256 x 192; pictures start where the slider would and
// scale on request; raw frames on stdout are the same pixels, in BGRA unless told.
TEST(QzmToolExport, PicturesAndRawFramesAreTheLibrarysRendering) {
    TempDir dir;
    const auto stream = testing::BuildDemoStream({.frames = 40});
    const std::string file = dir.Write("clip.qzm", stream);
    const auto out = dir.Path() / "out";
    RunOk({"export", file, "--out", (dir.Path() / "all").string()});
    const std::string all = Rendered(stream, 1, 40, 256, 192, 0, false);
    for (std::size_t frame = 1; frame <= 40; ++frame) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%05zu.ppm", frame);
        ASSERT_TRUE(ReadText(dir.Path() / "all" / name) ==
                    Ppm(256, 192, all.substr((frame - 1) * kPictureRgbBytes, kPictureRgbBytes)))
            << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "all" / "frame-00041.ppm"));
    const auto run = [&](std::vector<std::string> more) {
        more.insert(more.begin(), {"export", file, "--from", "25", "--count", "2"});
        return RunOk(more);
    };
    run({"--size", "300x200", "--filter", "2", "--out", out.string()});
    EXPECT_FALSE(std::filesystem::exists(out / "frame-00024.ppm"));
    EXPECT_TRUE(std::filesystem::exists(out / "frame-00026.ppm"));
    EXPECT_FALSE(std::filesystem::exists(out / "frame-00027.ppm"));
    EXPECT_TRUE(ReadText(out / "frame-00025.ppm") ==
                Ppm(300, 200, Rendered(stream, 25, 1, 300, 200, 2, false)));

    run({"--size", "300x200", "--filter", "2", "--out", out.string(), "--format", "png"});
    EXPECT_TRUE(ReadPngRgb(out / "frame-00026.png") == Rendered(stream, 26, 1, 300, 200, 2, false));
    EXPECT_TRUE(run({"--size", "300x200", "--filter", "2", "--out", "-", "--format", "rgb24"}) ==
                Rendered(stream, 25, 2, 300, 200, 2, false));
    EXPECT_TRUE(run({"--size", "300x200", "--filter", "2", "--out", "-", "--format", "bgra"}) ==
                Rendered(stream, 25, 2, 300, 200, 2, true));
    EXPECT_TRUE(run({"--out", "-"}) == Rendered(stream, 25, 2, 256, 192, 0, true));
}

TEST(QzmToolExport, DecoderMessagesGoToStderrAndDecodingGoesOn) {
    TempDir dir;
    testing::StreamBuilder b;
    b.Header({.frameCount = 2});
    b.Literal(0, testing::CellLines{}).EndFrame();
    b.Command(0x0D).Bytes(testing::CellLines{}).EndFrame().EndStream();
    const std::string file = dir.Write("odd.qzm", b.Data());
    const RunResult r = RunTool({"export", file, "--out", dir.Path().string(), "--format", "png"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "qzmtool: Wrong command!\n");
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "frame-00002.png"));
}

TEST(QzmToolExport, ExitCodesForUsageAndUnplayableFiles) {
    TempDir dir;
    const std::string good = dir.Write("good.qzm", testing::BuildDemoStream({.frames = 3}));
    const std::string bad = dir.Write("bad.qzm", std::vector<std::uint8_t>(300, 0));
    const std::string out = (dir.Path() / "o").string();
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{}, 2},
        {{"frobnicate"}, 2},
        {{"help", "frobnicate"}, 2},
        {{"help", "export", "info"}, 2},
        {{"encode", good, "--title", "--help"}, 2},              // a title, not a request for help: no -o
        {{"export", good}, 2},                                   // no --out
        {{"export", good, "--out", out, "--format", "gif"}, 2},  // unknown format
        {{"export", good, "--out", out, "--format", "scr", "--size", "300x200"},
         2},                                                      // screens are not scaled
        {{"export", good, "--out", out, "--size", "0x10"}, 2},    // size out of range
        {{"export", good, "--out", out, "--count"}, 2},           // option without its value
        {{"export", good, "--out", out, "--speed", "2"}, 2},      // unknown option
        {{"export", good, "--out", out, "--from", "x"}, 2},       // not a number
        {{"export", good, "--out", "-", "--format", "png"}, 2},   // raw output takes bgra or rgb24
        {{"export", good, "--out", out, "--format", "bgra"}, 2},  // pictures are ppm or png
        {{"export", (dir.Path() / "none.qzm").string(), "--out", out}, 1},
        {{"export", bad, "--out", out}, 1},
        {{"export", good, "--out", out, "--from", "500"}, 0},  // clamped to the last frame
    };
    for (const auto& [args, code] : cases) {
        const RunResult r = RunTool(args);
        EXPECT_EQ(r.exitCode, code) << ::testing::PrintToString(args) << r.err;
        if (code != 0) {
            EXPECT_EQ(r.err.rfind("qzmtool: ", 0), 0u) << r.err;
        }
    }
    EXPECT_EQ(RunTool({"export", bad, "--out", out}).err, "qzmtool: Invalid stream!\n");
}

TEST(QzmToolImages, ListsExportsAndDescribesTheChosenVideo) {
    TempDir dir;
    testing::TrdImageBuilder trd;
    const auto first = testing::SmallVideo("FIRST", 2);
    const auto second = testing::BuildDemoStream({.frames = 5});
    trd.AddFile("boot", testing::kCodeTag, first.bytes);
    const std::size_t firstOffset = trd.AddFile("FIRST", testing::kQzmTag, first.bytes);
    const std::size_t secondOffset = trd.AddFile("SECOND  ", testing::kQzmTag, second);
    const std::string image = dir.Write("disk.trd", trd.Build(true));

    EXPECT_EQ(RunOk({"list", image}), "1\tFIRST   \t" + std::to_string(firstOffset) + "\n2\tSECOND  \t" +
                                          std::to_string(secondOffset) + "\n");
    ExpectInfo({image, "--video", "2"}, {"Frames:\t5\n", "Filename:\tDEMO    \n", "ffmpeg -r:\t25\n"});

    const auto out = dir.Path() / "second";
    RunOk({"export", image, "--video", "2", "--out", out.string()});
    EXPECT_TRUE(std::filesystem::exists(out / "frame-00005.ppm"));
    EXPECT_FALSE(std::filesystem::exists(out / "frame-00006.ppm"));

    const RunResult missing = RunTool({"export", image, "--video", "3", "--out", out.string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "qzmtool: there is no video 3; the image holds 2\n");  // said once

    const RunResult none = RunTool({"list", dir.Write("empty.trd", std::vector<std::uint8_t>(4096, 0))});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, "qzmtool: No videofiles found!\n");
}

// A stream of `frames` frames (the header may claim another count). Each frame marks cell 700 with
// its number; a detailed frame covers 200 cells, a quarter of the screen and more, with stripes in
// white and black, the others blank them.
std::vector<std::uint8_t> ThumbnailStream(int frames, int claimed, const std::vector<int>& detailed) {
    testing::StreamBuilder b;
    b.Header({.frameCount = static_cast<std::uint16_t>(claimed)});
    for (int frame = 1; frame <= frames; ++frame) {
        testing::CellLines lines;
        lines.fill(std::ranges::count(detailed, frame) != 0 ? 0x55 : 0);
        for (int cell = 0; cell < 200; ++cell) {
            b.Literal(0, lines);
        }
        lines.fill(static_cast<std::uint8_t>(frame));
        b.Skip254().Literal(700 - 200 - 254, lines).EndFrame();  // cells 200-453, then cell 700
    }
    return b.EndStream().Take();
}

// The first detailed frame from a tenth of the video on, else the middle frame, else the last one
// there is; scaled by the bicubic method to fit the size at 4:3.
TEST(QzmToolThumbnail, ChoosesTheFrameAndScalesItToFit) {
    TempDir dir;
    const struct {
        int frames, claimed;
        std::vector<int> detailed;
        int expected, size;
    } cases[] = {
        {20, 20, {1, 6, 7}, 6, 256},  // frame 1 lies before a tenth
        {20, 20, {2}, 2, 100},
        {20, 20, {}, 10, 256},
        {8, 40, {}, 8, 256},  // the stream ends before its middle
    };
    for (const auto& c : cases) {
        const auto stream = ThumbnailStream(c.frames, c.claimed, c.detailed);
        const std::string file = dir.Write("clip.qzm", stream);
        const auto png = dir.Path() / "clip.png";
        RunOk({"thumbnail", file, png.string(), "--size", std::to_string(c.size)});
        EXPECT_TRUE(ReadPngRgb(png) == Rendered(stream, c.expected, 1, c.size, c.size * 3 / 4, 3, false))
            << "expected frame " << c.expected;
    }
}

// A Spectrum screen that changes with `frame`: per cell an ink and a paper of the eight colours, a
// pattern of the two, and BRIGHT and FLASH on some cells.
std::vector<std::uint8_t> TestScreen(int frame) {
    std::vector<std::uint8_t> s(kScreenBytes);
    for (int y = 0; y < 192; ++y) {
        for (int x = 0; x < 32; ++x) {
            s[encoder::BitmapOffset(y, x)] =
                static_cast<std::uint8_t>((x * 29 + y * 7 + frame * 3) * 0x4D >> 2);
        }
    }
    for (std::size_t cell = 0; cell < kAttributeBytes; ++cell) {
        const std::size_t ink = (cell + frame) % 8;
        const std::size_t paper = (cell / 32 + 3 * frame + 1) % 8;
        s[kBitmapBytes + cell] =
            static_cast<std::uint8_t>((cell % 5 == 0) << 7 | (cell % 3 == 0) << 6 | paper << 3 | ink);
    }
    return s;
}

TEST(QzmToolEncode, SpectrumExactPicturesComeBackPixelForPixel) {
    TempDir dir;
    std::vector<std::string> args = {"encode"};
    std::string expected;
    for (int frame = 0; frame < 3; ++frame) {
        tool::RgbImage picture{256, 192, testing::ShownRgb(TestScreen(frame))};
        args.push_back(testing::WritePicture(dir, "p" + std::to_string(frame) + ".png", picture,
                                             tool::ImageFormat::Png));
        expected.append(picture.rgb.begin(), picture.rgb.end());
    }
    const std::string out = (dir.Path() / "my clip 2024.qzm").string();
    args.insert(args.end(),
                {"-o", out, "--dither", "none", "--delay", "3", "--title", "Клип", "--author", "Me"});
    RunOk(args);
    ExpectInfo({out},
               {"Filename:\tMY_CLIP_\n", "Clip:\tКлип", "Author:\tMe", "Frames:\t3\n", "ffmpeg -r:\t50/3\n"});
    const std::string bytes = ReadText(out);
    const std::vector<std::uint8_t> stream(bytes.begin(), bytes.end());
    EXPECT_TRUE(Rendered(stream, 1, 3, 256, 192, 0, false) == expected);
}

// Encodes `inputs` and exports the video's screens as .scr files; returns their bytes.
std::vector<std::string> ScreensThroughTheTool(const TempDir& dir, std::vector<std::string> inputs) {
    const std::string qzm = (dir.Path() / "screens.qzm").string();
    const auto out = dir.Path() / "exported";
    std::filesystem::remove_all(out);
    inputs.insert(inputs.begin(), "encode");
    inputs.insert(inputs.end(), {"-o", qzm});
    RunOk(inputs);
    RunOk({"export", qzm, "--out", out.string(), "--format", "scr"});
    std::vector<std::string> screens;
    for (int frame = 1;; ++frame) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%05d.scr", frame);
        if (!std::filesystem::exists(out / name)) {
            return screens;
        }
        screens.push_back(ReadText(out / name));
    }
}

// Screen files, recognised with or without their name, come back exactly in what the player shows,
// and the first frame byte for byte, BRIGHT and FLASH included.
TEST(QzmToolEncode, ScreenFilesComeBackThroughExport) {
    TempDir dir;
    const std::vector<std::uint8_t> made[] = {TestScreen(0), TestScreen(1), TestScreen(2)};
    const auto back = ScreensThroughTheTool(
        dir, {dir.Write("a.scr", made[0]), dir.Write("b.SCR", made[1]), dir.Write("picture", made[2])});
    ASSERT_EQ(back.size(), 3u);
    EXPECT_TRUE(back[0] == std::string(made[0].begin(), made[0].end()));
    for (std::size_t f = 1; f < 3; ++f) {
        for (std::size_t i = 0; i < kScreenBytes; ++i) {
            const int mask = i < kBitmapBytes ? 0xFF : kAttributeValueBits;
            ASSERT_EQ(back[f][i] & mask, made[f][i] & mask) << "screen " << f << " byte " << i;
        }
    }
}

TEST(QzmToolEncode, RealLoadingScreenComesBackByteForByte) {
    TempDir dir;
    const auto real = testing::RealImagesDir();
    if (!real || !std::filesystem::exists(*real / "desolate-loading.scr")) {
        GTEST_SKIP() << "no ../shared/testdata/real/desolate-loading.scr: a real loading screen is not tried";
    }
    const auto loading = ScreensThroughTheTool(dir, {(*real / "desolate-loading.scr").string()});
    ASSERT_EQ(loading.size(), 1u);
    EXPECT_TRUE(loading[0] == ReadText(*real / "desolate-loading.scr"));
}

TEST(QzmToolEncode, VideoTakesItsDelayFromItsFrameRate) {
    TempDir dir;
    const std::string video = testing::WriteGreyVideo(dir, "grey.y4m", "25:2", 6);
    const std::string out = (dir.Path() / "grey.qzm").string();
    RunOk({"encode", video, "-o", out});
    ExpectInfo({out}, {"Filename:\tGREY", "Frames:\t6\n", "ffmpeg -r:\t25/2\n"});
}

// A grey that none of the eight colours shows comes out differently in each dither mode.
TEST(QzmToolEncode, EachDitherModeGivesItsOwnStream) {
    TempDir dir;
    const std::string grey =
        testing::WritePicture(dir, "grey.png", 64, 48, 100, 100, 100, tool::ImageFormat::Png);
    std::set<std::string> streams;
    for (const char* mode : {"none", "ordered", "diffusion"}) {
        const std::string out = (dir.Path() / (std::string(mode) + ".qzm")).string();
        RunOk({"encode", grey, "-o", out, "--name", "GREY", "--dither", mode});
        streams.insert(ReadText(out));
    }
    EXPECT_EQ(streams.size(), 3u);
}

TEST(QzmToolEncode, FailuresLeaveNoFileBehind) {
    TempDir dir;
    const std::string picture = testing::WritePicture(dir, "p.png", 16, 12, 9, 9, 9, tool::ImageFormat::Png);
    const std::string video = testing::WriteGreyVideo(dir, "v.y4m", "25:1", 2);
    const std::string empty = testing::WriteGreyVideo(dir, "empty.y4m", "25:1", 0);
    const std::string text = dir.Write("notes.txt", std::vector<std::uint8_t>(64, 'a'));
    const std::string kept = dir.Write("kept.qzm", std::vector<std::uint8_t>{'o', 'l', 'd'});
    const std::string out = (dir.Path() / "out.qzm").string();
    const testing::Refusal cases[] = {
        {{(dir.Path() / "missing.png").string(), "-o", out}, 1},
        {{text, "-o", out}, 1},
        {{dir.Write("short.scr", std::vector<std::uint8_t>(6911, 0x38)), "-o", out}, 1},  // not a screen
        {{empty, "-o", out}, 1},
        {{picture, video, "-o", out}, 1},
        {{picture, "-o", out, "--title", std::string(33, 'x')}, 1},
        {{picture, "-o", out, "--author", "5 €"}, 1},
        {{picture, "-o", out, "--name", "NINECHARS"}, 1},
        {{text, "-o", kept}, 1},
        {{picture, "-o", (dir.Path() / "no" / "such" / "dir.qzm").string()}, 1},
        {{picture}, 2},
        {{"-o", out}, 2},
        {{picture, "-o", out, "--dither", "random"}, 2},
        {{picture, "-o", out, "--version", "8"}, 2},
        {{picture, "-o", out, "--delay", "0"}, 2},
    };
    testing::ExpectRefusals(QZMTOOL_PATH, "encode", cases, dir.Path());
    EXPECT_EQ(ReadText(kept), "old");
}

}  // namespace
}  // namespace qzm
