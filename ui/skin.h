// The skin: the normal and hover images of the window's image buttons and the digit strip of the
// time counter, and which button shows its hover image.
#pragma once

#include <QPixmap>
#include <optional>

#include "window_layout.h"

class QIcon;
class QPainter;
class QWidget;

namespace qzm::ui {

class CSkin {
public:
    // Loads the images from the program's resources (":/skin/...").
    CSkin();
    virtual ~CSkin() = default;

    // Whether the control has a normal and a hover image.
    static bool HasImages(Control id);
    const QPixmap& Normal(Control id) const;
    const QPixmap& Hover(Control id) const;
    const QPixmap& DigitStrip() const { return m_digits; }

    // Gives control `id` (a child of `dialog` named after it) its hover or normal image and records
    // it as the hovered control. With no id, the recorded control gets its normal image back and
    // none is recorded. Controls without images are only recorded.
    void SetHover(std::optional<Control> id, bool hover, QWidget& dialog);
    std::optional<Control> Hovered() const { return m_hover; }

    // Draws the counter for frame `frame` at `delay` fiftieths per frame: the 8 glyphs of the digit
    // strip at (8 * i + 1, 1) from `origin`.
    void DrawTime(QPainter& painter, QPoint origin, int frame, int delay) const;

private:
    void ShowImage(Control id, bool hover, QWidget& dialog) const;

    QPixmap m_normal[kControlCount];
    QPixmap m_hoverImages[kControlCount];
    QPixmap m_digits;
    std::optional<Control> m_hover;
};

// The program's icon at every size it is drawn in.
QIcon ApplicationIcon();

}  // namespace qzm::ui
