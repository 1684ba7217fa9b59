// A player host for tests: it records every message and answers the video choice from a script.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "player_host.h"

namespace qzm::testing {

class RecordingHost : public IPlayerHost {
public:
    void ShowMessage(std::string_view text) override {
        messages.emplace_back(text);
        if (onMessage) {
            onMessage(text);
        }
    }

    int ChooseVideo(std::span<const std::string> names) override {
        choices.emplace_back(names.begin(), names.end());
        if (onChoose) {
            onChoose();
        }
        if (answers.empty()) {
            return -1;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> messages;                // every message, in order
    std::vector<std::vector<std::string>> choices;    // the names offered at each choice
    std::deque<int> answers;                          // the rows to choose, in order; -1 when empty
    std::function<void(std::string_view)> onMessage;  // runs inside ShowMessage, as a modal loop would
    std::function<void()> onChoose;                   // runs inside ChooseVideo
};

}  // namespace qzm::testing
