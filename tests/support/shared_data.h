// Test material outside the project (real disk images) and what is known of it. It is optional: a clone of
// the project on its own has none, and the tests that want it skip, saying so.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace qzm::testing {

// The folder of real disk images, if it is there.
inline std::optional<std::filesystem::path> RealImagesDir() {
    const char* shared = std::getenv("QZM_SHARED_DIR");
    const std::filesystem::path dir =
        std::filesystem::path(shared != nullptr ? shared : "") / "testdata" / "real";
    std::error_code ec;
    return shared != nullptr && *shared != '\0' && std::filesystem::is_directory(dir, ec) ? std::optional(dir)
                                                                                          : std::nullopt;
}

// A real image and what is known of it, as recorded with it.
struct RealImage {
    const char* file;
    std::size_t entries;
    const char* firstName;
    std::size_t dataEnd;  // where the last file's sectors end: a TR-DOS image's first free sector
    bool zeroDiskType;    // TR-DOS: written with disk type 0 instead of 0x16
    bool noChecksum;      // SCL: the archive ends without its checksum
    bool truncated;       // SCL: the last file's sectors are cut short
};

// 256c-5.trd's entry 0 is a deleted file's, counted in the system sector; an SCL archive's data end
// shows that the sectors of every earlier entry count.
inline constexpr RealImage kRealImages[] = {
    {"256c-5.trd", 42, "\x01oot    ", 145 * 4096 + 15 * 256, false, false, false},
    {"CSCFINAL.TRD", 30, "musicsfx", 402944, false, false, false},  // ends exactly at the end of the image
    {"ENJOY.TRD", 3, "ENJOY   ", 70400, false, false, false},
    {"GS104SRC.TRD", 92, "boot    ", 394752, false, false, false},
    {"MEM.TRD", 2, "mem     ", 4352 + 15 * 256, true, false, false},
    {"disk2.trd", 63, "McDONALD", 647424, false, false, false},
    {"zx-format8.trd", 20, "ZF#08.1 ", 610048, false, false, false},
    {"empty.scl", 1, "boot    ", 6167, false, false, false},
    {"flasher.scl", 1, "FLASHNGS", 6423, false, false, true},  // 6364 bytes long
    {"npl.scl", 1, "NPL     ", 7191, false, true, false},
    {"pang16c.scl", 5, "PANG 16C", 47951, false, false, false},
    {"xnx.scl", 4, "boot    ", 227649, false, false, false},
};

// The project's own source folder (for the bundled samples): QZM_SOURCE_DIR when set, else the
// folder the tests were built from.
inline std::filesystem::path SourceDir() {
    const char* dir = std::getenv("QZM_SOURCE_DIR");
    return dir != nullptr ? std::filesystem::path(dir) : std::filesystem::path(QZM_PROJECT_SOURCE_DIR);
}

}  // namespace qzm::testing
