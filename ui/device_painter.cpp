#include "device_painter.h"

#include <QPainter>
#include <QWidget>

namespace qzm::ui {

void PaintInWindowDevicePixels(QPainter& painter, const QWidget& widget) {
    // The device transform maps the painter's units to device pixels: the world transform, then the
    // widget's place in what is painted and the screen's ratio. Keep the latter, undone, under a
    // world transform that is a whole-pixel shift to the window's corner.
    const QTransform device = painter.deviceTransform();
    const QTransform placeAndRatio = painter.worldTransform().inverted() * device;
    const QPointF corner = device.map(QPointF(-widget.mapTo(widget.window(), QPoint(0, 0))));
    const QTransform shift = QTransform::fromTranslate(qRound(corner.x()), qRound(corner.y()));
    painter.setWorldTransform(shift * placeAndRatio.inverted());
}

void DevicePlace::Set(QWidget& widget, const Rect& device, const DeviceScale& scale) {
    m_device = ToQRect(device);
    m_skin = scale.skin;
    widget.setGeometry(ToQRect(scale.LogicalCover(device)));
    widget.update();
}

}  // namespace qzm::ui
