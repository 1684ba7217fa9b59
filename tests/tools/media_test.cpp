// The media reader on real files written here: geometry, frame timing, pictures, errors.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cmath>

#include "media_files.h"
#include "media_reader.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

namespace qzm::media {
namespace {

using testing::TempDir;
using testing::WriteGreyVideo;
using testing::WritePicture;

// The picture keeps its shape within half a cell and lies on whole cells, so that no cell has to
// show both picture and border (3:2 would otherwise start at line 10, 8:7 at column 18).
TEST(MediaGeometry, LetterBoxKeepsThePictureShapeOnWholeCells) {
    const std::pair<double, Rect> cases[] = {
        {4.0 / 3.0, {0, 0, 256, 192}},    {16.0 / 9.0, {0, 24, 256, 144}}, {8.0 / 3.0, {0, 48, 256, 96}},
        {0.5, {80, 0, 96, 192}},          {3.0 / 4.0, {56, 0, 144, 192}},  {1.5, {0, 8, 256, 168}},
        {8.0 / 7.0, {16, 0, 216, 192}},   {1.85, {0, 24, 256, 136}},       {1e9, {0, 88, 256, 8}},
        {1e-9, {120, 0, 8, 192}},         {0.0, {0, 0, 256, 192}},         {-1.0, {0, 0, 256, 192}},
        {std::nan(""), {0, 0, 256, 192}}, {INFINITY, {0, 0, 256, 192}},
    };
    for (const auto& [aspect, rect] : cases) {
        EXPECT_EQ(LetterBox(aspect), rect) << aspect;
    }
}

TEST(MediaGeometry, DelayIsTheNearestWholeNumberOfFiftieths) {
    // Each delay and the rates (numerator, denominator) that give it.
    const std::pair<int, std::vector<std::pair<int, int>>> cases[] = {
        {1, {{50, 1}, {60, 1}, {1000, 1}, {2147483647, 1}}},
        {2, {{25, 1}, {30, 1}, {30000, 1001}, {24, 1}}},
        {3, {{20, 1}}},
        {4, {{25, 2}}},
        {50, {{1, 1}}},
        {255, {{1, 10}, {1, 2147483647}}},
        {kDefaultDelay, {{0, 1}, {0, 0}, {25, 0}, {-25, 1}}},
    };
    for (const auto& [delay, rates] : cases) {
        for (const auto& [num, den] : rates) {
            EXPECT_EQ(DelayForFrameRate(num, den), delay) << num << "/" << den;
        }
    }
}

// Reads the next frame into `rgb` (kFrameBytes long) at `delay`.
ReadResult Next(MediaReader& reader, std::vector<std::uint8_t>& rgb, std::string& error, int delay = 2) {
    return reader.Next(delay, std::span<std::uint8_t, kFrameBytes>(rgb.data(), kFrameBytes), error);
}

// Reads every frame; returns the red value of each one's middle pixel.
std::vector<int> ReadAll(MediaReader& reader, int delay) {
    std::vector<std::uint8_t> rgb(kFrameBytes);
    std::vector<int> reds;
    std::string error;
    for (ReadResult r; (r = Next(reader, rgb, error, delay)) != ReadResult::End;) {
        EXPECT_EQ(r, ReadResult::Frame) << error;
        if (r != ReadResult::Frame) {
            break;
        }
        reds.push_back(rgb[(96 * kFrameWidth + 128) * 3]);
    }
    return reds;
}

TEST(MediaReader, VideoFramesAreDroppedOrRepeatedToKeepTime) {
    const struct {
        const char* rate;
        int frames, naturalDelay, delay;
        std::vector<int> shown;  // source frame of each output frame
    } cases[] = {
        {"25:1", 4, 2, 2, {0, 1, 2, 3}},    {"50:1", 8, 1, 2, {0, 2, 4, 6}},
        {"30:1", 6, 2, 2, {0, 1, 2, 3, 4}}, {"25:2", 3, 4, 2, {0, 0, 1, 1, 2, 2}},
        {"25:1", 5, 2, 5, {0, 2}},  // 0.2 s: frames 0 and 2.5 -> 2; ends at 0.2 s
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.rate) + " delay " + std::to_string(c.delay));
        MediaReader reader;
        ASSERT_EQ(reader.Open({WriteGreyVideo(dir, "v.y4m", c.rate, c.frames)}), "");
        EXPECT_TRUE(reader.IsVideo());
        EXPECT_EQ(reader.NaturalDelay(), c.naturalDelay);
        std::vector<int> shown;
        for (const int red : ReadAll(reader, c.delay)) {
            shown.push_back(static_cast<int>(std::lround(red * 219.0 / 255.0 / 20.0)));
        }
        EXPECT_EQ(shown, c.shown);
    }
}

