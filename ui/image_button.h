// The skin's image buttons (the frame buttons along the top and the playback buttons along the
// bottom): a button that shows one image, swapped by the skin on hover, with a tooltip and an
// accessible name. The always-on-top button is checkable and shows a sunken edge while checked.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

#include "device_painter.h"

namespace qzm::ui {

class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    // `name` is the object name (the control id), `label` the tooltip and accessible name.
    ImageButton(const QString& name, const QString& label, QWidget* parent);

    void SetImage(const QPixmap& image);
    // Where the image goes in the window's device pixels.
    void Place(const Rect& device, const DeviceScale& scale) { m_place.Set(*this, device, scale); }

signals:
    void hovered(bool inside);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap m_image;
    DevicePlace m_place;
};

// Draws a sunken edge `width` pixels wide just inside `rect`: dark at the top and left, light at the
// bottom and right.
void DrawSunkenEdge(QPainter& painter, const QRect& rect, int width);

}  // namespace qzm::ui
