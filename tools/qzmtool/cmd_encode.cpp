// qzmtool encode: turns one video, or a series of pictures, into a QZM video.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>

#include "arguments.h"
#include "commands.h"
#include "media_reader.h"
#include "messages.h"
#include "progress_line.h"
#include "video_encoder.h"

namespace qzm::tool {
namespace {

// Video is noisy: a cell whose new version differs from the old by fewer than this many pixels
// is left alone, so still areas are not rewritten every frame. Pictures are coded exactly.
constexpr int kVideoThreshold = 4;
constexpr std::int64_t kMaxFrames = 65535;  // the header's frame count is 16 bits

struct EncodeJob {
    std::vector<std::string> inputs;
    std::filesystem::path out;
    encoder::EncodeOptions options;
    std::optional<long> delay;
    std::optional<long> threshold;
};

// The header's name when none is given: the output file's name without its extension, in capitals,
// at most 8 characters; characters other than letters, digits, '-' and '_' become '_'.
std::string DefaultName(const std::filesystem::path& out) {
    std::string name;
    for (const char c : out.stem().string()) {
        if (name.size() == 8) {
            break;
        }
        const auto u = static_cast<unsigned char>(c);
        name += (u < 0x80 && (std::isalnum(u) || c == '-' || c == '_')) ? static_cast<char>(std::toupper(u))
                                                                        : '_';
    }
    return name.empty() ? encoder::EncodeOptions{}.name : name;
}

// Turns "-o FILE" into "--out FILE" so that Arguments parses it like any other option.
std::vector<std::string> LongOptions(const std::vector<std::string>& words) {
    std::vector<std::string> out;
    for (const std::string& w : words) {
        out.push_back(w == "-o" ? "--out" : w);
    }
    return out;
}

bool ParseEncode(const std::vector<std::string>& words, EncodeJob& job, std::string& error) {
    const auto args = Arguments::Parse(
        LongOptions(words), {"out", "delay", "name", "title", "author", "version", "dither", "threshold"},
        error);
    if (!args) {
        return false;
    }
    job.inputs = args->Positional();
    if (job.inputs.empty()) {
        error = _("encode takes one video or one or more pictures");
        return false;
    }
    const auto out = args->Option("out");
    if (!out || out->empty()) {
        error = _("encode needs -o OUT.qzm");
        return false;
    }
    job.out = *out;
    job.delay = args->Number("delay", 1, 255, error);
    job.threshold = args->Number("threshold", 0, 64, error);
    const auto version = args->Number("version", 0, 7, error);
    if (!error.empty()) {
        return false;
    }
    encoder::EncodeOptions& o = job.options;
    o.version = static_cast<std::uint8_t>(version.value_or(o.version));
    o.name = args->Option("name").value_or(DefaultName(job.out));
    o.title = args->Option("title").value_or("");
    o.author = args->Option("author").value_or("");
    if (const auto dither = args->Option("dither")) {
        if (*dither == "none") {
            o.dither = encoder::Dither::None;
        } else if (*dither == "ordered") {
            o.dither = encoder::Dither::Ordered;
        } else if (*dither == "diffusion") {
            o.dither = encoder::Dither::Diffusion;
        } else {
            error = _("--dither is none, ordered or diffusion");
            return false;
        }
    }
    return true;
}

// Writes `bytes` to `out` through a temporary file in the same folder, renamed over `out` only
// once everything is written, so a failure never leaves a partial file behind.
bool WriteAtomically(const std::filesystem::path& out, const std::vector<std::uint8_t>& bytes,
                     std::string& error) {
    const std::filesystem::path folder = out.has_parent_path() ? out.parent_path() : ".";
    std::string name = out.filename().string();
    name.insert(0, 1, '.');  // not "." + name: g++ 12 at -O3 warns falsely about that concatenation
    name += ".XXXXXX";
    std::string temp = (folder / name).string();
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        error = Format(_("cannot write %s: cannot create a file in %s"), out.c_str(), folder.c_str());
        return false;
    }
    const mode_t mask = umask(0);
    umask(mask);
    bool ok = fchmod(fd, 0666 & ~mask) == 0;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        ok = n > 0;
        done += ok ? static_cast<std::size_t>(n) : 0;
    }
    ok = close(fd) == 0 && ok;
    if (ok && std::rename(temp.c_str(), out.c_str()) == 0) {
        return true;
    }
    std::remove(temp.c_str());
    error = Format(_("cannot write %s"), out.c_str());
    return false;
}

}  // namespace

int RunEncode(const std::vector<std::string>& words) {
    EncodeJob job;
    std::string error;
    if (!ParseEncode(words, job, error)) {
        Complain(error);
        return kExitUsage;
    }
    if (error = encoder::CheckOptions(job.options); !error.empty()) {
        Complain(error);
        return kExitFailure;
    }
    media::MediaReader reader;
    if (error = reader.Open(job.inputs); !error.empty()) {
        Complain(error);
        return kExitFailure;
    }
    const int delay = static_cast<int>(job.delay.value_or(reader.NaturalDelay()));
    job.options.delay = static_cast<std::uint8_t>(delay);
    job.options.threshold = static_cast<int>(job.threshold.value_or(reader.IsVideo() ? kVideoThreshold : 0));

    encoder::VideoEncoder encoder(job.options);
    std::vector<std::uint8_t> frame(media::kFrameBytes);
    const std::span<std::uint8_t, media::kFrameBytes> rgb(frame.data(), media::kFrameBytes);
    const std::int64_t expected = reader.EstimatedFrames(delay);
    ProgressLine progress(_("encoding"));
    for (std::int64_t count = 0;; ++count) {
        const media::ReadResult r = reader.Next(delay, rgb, error);
        if (r == media::ReadResult::End) {
            break;
        }
        if (r == media::ReadResult::Error) {
            progress.Finish();
            Complain(error);
            return kExitFailure;
        }
        if (count == kMaxFrames) {
            progress.Finish();
            Complain(Format(_("more than 65535 frames at delay %d; a QZM video holds at most 65535 (a longer "
                              "--delay or a shorter input helps)"),
                            delay));
            return kExitFailure;
        }
        if (r == media::ReadResult::Screen) {
            encoder.AddScreen(reader.Screen());  // exact: neither scaled nor quantised
        } else {
            const media::Rect box = reader.PictureArea();
            encoder.AddFrame(frame, {box.x, box.y, box.width, box.height});
        }
        progress.Update(count + 1, expected);
    }
    progress.Finish();
    // Coding the frames in their planned forms takes a few per cent of the time the pictures took:
    // a second or so at the longest.
    ProgressLine writing(_("writing"));
    auto result = encoder.Finish([&](std::size_t done, std::size_t total) {
        writing.Update(static_cast<std::int64_t>(done), static_cast<std::int64_t>(total));
    });
    writing.Finish();
    if (const auto* failure = std::get_if<std::string>(&result)) {
        Complain(*failure);
        return kExitFailure;
    }
    const auto& stream = std::get<std::vector<std::uint8_t>>(result);
    if (!WriteAtomically(job.out, stream, error)) {
        Complain(error);
        return kExitFailure;
    }
    std::printf(_("%s: %zu frames, delay %d (%.2f fps), %zu bytes\n"), job.out.string().c_str(),
                encoder.FrameCount(), delay, 50.0 / delay, stream.size());
    return kExitOk;
}

}  // namespace qzm::tool
