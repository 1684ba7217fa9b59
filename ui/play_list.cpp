#include "play_list.h"

#include <algorithm>

namespace qzm::ui {

void PlayList::Replace(std::vector<std::string> paths) {
    m_items.clear();
    m_items.reserve(paths.size());
    for (std::string& path : paths) {
        m_items.push_back({std::move(path), std::nullopt});
    }
    m_current = 0;
}

const PlayItem* PlayList::Current() const {
    return m_current < m_items.size() ? &m_items[m_current] : nullptr;
}

void PlayList::Opened(std::size_t row, std::size_t count) {
    if (m_current >= m_items.size() || m_items[m_current].row || row >= count) {
        return;
    }
    m_items[m_current].row = row;
    std::vector<PlayItem> videos;
    videos.reserve(count - row - 1);
    for (std::size_t next = row + 1; next < count; ++next) {
        videos.push_back({m_items[m_current].path, next});
    }
    const auto after = m_items.begin() + static_cast<std::ptrdiff_t>(m_current) + 1;
    m_items.insert(after, videos.begin(), videos.end());
}

bool PlayList::Next() {
    if (!HasNext()) {
        return false;
    }
    ++m_current;
    return true;
}

bool PlayList::Previous() {
    if (m_current == 0 || m_items.empty()) {
        return false;
    }
    m_current = std::min(m_current, m_items.size()) - 1;
    return true;
}

bool PlayList::DropCurrent(bool forward) {
    if (m_current >= m_items.size()) {
        return false;
    }
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(m_current));
    if (!forward && m_current > 0) {
        --m_current;
    }
    return m_current < m_items.size();
}

}  // namespace qzm::ui
