// qzmtool info: the nine rows of the file information, as Label <TAB> Value in UTF-8.
#include <cstdio>
#include <numeric>

#include "arguments.h"
#include "commands.h"
#include "file_information.h"
#include "messages.h"
#include "terminal_host.h"
#include "video_loader.h"

namespace qzm::tool {
namespace {

// The frame rate as an exact fraction for a video tool's -r option: 50/delay, reduced ("25",
// "50/3"). A delay of 0 plays like a delay of 1.
std::string ExactFrameRate(int delay) {
    const int d = delay == 0 ? 1 : delay;
    const int g = std::gcd(50, d);
    return d == g ? std::to_string(50 / d) : std::to_string(50 / g) + "/" + std::to_string(d / g);
}

}  // namespace

int RunInfo(const std::vector<std::string>& words) {
    std::string error;
    const auto args = Arguments::Parse(words, {"video"}, error);
    if (!args || args->Positional().size() != 1) {
        Complain(args ? _("info takes one FILE") : error);
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
    std::printf("ffmpeg -r:\t%s\n", ExactFrameRate(player.Header().FrameDelay()).c_str());
    return started != 0 ? kExitOk : kExitFailure;
}

}  // namespace qzm::tool
