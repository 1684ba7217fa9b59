#include "file_loader.h"

#include <filesystem>
#include <fstream>

#include "disk_catalogue.h"

namespace qzm {
namespace {

// The offset of the video to start among `videos`: the only one, or the user's choice. When there
// is none to start, tells the user so.
std::optional<std::size_t> PickVideo(IPlayerHost& host, const std::vector<VideoEntry>& videos) {
    if (videos.size() == 1) {
        return videos.front().offset;
    }
    if (videos.size() > 1) {
        std::vector<std::string> names;
        names.reserve(videos.size());
        for (const VideoEntry& video : videos) {
            names.push_back(video.name);
        }
        const int row = host.ChooseVideo(names);
        if (row >= 0 && static_cast<std::size_t>(row) < videos.size()) {
            return videos[static_cast<std::size_t>(row)].offset;
        }
    }
    host.ShowMessage(kMsgNoVideos);
    return std::nullopt;
}

// Where the stream to start lies in `file`, or nothing.
std::optional<std::size_t> LocateStream(IPlayerHost& host, std::span<const std::uint8_t> file,
                                        ImageKind kind) {
    switch (kind) {
        case ImageKind::Stream: return 0;
        case ImageKind::TrDos:
        case ImageKind::Scl: return PickVideo(host, ListVideos(file, kind));
        case ImageKind::Unknown: break;
    }
    return std::nullopt;
}

}  // namespace

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
    if (player.IsBusy()) {
        return 0;
    }
    std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
    if (!bytes) {
        return 0;
    }
    return OpenLoadedFile(player, std::move(*bytes), KindOfPath(path));
}

int OpenLoadedFile(CStreamPlayer& player, std::vector<std::uint8_t> bytes, ImageKind kind) {
    IPlayerHost& host = player.Host();
    return player.OpenFile(
        std::move(bytes), [&](std::span<const std::uint8_t> file) { return LocateStream(host, file, kind); });
}

}  // namespace qzm
