// Test material outside the project (real disk images). It is optional: a clone of the project on
// its own has none, and the tests that want it skip, saying so.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace qzm::testing {

// The folder of real disk images, if it is there.
inline std::optional<std::filesystem::path> RealImagesDir() {
    const char* shared = std::getenv("QZM_SHARED_DIR");
    if (shared == nullptr || *shared == '\0') {
        return std::nullopt;
    }
    const std::filesystem::path dir = std::filesystem::path(shared) / "testdata" / "real";
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        return std::nullopt;
    }
    return dir;
}

// The project's own source folder (for the bundled samples): QZM_SOURCE_DIR when set, else the
// folder the tests were built from.
inline std::filesystem::path SourceDir() {
    const char* dir = std::getenv("QZM_SOURCE_DIR");
    return dir != nullptr ? std::filesystem::path(dir) : std::filesystem::path(QZM_PROJECT_SOURCE_DIR);
}

}  // namespace qzm::testing