// A QuickTime video of `frames` 64 x 48 raw RGB frames at 25 fps, frame k grey at 40 + 20 k under
// a white strip along its top edge. Its first frame is stamped `start` frames in, and its display
// matrix turns it `clockwise` degrees (90: what a phone writes for a video taken upright).
std::string WriteMovie(const TempDir& dir, const std::string& name, int frames, int start, int clockwise) {
    constexpr int kBytes = 64 * 48 * 3;
    const std::string path = (dir.Path() / name).string();
    AVFormatContext* format = nullptr;
    AVStream* stream = nullptr;
    if (avformat_alloc_output_context2(&format, nullptr, "mov", path.c_str()) < 0 ||
        (stream = avformat_new_stream(format, nullptr)) == nullptr) {
        ADD_FAILURE() << "cannot make a QuickTime writer";
        return path;
    }
    stream->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
    stream->codecpar->codec_id = AV_CODEC_ID_RAWVIDEO;
    stream->codecpar->format = AV_PIX_FMT_RGB24;
    stream->codecpar->width = 64;
    stream->codecpar->height = 48;
    stream->time_base = {1, 25};
    if (clockwise != 0) {
        std::uint8_t* matrix =
            av_stream_new_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, 9 * sizeof(std::int32_t));
        av_display_rotation_set(reinterpret_cast<std::int32_t*>(matrix), clockwise);
    }
    EXPECT_GE(avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE), 0);
    EXPECT_GE(avformat_write_header(format, nullptr), 0);
    for (int k = 0; k < frames; ++k) {
        AVPacket* packet = av_packet_alloc();
        EXPECT_EQ(av_new_packet(packet, kBytes), 0);
        std::fill_n(packet->data, kBytes, static_cast<std::uint8_t>(40 + 20 * k));
        std::fill_n(packet->data, kBytes / 8, std::uint8_t{255});
        packet->pts = packet->dts = start + k;
        packet->duration = 1;
        packet->flags |= AV_PKT_FLAG_KEY;
        av_packet_rescale_ts(packet, {1, 25}, stream->time_base);
        EXPECT_EQ(av_interleaved_write_frame(format, packet), 0);
        av_packet_free(&packet);
    }
    EXPECT_EQ(av_write_trailer(format), 0);
    avio_closep(&format->pb);
    avformat_free_context(format);
    return path;
}

// Cut clips often start later than at 0: the first frame is shown for its own time, no longer.
TEST(MediaReader, VideoTimeStartsAtTheFirstFrame) {
    TempDir dir;
    MediaReader reader;
    ASSERT_EQ(reader.Open({WriteMovie(dir, "late.mov", 4, 25, 0)}), "");
    EXPECT_EQ(ReadAll(reader, 2), (std::vector<int>{40, 60, 80, 100}));
}

// The frame's rows as 'X' (the picture's colour) or '.' (black border), sampled down the middle
// column and across the middle row.
std::pair<std::string, std::string> Profile(const std::vector<std::uint8_t>& rgb) {
    std::string column, row;
    for (int y = 0; y < kFrameHeight; ++y) {
        column += rgb[(static_cast<std::size_t>(y) * kFrameWidth + 128) * 3 + 1] != 0 ? 'X' : '.';
    }
    for (int x = 0; x < kFrameWidth; ++x) {
        row += rgb[(static_cast<std::size_t>(96) * kFrameWidth + x) * 3 + 1] != 0 ? 'X' : '.';
    }
    return {column, row};
}

