// A fresh directory under the system's temporary directory, removed with everything in it when the
// object goes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <string>

namespace qzm::testing {

class TempDir {
public:
    TempDir() {
        std::random_device random;
        do {
            m_path = std::filesystem::temp_directory_path() / ("qzm-test-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(m_path));
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // Writes `bytes` to the file `name` inside the directory (sub-directories are made) and returns
    // its path as a string.
    std::string Write(const std::string& name, std::span<const std::uint8_t> bytes) const {
        const std::filesystem::path file = m_path / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }

private:
    std::filesystem::path m_path;
};

}  // namespace qzm::testing
