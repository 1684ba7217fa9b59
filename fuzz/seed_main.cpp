// The main program of a seed writer: writes the fuzz target's seed corpus into the given folder.
#include <cstdio>
#include <filesystem>

void WriteSeeds(const std::filesystem::path& dir);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    WriteSeeds(argv[1]);
    return 0;
}
