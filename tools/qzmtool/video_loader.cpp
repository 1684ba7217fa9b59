#include "video_loader.h"

#include "commands.h"
#include "file_loader.h"
#include "image_kind.h"
#include "messages.h"

namespace qzm::tool {

int OpenVideo(CStreamPlayer& player, const std::string& path) {
    const ImageKind kind = KindOfPath(path);
    if (kind == ImageKind::Unknown) {
        Complain(Format(_("%s is not a .qzm, .trd or .scl file"), path.c_str()));
        return 0;
    }
    std::optional<std::vector<std::uint8_t>> bytes = ReadFileToLoad(path, kind);
    if (!bytes) {
        Complain(Format(_("cannot read %s"), path.c_str()));
        return 0;
    }
    return OpenLoadedFile(player, std::move(*bytes), kind);
}

}  // namespace qzm::tool
