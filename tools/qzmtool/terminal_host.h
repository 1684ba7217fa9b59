// The player's host on a terminal: messages become lines on stderr, and the video choice is made
// in advance with --video.
#pragma once

#include <cstdio>
#include <string>
#include <utility>

#include "messages.h"
#include "player_host.h"

namespace qzm::tool {

class TerminalHost : public IPlayerHost {
public:
    // `videoRow` is the zero-based row to pick when an image holds several videos.
    explicit TerminalHost(int videoRow = 0) : m_videoRow(videoRow) {}

    void ShowMessage(std::string_view text) override {
        // After a refused choice the loader adds "No videofiles found!"; the line that named the
        // missing video already said why, so that one is not repeated.
        const bool afterRefusal = std::exchange(m_refusedChoice, false);
        if (afterRefusal && text == kMsgNoVideos) {
            return;
        }
        std::fprintf(stderr, "qzmtool: %s\n", EngineMessage(text).c_str());
    }

    int ChooseVideo(std::span<const std::string> names) override {
        if (m_videoRow >= 0 && static_cast<std::size_t>(m_videoRow) < names.size()) {
            return m_videoRow;
        }
        std::fprintf(stderr, _("qzmtool: there is no video %d; the image holds %zu\n"), m_videoRow + 1,
                     names.size());
        m_refusedChoice = true;
        return -1;
    }

private:
    int m_videoRow;
    bool m_refusedChoice = false;
};

}  // namespace qzm::tool
