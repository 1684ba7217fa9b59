// Shared pieces of the fuzz targets: a host that answers everything at once, and seed writing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "player_host.h"

namespace qzm::fuzzing {

// Messages are only counted; the video choice picks the last row offered.
class QuietHost : public IPlayerHost {
public:
    void ShowMessage(std::string_view) override { ++messages; }
    int ChooseVideo(std::span<const std::string> names) override {
        return static_cast<int>(names.size()) - 1;
    }
    int messages = 0;
};

inline void WriteSeed(const std::filesystem::path& dir, const std::string& name,
                      const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qzm::fuzzing
