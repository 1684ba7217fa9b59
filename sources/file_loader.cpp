#include "file_loader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "disk_catalogue.h"

namespace qzm {
namespace {

// The first read of a disk image: track 0 of a TR-DOS disk, its catalogue and system sector, and
// more than any SCL catalogue. A TR-DOS catalogue that runs on is read in doubling steps.
constexpr std::size_t kFirstCatalogueRead = 16 * 256;

// The row of the video to start among `videos`: `row` when given, else the only one or the user's
// choice. When there is none to start, tells the user so.
std::optional<std::size_t> PickVideo(IPlayerHost& host, const std::vector<VideoEntry>& videos,
                                     std::optional<std::size_t> row) {
    if (row) {
        if (*row < videos.size()) {
            return row;
        }
    } else if (videos.size() == 1) {
        return 0;
    } else if (videos.size() > 1) {
        std::vector<std::string> names;
        names.reserve(videos.size());
        for (const VideoEntry& video : videos) {
            names.push_back(video.name);
        }
        const int chosen = host.ChooseVideo(names);
        if (chosen >= 0 && static_cast<std::size_t>(chosen) < videos.size()) {
            return static_cast<std::size_t>(chosen);
        }
    }
    host.ShowMessage(kMsgNoVideos);
    return std::nullopt;
}

// Where the stream to start lies in `file`, or nothing; records in `opened` which video it is.
std::optional<std::size_t> LocateStream(IPlayerHost& host, std::span<const std::uint8_t> file, ImageKind kind,
                                        std::optional<std::size_t> row, OpenedVideo& opened) {
    switch (kind) {
        case ImageKind::Stream: opened = {0, 1}; return 0;
        case ImageKind::TrDos:
        case ImageKind::Scl: {
            const std::vector<VideoEntry> videos = ListVideos(file, kind);
            const std::optional<std::size_t> picked = PickVideo(host, videos, row);
            if (!picked) {
                return std::nullopt;
            }
            opened = {*picked, videos.size()};
            return videos[*picked].offset;
        }
        case ImageKind::Unknown: break;
    }
    return std::nullopt;
}

}  // namespace

std::size_t BytesToLoad(std::span<const std::uint8_t> head, std::size_t fileSize, ImageKind kind) {
    const bool wholeFile = head.size() >= fileSize;
    switch (kind) {
        case ImageKind::Stream: {
            const std::size_t checked = std::min(fileSize, kStreamCheckBytes);
            if (head.size() < checked) {
                return checked;
            }
            return StreamRefusal(head).empty() ? fileSize : head.size();
        }
        case ImageKind::TrDos:
        case ImageKind::Scl: {
            // The entries of a catalogue cut short are those of the whole one, so a video listed
            // already is listed in the whole file too.
            if (!ListVideos(head, kind).empty()) {
                return fileSize;
            }
            const std::optional<std::size_t> catalogue = CatalogueBytes(head, kind);
            if (wholeFile || (catalogue && *catalogue <= head.size())) {
                return head.size();
            }
            const std::size_t more = catalogue.value_or(2 * head.size());
            return std::min(fileSize, std::max(more, kFirstCatalogueRead));
        }
        case ImageKind::Unknown: break;
    }
    return 0;
}

std::optional<std::vector<std::uint8_t>> ReadBytesToLoad(std::size_t fileSize, ImageKind kind,
                                                         const ByteSource& read) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t need = BytesToLoad(bytes, fileSize, kind);
         need > bytes.size() && bytes.size() < fileSize; need = BytesToLoad(bytes, fileSize, kind)) {
        const std::size_t have = bytes.size();
        bytes.resize(std::min(need, fileSize));
        if (!read(have, std::span(bytes).subspan(have))) {
            return std::nullopt;
        }
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> ReadFileToLoad(const std::string& path, ImageKind kind) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxFileBytes) {
        return std::nullopt;
    }
    return ReadBytesToLoad(
        static_cast<std::size_t>(size), kind, [&](std::size_t offset, std::span<std::uint8_t> out) {
            in.seekg(static_cast<std::streamoff>(offset));
            in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
            return static_cast<std::size_t>(in.gcount()) == out.size();
        });
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxFileBytes) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) {
        return std::nullopt;
    }
    return bytes;
}

int LoadFile(CStreamPlayer& player, const std::string& path) {
    return LoadVideo(player, path, std::nullopt);
}

int LoadVideo(CStreamPlayer& player, const std::string& path, std::optional<std::size_t> row,
              OpenedVideo* opened) {
    if (opened != nullptr) {
        *opened = {};
    }
    if (player.IsBusy()) {
        return 0;
    }
    const ImageKind kind = KindOfPath(path);
    std::optional<std::vector<std::uint8_t>> bytes = ReadFileToLoad(path, kind);
    if (!bytes) {
        return 0;
    }
    return OpenLoadedFile(player, std::move(*bytes), kind, row, opened);
}

int OpenLoadedFile(CStreamPlayer& player, std::vector<std::uint8_t> bytes, ImageKind kind,
                   std::optional<std::size_t> row, OpenedVideo* opened) {
    IPlayerHost& host = player.Host();
    OpenedVideo found;
    const int result = player.OpenFile(std::move(bytes), [&](std::span<const std::uint8_t> file) {
        return LocateStream(host, file, kind, row, found);
    });
    if (opened != nullptr) {
        *opened = found;
    }
    return result;
}

}  // namespace qzm
