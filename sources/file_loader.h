// Opening a file by path: read what of it can be played, find the stream in it by the kind its
// extension names, and start that stream in the player.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image_kind.h"
#include "stream_player.h"

namespace qzm {

// Larger files are refused as unreadable: no stream or disk image comes near this size, and the
// whole file is held in memory.
inline constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{1} << 30;

// The whole file, read with one read; nothing when it cannot be opened, sized or fully read, or is
// larger than kMaxFileBytes.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// How much of a file of `fileSize` bytes and of kind `kind` opening it needs, judged from its first
// bytes `head`: the whole file when it can hold a video (a stream whose header passes its checks, a
// disk image whose catalogue lists a video); otherwise just the bytes that show it cannot, which
// OpenLoadedFile refuses with the same message and outcome as the whole file. A result above
// head.size() asks for more bytes before the question can be answered. Unknown kinds need none.
std::size_t BytesToLoad(std::span<const std::uint8_t> head, std::size_t fileSize, ImageKind kind);

// Fills `out` with the file's bytes from `offset` on; false when it cannot.
using ByteSource = std::function<bool(std::size_t offset, std::span<std::uint8_t> out)>;

// Reads the first BytesToLoad bytes of a file of `fileSize` bytes from `read`, in a few growing
// steps; every read lies inside the file. Nothing when a read fails.
std::optional<std::vector<std::uint8_t>> ReadBytesToLoad(std::size_t fileSize, ImageKind kind,
                                                         const ByteSource& read);

// ReadBytesToLoad from the file at `path`; nothing when it cannot be opened, sized or read, or is
// larger than kMaxFileBytes. A file that cannot be played costs a few kilobytes of reading, however
// large it is.
std::optional<std::vector<std::uint8_t>> ReadFileToLoad(const std::string& path, ImageKind kind);

// Which video of a file an open started, or tried to start (its stream may still be refused), and
// how many videos the file holds: row 0 of 1 for a stream file. None (count 0) when no video was
// picked: a disk image without one, a choice dismissed, a row past the last, a file that could not
// be read, an unknown kind.
struct OpenedVideo {
    std::size_t row = 0;
    std::size_t count = 0;
};

// Reads the file at `path` with ReadFileToLoad and opens it as OpenLoadedFile does, with the kind
// its extension names. When the file cannot be read the player is left as it was and the result is
// 0. Refused at once (0, nothing read) while the player is busy, for instance when this is called
// from inside the video choice of another load.
int LoadFile(CStreamPlayer& player, const std::string& path);

// LoadFile, except that a disk image's video is the one at `row` of its catalogue's videos, started
// without asking (a row past the last is as no video); with no row, a choice among several is the
// user's, as in LoadFile. `opened`, when given, tells which video was started or tried.
int LoadVideo(CStreamPlayer& player, const std::string& path, std::optional<std::size_t> row,
              OpenedVideo* opened = nullptr);

// Makes `bytes` the player's file and starts the stream in it: at byte 0 for a stream file; for a
// disk image, the one video of its catalogue, or the one the user chooses among several through
// the player's host. With no video, or no choice, the host shows "No videofiles found!"; then, and
// for an unknown kind, the player is left empty. Returns the result of starting the stream, or 0
// when none was started. Refused (0, nothing changed) while the player is busy. With a `row`, and
// `opened`, as in LoadVideo.
int OpenLoadedFile(CStreamPlayer& player, std::vector<std::uint8_t> bytes, ImageKind kind,
                   std::optional<std::size_t> row = std::nullopt, OpenedVideo* opened = nullptr);

}  // namespace qzm
