// The commands of qzmtool. Each takes the words after its name and returns the exit code:
// 0 success, 1 nothing could be done (a message on stderr says why), 2 usage error.
#pragma once

#include <string>
#include <vector>

namespace qzm::tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

int RunEncode(const std::vector<std::string>& words);
int RunExport(const std::vector<std::string>& words);
int RunInfo(const std::vector<std::string>& words);
int RunList(const std::vector<std::string>& words);
int RunPack(const std::vector<std::string>& words);
int RunThumbnail(const std::vector<std::string>& words);

// Prints a line "qzmtool: TEXT" on stderr.
void Complain(const std::string& text);

}  // namespace qzm::tool
