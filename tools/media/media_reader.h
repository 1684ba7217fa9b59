// Reads one video, or a series of pictures, as 256 x 192 RGB24 frames through FFmpeg's libraries.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "media_geometry.h"
#include "screen_file.h"

namespace qzm::media {

// Sources larger than this (64 megapixels) are refused before anything is decoded.
inline constexpr std::int64_t kMaxSourcePixels = std::int64_t{1} << 26;

// Screen: the input was a Spectrum screen file (.scr), which Screen() holds, to be taken as it is.
enum class ReadResult { Frame, Screen, End, Error };

class MediaReader {
public:
    MediaReader();
    ~MediaReader();
    MediaReader(const MediaReader&) = delete;
    MediaReader& operator=(const MediaReader&) = delete;

    // One path: a video (or a single picture). Several paths: pictures, one frame each, in order.
    // Pictures may be Spectrum screen files.
    // Opens the first input; returns a one-line error, or an empty string.
    std::string Open(const std::vector<std::string>& paths);

    bool IsVideo() const;
    // The delay that keeps a video's own frame rate; kDefaultDelay for pictures and for videos
    // without a usable rate.
    int NaturalDelay() const;
    // How many frames Next will give at `delay`, as far as the container tells (0: unknown).
    std::int64_t EstimatedFrames(int delay) const;

    // The next frame, top row first, 768 bytes a row. A video is sampled every `delay` fiftieths
    // of a second, so its frames are dropped or repeated as the timing needs; keep `delay` the
    // same across calls. On Error, `error` is one line naming the input.
    ReadResult Next(int delay, std::span<std::uint8_t, kFrameBytes> rgb, std::string& error);
    // The screen file read last (after ReadResult::Screen).
    const ScreenFile& Screen() const;

    // Where the picture of the frame Next gave lies; the rest of the frame is the black border.
    Rect PictureArea() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace qzm::media
