// Opens the video a command names: the file, and for disk images the video chosen with --video.
#pragma once

#include <string>

#include "stream_player.h"

namespace qzm::tool {

// Loads `path` into `player` and starts its video; returns the start result (0 when nothing could
// be started; the player's host has said why, or this function has).
int OpenVideo(CStreamPlayer& player, const std::string& path);

}  // namespace qzm::tool
