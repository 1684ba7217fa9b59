// The player's host as the window hands it to the player: it passes on at most one message per user
// action, so that a held slider or a drag across a damaged frame cannot raise one box after another,
// and runs a hook before every modal box (the window releases its slider there: the box takes the
// mouse release, and a slider still held would go on acting behind it).
#pragma once

#include <functional>

#include "player_host.h"

namespace qzm::ui {

class MessageGate : public IPlayerHost {
public:
    // `host` shows what passes; it must outlive the gate.
    MessageGate(IPlayerHost& host, std::function<void()> beforeModal)
        : m_host(host), m_beforeModal(std::move(beforeModal)) {}

    // A new user action starts: its first message will be shown.
    void BeginAction() { m_shown = false; }

    void ShowMessage(std::string_view text) override;
    int ChooseVideo(std::span<const std::string> names) override;

private:
    IPlayerHost& m_host;
    std::function<void()> m_beforeModal;
    bool m_shown = false;
};

}  // namespace qzm::ui
