// qzmtool pack OUT.trd|OUT.scl VIDEO.qzm...: puts videos on a TR-DOS disk image or an SCL archive.
//
// Each video is catalogued under the name in its stream header (what the information view shows
// as its file name), control bytes there shown as blanks; a header whose name is blank gives the
// file's stem instead. The disk label is the stem of OUT. The image is written to a temporary file
// beside OUT and renamed over it, so a failure leaves no file behind and an old OUT untouched.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "arguments.h"
#include "commands.h"
#include "disk_packer.h"
#include "file_loader.h"
#include "image_kind.h"
#include "messages.h"
#include "stream_header.h"

namespace qzm::tool {
namespace {

// The stem of `path` as a catalogue name, every byte outside printable ASCII shown as '_'.
packer::Name NameFromStem(const std::filesystem::path& path) {
    std::string stem = path.stem().string();
    for (char& c : stem) {
        c = c >= ' ' && c <= '~' ? c : '_';
    }
    return packer::MakeName(stem);
}

packer::Name VideoName(std::span<const std::uint8_t> stream, const std::filesystem::path& path) {
    packer::Name name;
    std::copy_n(stream.begin() + kHeaderName, name.size(), name.begin());
    for (std::uint8_t& c : name) {
        c = c < ' ' ? ' ' : c;
    }
    if (std::ranges::all_of(name, [](std::uint8_t c) { return c == ' '; })) {
        return NameFromStem(path);
    }
    return name;
}

// A stream the player would start: a whole header with the magic and a version it plays.
bool LooksLikeStream(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kHeaderBytes && bytes[kHeaderMagic] == 'Q' && bytes[kHeaderMagic + 1] == 'Z' &&
           bytes[kHeaderVersion] < kFirstUnsupportedVersion;
}

// Writes `bytes` to a temporary file in the folder of `path`, then renames it to `path`. Returns
// false, with nothing left behind, when any step fails.
bool WriteReplacing(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    // mkstemp makes the file private; give it the permissions a newly created file would have.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);
    bool ok = false;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        ok = static_cast<bool>(out);
    }
    std::error_code error;
    if (ok) {
        std::filesystem::rename(temp, path, error);
        ok = !error;
    }
    if (!ok) {
        std::filesystem::remove(temp, error);
    }
    return ok;
}

}  // namespace

int RunPack(const std::vector<std::string>& words) {
    std::string error;
    const auto args = Arguments::Parse(words, {}, error);
    if (!args || args->Positional().size() < 2) {
        Complain(args ? _("pack takes OUT.trd or OUT.scl and at least one VIDEO.qzm") : error);
        return kExitUsage;
    }
    const std::string& out = args->Positional()[0];
    const ImageKind kind = KindOfPath(out);
    if (kind != ImageKind::TrDos && kind != ImageKind::Scl) {
        Complain(Format(_("%s is not a .trd or .scl file name"), out.c_str()));
        return kExitUsage;
    }

    const std::vector<std::string> paths(args->Positional().begin() + 1, args->Positional().end());
    std::vector<std::vector<std::uint8_t>> streams;
    std::vector<packer::Video> videos;
    streams.reserve(paths.size());
    for (const std::string& path : paths) {
        std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
        if (!bytes) {
            Complain(Format(_("cannot read %s"), path.c_str()));
            return kExitFailure;
        }
        if (!LooksLikeStream(*bytes)) {
            Complain(Format(_("%s is not a QZM stream"), path.c_str()));
            return kExitFailure;
        }
        streams.push_back(std::move(*bytes));
        videos.push_back({VideoName(streams.back(), path), streams.back()});
    }

    const packer::DiskFormat format =
        kind == ImageKind::TrDos ? packer::DiskFormat::TrDos : packer::DiskFormat::Scl;
    const packer::PackResult image = packer::PackVideos(format, videos, NameFromStem(out));
    if (const std::string* reason = std::get_if<std::string>(&image)) {
        Complain(Format(_("%s; %s not written"), reason->c_str(), out.c_str()));
        return kExitFailure;
    }
    const std::vector<std::uint8_t>& bytes = std::get<std::vector<std::uint8_t>>(image);
    if (!WriteReplacing(out, bytes)) {
        Complain(Format(_("cannot write %s"), out.c_str()));
        return kExitFailure;
    }
    std::printf(_("%s: %zu video(s), %zu bytes\n"), out.c_str(), videos.size(), bytes.size());
    return kExitOk;
}

}  // namespace qzm::tool
