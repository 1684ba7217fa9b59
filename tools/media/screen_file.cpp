#include "screen_file.h"

#include <algorithm>
#include <fstream>

extern "C" {
#include <libavformat/avformat.h>
}

namespace qzm::media {
namespace {

// A format recognised by its content at least this surely (a signature, a valid structure) is that
// format; the weaker guesses that any bytes may draw are not.
constexpr int kRecognisedScore = AVPROBE_SCORE_EXTENSION;

}  // namespace

bool ReadScreenFile(const std::string& path, ScreenFile& screen) {
    std::array<std::uint8_t, kScreenFileBytes + AVPROBE_PADDING_SIZE> bytes{};  // zero padding for the probes
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(bytes.data()), kScreenFileBytes + 1);
    if (in.gcount() != static_cast<std::streamsize>(kScreenFileBytes)) {
        return false;
    }
    AVProbeData probe{};
    probe.filename = "";
    probe.buf = bytes.data();
    probe.buf_size = static_cast<int>(kScreenFileBytes);
    int score = 0;
    if (av_probe_input_format3(&probe, 1, &score) != nullptr && score >= kRecognisedScore) {
        return false;
    }
    std::copy_n(bytes.begin(), kScreenFileBytes, screen.begin());
    return true;
}

}  // namespace qzm::media
