#include "video_loader.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "commands.h"

namespace qzm::tool {

int OpenVideo(CStreamPlayer& player, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Complain("cannot open " + path);
        return 0;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return player.OpenFile(std::move(bytes), [](auto) { return std::optional<std::size_t>(0); });
}

}  // namespace qzm::tool
