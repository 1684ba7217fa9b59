// qzmtool info: the nine rows of the file information, as Label <TAB> Value in UTF-8.
#include <cstdio>

#include "arguments.h"
#include "commands.h"
#include "file_information.h"
#include "terminal_host.h"
#include "video_loader.h"

namespace qzm::tool {

int RunInfo(const std::vector<std::string>& words) {
    std::string error;
    const auto args = Arguments::Parse(words, {"video"}, error);
    if (!args || args->Positional().size() != 1) {
        Complain(args ? "info takes one FILE" : error);
        return kExitUsage;
    }
    const auto video = args->Number("video", 1, 100'000, error);
    if (!error.empty()) {
        Complain(error);
        return kExitUsage;
    }
    TerminalHost host(static_cast<int>(video.value_or(1)) - 1);
    CStreamPlayer player(host);
    const int started = OpenVideo(player, args->Positional()[0]);
    // A refused stream still has its header, as the information view shows it; nothing else does.
    if (started == 0 && player.State() != PlayerState::Refused && player.State() != PlayerState::Ended) {
        return kExitFailure;
    }
    for (const InfoRow& row : FileInformation(player.Header())) {
        std::printf("%s\t%s\n", row.label.c_str(), row.value.c_str());
    }
    return started != 0 ? kExitOk : kExitFailure;
}

}  // namespace qzm::tool
