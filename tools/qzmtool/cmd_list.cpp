// qzmtool list: the videos a file holds, one line each: N <TAB> NAME <TAB> OFFSET.
#include <cstdio>

#include "arguments.h"
#include "commands.h"
#include "disk_catalogue.h"
#include "dos_text.h"
#include "file_loader.h"
#include "image_kind.h"
#include "messages.h"
#include "player_host.h"
#include "stream_header.h"

namespace qzm::tool {

int RunList(const std::vector<std::string>& words) {
    std::string error;
    const auto args = Arguments::Parse(words, {}, error);
    if (!args || args->Positional().size() != 1) {
        Complain(args ? _("list takes one FILE") : error);
        return kExitUsage;
    }
    const std::string& path = args->Positional()[0];
    const ImageKind kind = KindOfPath(path);
    if (kind == ImageKind::Unknown) {
        Complain(Format(_("%s is not a .qzm, .trd or .scl file"), path.c_str()));
        return kExitFailure;
    }
    const auto bytes = ReadFileToLoad(path, kind);
    if (!bytes) {
        Complain(Format(_("cannot read %s"), path.c_str()));
        return kExitFailure;
    }
    std::vector<VideoEntry> videos;
    if (kind == ImageKind::Stream) {
        // A stream file is one video at its first byte, named by its header.
        StreamHeader header;
        std::copy_n(bytes->begin(), std::min(bytes->size(), header.bytes.size()), header.bytes.begin());
        videos.push_back({WindowsTextToUtf8(header.Name()), 0});
    } else {
        videos = ListVideos(*bytes, kind);
    }
    if (videos.empty()) {
        Complain(EngineMessage(kMsgNoVideos));
        return kExitFailure;
    }
    for (std::size_t i = 0; i < videos.size(); ++i) {
        std::printf("%zu\t%s\t%zu\n", i + 1, videos[i].name.c_str(), videos[i].offset);
    }
    return kExitOk;
}

}  // namespace qzm::tool
