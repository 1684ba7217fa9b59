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

// The project's own source folder (for the bundled samples), fixed when the tests are built: the
// tests run from the build folder, and a test property can carry only one environment variable
// through test discovery.
inline std::filesystem::path SourceDir() {
    return std::filesystem::path(QZM_TEST_SOURCE_DIR);
}

}  // namespace qzm::testing
