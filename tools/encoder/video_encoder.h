// Turns a sequence of 256 x 192 RGB pictures into a QZM stream: each picture becomes a Spectrum
// screen (one ink and one paper per 8 x 8 cell), each screen is coded as the smallest frame the
// decoder reads, and the coding modes are planned over the whole video.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "qzm_format.h"

namespace qzm::encoder {

inline constexpr int kPictureWidth = 256;
inline constexpr int kPictureHeight = 192;
inline constexpr std::size_t kPictureBytes = std::size_t{kPictureWidth} * kPictureHeight * 3;
inline constexpr std::size_t kMaxFrames = 65535;

enum class Dither { None, Ordered, Diffusion };

// A rectangle of the picture, in pixels.
struct Area {
    int x = 0;
    int y = 0;
    int width = kPictureWidth;
    int height = kPictureHeight;
};

struct EncodeOptions {
    std::uint8_t version = 2;
    std::string name = "QZMVIDEO";
    std::uint8_t delay = 2;
    std::string title;   // UTF-8; converted to code page 866
    std::string author;  // UTF-8; converted to code page 866
    Dither dither = Dither::Ordered;
    // A cell keeps its previous content when fewer than `threshold` of its 64 pixels would change
    // colour (0: every change is coded).
    int threshold = 0;
};

// Validates options (name <= 8 bytes, title/author <= 32 code page 866 characters and representable,
// version 0..7); returns an error text (one line) or empty.
std::string CheckOptions(const EncodeOptions& options);

// UTF-8 to code page 866. On failure returns nothing and, when `error` is given, sets it to a
// one-line text naming the offending character.
std::optional<std::string> Utf8ToCp866(std::string_view utf8, std::string* error);

// The ways a frame can be coded; the statistics count them.
enum class FrameForm {
    Items,       // default items: skips, literal / masked / XOR cells, literal and masked runs
    FullScreen,  // CmdFullScreen
    LScreen,     // LSCREEN, with attribute rows when ModeAttributes is on
    Packed,      // packed mask groups with attribute groups
};
inline constexpr int kFrameFormCount = 4;

struct FormStatistics {
    std::size_t frames = 0;  // frames coded in this form
    std::size_t bytes = 0;   // their bytes (mode switches included)
    // Bytes saved against storing the same frames as whole screens with their attributes (6912
    // bytes each).
    std::int64_t saved = 0;
    // Bytes saved against the next smallest form the same frames could have had in the same modes.
    std::int64_t savedAgainstNext = 0;
};

struct EncodeStatistics {
    std::array<FormStatistics, kFrameFormCount> forms{};
    std::size_t headerBytes = 0;
    std::size_t streamBytes = 0;
    std::size_t fullScreenBytes = 0;  // every frame as 6912 bytes of screen, plus the header
    std::uint32_t finalMode = 0;      // DecoderMode at the end of the stream
};

class VideoEncoder {
public:
    explicit VideoEncoder(const EncodeOptions& options);
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // One 256x192 picture, RGB24, top row first, 768 bytes per row, whose picture lies in `picture`
    // (the rest a black border, kept black).
    void AddFrame(std::span<const std::uint8_t> rgb256x192, const Area& picture = {});
    // One Spectrum screen taken as it is, not quantised: bitmap and attributes, whose BRIGHT and
    // FLASH bits reach the stream where the frame's form carries them (LSCREEN does; the packed
    // form's attribute groups and the header's default attribute drop them).
    void AddScreen(const std::array<std::uint8_t, kScreenBytes>& screen);
    std::size_t FrameCount() const;

    // Plans modes over the whole video, codes every frame, writes header + end of stream. May be
    // called again (for instance with other allowed forms) to code the same pictures anew.
    // Returns the stream bytes, or an error text (zero frames, more than 65535 frames, bad options,
    // a stream too long for the header's block list). `progress`, when given, is told after each
    // frame is coded how many of how many are done.
    using Progress = std::function<void(std::size_t done, std::size_t total)>;
    std::variant<std::vector<std::uint8_t>, std::string> Finish(const Progress& progress = {});

    // The screens coded, one per frame (bitmap and attributes; only those given by AddScreen may
    // carry BRIGHT and FLASH).
    const std::vector<std::array<std::uint8_t, kScreenBytes>>& Screens() const;

    // Filled by Finish.
    const EncodeStatistics& Statistics() const;

    // Restricts the modes the planner may switch on (DecoderMode bits); for tests and measurements.
    // When the video cannot be coded within the restrictions, they are dropped.
    void SetAllowedModes(std::uint32_t modes);
    // Restricts the frame forms the planner may use (bit i: FrameForm i); for tests and measurements.
    // LSCREEN stays available for attribute changes that nothing else allowed can make.
    void SetAllowedForms(unsigned forms);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace qzm::encoder
