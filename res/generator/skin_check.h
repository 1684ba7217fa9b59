#pragma once

#include <string>
#include <vector>

namespace qzm::skin {

// Checks the pictures in `dir` against what the player relies on: every file of the resource list at
// its size, button corners in the window blue, the counter strip in exactly its two colours, the title
// on blue and inside the part of it the window shows. Returns one line per fault (none when all hold).
std::vector<std::string> CheckSkin(const std::string& dir);

}  // namespace qzm::skin
