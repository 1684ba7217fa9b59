// Painting the window in device pixels: the skin's controls paint their enlarged images 1:1 at the
// device pixels the layout gives them, and the window paints the picture the player rendered at
// device resolution, whatever the screen's ratio of device to logical pixels.
#pragma once

#include <QRect>

#include "device_scale.h"

class QPainter;
class QWidget;

namespace qzm::ui {

inline QRect ToQRect(const Rect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

// Makes one unit of `painter`, which paints on `widget`, one device pixel of the widget's window,
// with the origin at the window's top-left corner.
void PaintInWindowDevicePixels(QPainter& painter, const QWidget& widget);

// A skin control's place: the device pixels it paints, in its window's device pixels, and the
// logical geometry that covers them (at a fractional ratio a little larger than they are).
class DevicePlace {
public:
    // Places `widget` over `device`.
    void Set(QWidget& widget, const Rect& device, const DeviceScale& scale);
    const QRect& Device() const { return m_device; }
    int Skin() const { return m_skin; }

private:
    QRect m_device;
    int m_skin = 1;
};

}  // namespace qzm::ui
