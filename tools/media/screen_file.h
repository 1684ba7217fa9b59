// Spectrum screen files (.scr): the 6912 bytes of a screen as the Spectrum holds it, the bitmap in
// its line order and then the 768 attributes, with no header.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qzm::media {

inline constexpr std::size_t kScreenFileBytes = 6912;
using ScreenFile = std::array<std::uint8_t, kScreenFileBytes>;

// Reads `path` into `screen` when it holds a screen: exactly 6912 bytes, which FFmpeg's libraries do
// not recognise as a picture or video of theirs, whatever the file's name. Otherwise, and when the
// file cannot be read, returns false and leaves the file to them.
bool ReadScreenFile(const std::string& path, ScreenFile& screen);

}  // namespace qzm::media
