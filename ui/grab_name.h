// The name of a frame grab's file: the video's name and the frame counter.
#pragma once

#include <string>
#include <string_view>

namespace qzm::ui {

// "NAME-NNNNN": the video's name `videoName` (UTF-8, from its header), or `fileStem` when that is
// blank, and the frame counter in five digits. Blanks around the name are dropped; characters that
// cannot stand in a file name on every desktop, and a leading dot, become "_". With neither name,
// "frame".
std::string GrabBaseName(std::string_view videoName, std::string_view fileStem, int frame);

// The file name of the `copy`th grab of that name: "BASE.png", then "BASE-2.png", "BASE-3.png", ...
std::string GrabFileName(std::string_view base, int copy);

}  // namespace qzm::ui
