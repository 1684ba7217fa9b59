// What the player needs from the program around it: showing a message and letting the user choose
// one of several videos. The window answers with dialogs, the command-line tool on the terminal,
// the tests with recorders.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qzm {

// The fixed texts the engine and the loader show.
inline constexpr std::string_view kMsgInvalidStream = "Invalid stream!";
inline constexpr std::string_view kMsgUnsupportedVersion = "Unsupported version!";
inline constexpr std::string_view kMsgWrongCommand = "Wrong command!";
inline constexpr std::string_view kMsgWrongLScreenMarker = "Wrong LSCREEN marker!";
inline constexpr std::string_view kMsgNoVideos = "No videofiles found!";

class IPlayerHost {
public:
    virtual ~IPlayerHost() = default;

    // Shows `text` with an OK button and returns once the user has acknowledged it (modal).
    virtual void ShowMessage(std::string_view text) = 0;

    // Lets the user choose one of several videos, given their names in catalogue order. Returns the
    // chosen row, or -1 when the user made no choice.
    virtual int ChooseVideo(std::span<const std::string> names) = 0;
};

}  // namespace qzm
