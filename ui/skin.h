// The skin: the normal and hover images of the window's image buttons, the title image and the digit
// strip of the time counter, each enlarged to the window's skin scale (see device_scale.h); and which
// button shows its hover image.
#pragma once

#include <QImage>
#include <QPixmap>
#include <optional>
#include <span>

#include "window_layout.h"

class QIcon;
class QPainter;

namespace qzm::ui {

class ImageButton;

class CSkin {
public:
    // Loads the images from the program's resources (":/skin/..."), at scale 1.
    CSkin();
    virtual ~CSkin() = default;

    // Whether the control has a normal and a hover image.
    static bool HasImages(Control id);

    // Enlarges every image to `scale` device pixels per skin pixel, each skin pixel a square block.
    void SetScale(int scale);
    int Scale() const { return m_scale; }

    // The images at the current scale.
    const QPixmap& Normal(Control id) const;
    const QPixmap& Hover(Control id) const;
    const QPixmap& Title() const { return m_title.scaled; }

    // Gives control `id` its hover or normal image in `buttons` (the window's buttons, indexed by
    // control, null where a control has none) and records it as the hovered control. With no id, the
    // recorded control gets its normal image back and none is recorded. Controls without images are
    // only recorded.
    void SetHover(std::optional<Control> id, bool hover, std::span<ImageButton* const> buttons);
    std::optional<Control> Hovered() const { return m_hover; }

    // Draws the counter for frame `frame` at `delay` fiftieths per frame, in device pixels: the 8
    // glyphs of the digit strip at (8 * i + 1, 1) skin pixels from `origin`.
    void DrawTime(QPainter& painter, QPoint origin, int frame, int delay) const;

private:
    struct Picture {
        QImage original;
        QPixmap scaled;
    };

    static void Load(Picture& picture, const QString& name);
    static void Enlarge(Picture& picture, int scale);
    void ShowImage(Control id, bool hover, std::span<ImageButton* const> buttons) const;

    Picture m_normal[kControlCount];
    Picture m_hoverImages[kControlCount];
    Picture m_digits;
    Picture m_title;
    int m_scale = 1;
    std::optional<Control> m_hover;
};

// The program's icon at every size it is drawn in.
QIcon ApplicationIcon();

}  // namespace qzm::ui