TEST(MediaReader, PicturesAreOneFrameEachLetterBoxedInOrder) {
    TempDir dir;
    const std::vector<std::string> pictures = {
        WritePicture(dir, "wide.png", 512, 192, 255, 255, 255, tool::ImageFormat::Png),
        WritePicture(dir, "tall.ppm", 96, 192, 0, 255, 0, tool::ImageFormat::Ppm),
        WritePicture(dir, "4x3.png", 1600, 1200, 0, 200, 0, tool::ImageFormat::Png),
    };
    MediaReader reader;
    ASSERT_EQ(reader.Open(pictures), "");
    EXPECT_FALSE(reader.IsVideo());
    EXPECT_EQ(reader.NaturalDelay(), 2);
    const std::string full(192, 'X');
    const std::pair<std::string, std::string> expected[] = {
        {std::string(48, '.') + std::string(96, 'X') + std::string(48, '.'), std::string(256, 'X')},
        {full, std::string(80, '.') + std::string(96, 'X') + std::string(80, '.')},
        {full, std::string(256, 'X')},
    };
    std::vector<std::uint8_t> rgb(kFrameBytes);
    std::string error;
    for (const auto& profile : expected) {
        ASSERT_EQ(Next(reader, rgb, error), ReadResult::Frame) << error;
        EXPECT_EQ(Profile(rgb), profile);
    }
    EXPECT_EQ(rgb[(96 * 256 + 128) * 3 + 1], 200);  // flat colours stay exact through the scaler
    EXPECT_EQ(Next(reader, rgb, error), ReadResult::End);
}

// A phone's upright video, landscape frames turned a quarter clockwise, stands upright between bars:
// its frames' top edge (the white strip) down the right.
TEST(MediaReader, RotatedVideoIsTurnedUprightAndPillarBoxed) {
    TempDir dir;
    MediaReader reader;
    ASSERT_EQ(reader.Open({WriteMovie(dir, "phone.mov", 1, 0, 90)}), "");
    std::vector<std::uint8_t> rgb(kFrameBytes);
    std::string error;
    ASSERT_EQ(Next(reader, rgb, error), ReadResult::Frame) << error;
    EXPECT_EQ(Profile(rgb).second, std::string(56, '.') + std::string(144, 'X') + std::string(56, '.'));
    EXPECT_GT(rgb[(96 * kFrameWidth + 196) * 3], 200);
    EXPECT_EQ(rgb[(96 * kFrameWidth + 60) * 3], 40);
}

TEST(MediaReader, UnusableInputsGiveOneLineNamingThem) {
    TempDir dir;
    const std::string text = dir.Write("notes.txt", std::vector<std::uint8_t>(100, 'a'));
    const std::string empty = WriteGreyVideo(dir, "empty.y4m", "25:1", 0);
    const std::string video = WriteGreyVideo(dir, "clip.y4m", "25:1", 2);
    const std::string picture = WritePicture(dir, "p.png", 8, 8, 1, 2, 3, tool::ImageFormat::Png);
    const std::string missing = (dir.Path() / "missing.png").string();
    // A PNG claiming 9000 x 8000 pixels, refused before any picture memory is taken.
    std::vector<std::uint8_t> giant = {0x89, 'P', 'N',  'G',  '\r', '\n', 0x1A, '\n', 0,    0,
                                       0,    13,  'I',  'H',  'D',  'R',  0,    0,    0x23, 0x28,
                                       0,    0,   0x1F, 0x40, 8,    2,    0,    0,    0};
    const uLong crc = crc32(0, giant.data() + 12, 17);
    giant.insert(giant.end(), {static_cast<std::uint8_t>(crc >> 24), static_cast<std::uint8_t>(crc >> 16),
                               static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(crc)});
    const std::string huge = dir.Write("huge.png", giant);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{missing}, "cannot open " + missing},           {{text}, "cannot open " + text},
        {{empty}, empty + " holds no frames"},           {{picture, video}, video + " is not a picture"},
        {{video, picture}, video + " is not a picture"}, {{picture, missing}, "cannot open " + missing},
    };
    for (const auto& [paths, message] : cases) {
        MediaReader reader;
        std::string error = reader.Open(paths);
        // Otherwise the error comes with the frame that cannot be read.
        std::vector<std::uint8_t> rgb(kFrameBytes);
        while (error.empty() && Next(reader, rgb, error) == ReadResult::Frame) {
        }
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace qzm::media
