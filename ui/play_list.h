// The play list: the files given to the player, in order, and the place playing among them. A disk
// image takes one place per video once it has been opened (its videos from the one opened on, in
// catalogue order); until then one place stands for all of them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qzm::ui {

struct PlayItem {
    std::string path;
    std::optional<std::size_t> row;  // a disk image's video, in catalogue order; none: the whole file
};

class PlayList {
public:
    // The list becomes `paths`, the first of them current.
    void Replace(std::vector<std::string> paths);

    // The current place; none when the list is empty or has run past its end.
    const PlayItem* Current() const;
    bool HasNext() const { return m_current + 1 < m_items.size(); }

    // The current place's file was opened: video `row` of its `count` was started or tried (count 0:
    // none was). A place that stood for a whole disk image becomes its videos from `row` on.
    void Opened(std::size_t row, std::size_t count);

    // Moves to the next or the previous place; false, staying, when there is none.
    bool Next();
    bool Previous();

    // Drops the current place, whose file failed, and goes on to the place after it (`forward`) or
    // before it; going back from the first place goes on to the one that follows it. False when
    // there is none to go on to.
    bool DropCurrent(bool forward);

    const std::vector<PlayItem>& Items() const { return m_items; }

private:
    std::vector<PlayItem> m_items;
    std::size_t m_current = 0;  // m_items.size() once the list has run past its end
};

}  // namespace qzm::ui
