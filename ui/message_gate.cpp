#include "message_gate.h"

namespace qzm::ui {

void MessageGate::ShowMessage(std::string_view text) {
    if (m_shown) {
        return;
    }
    m_shown = true;
    if (m_beforeModal) {
        m_beforeModal();
    }
    m_host.ShowMessage(text);
}

int MessageGate::ChooseVideo(std::span<const std::string> names) {
    if (m_beforeModal) {
        m_beforeModal();
    }
    return m_host.ChooseVideo(names);
}

}  // namespace qzm::ui
