#include "qt_paint_device.h"

#include <QPaintEngine>
#include <QPainter>
#include <cmath>
#include <cstring>

namespace qzm::ui {

void QtPaintDevice::DrawIndexed(int x, int y, const std::uint8_t* rows, int width, int height,
                                std::span<const PaletteEntry, kColourCount> palette) {
    if (m_indexed.width() != width || m_indexed.height() != height ||
        m_indexed.format() != QImage::Format_Indexed8) {
        m_indexed = QImage(width, height, QImage::Format_Indexed8);
        m_indexed.setColorCount(kColourCount);
    }
    for (int i = 0; i < kColourCount; ++i) {
        const QRgb colour = qRgb(palette[i].red, palette[i].green, palette[i].blue);
        if (m_indexed.color(i) != colour) {
            m_indexed.setColor(i, colour);
        }
    }
    // The picture is stored bottom-up; the image is top-down.
    for (int row = 0; row < height; ++row) {
        std::memcpy(m_indexed.scanLine(row), rows + static_cast<std::size_t>(height - 1 - row) * width,
                    static_cast<std::size_t>(width));
    }
    m_painter.drawImage(x, y, m_indexed);
}

void QtPaintDevice::DrawPixels(int x, int y, const Pixel32* pixels, int width, int height) {
    // 0xFFRRGGBB words are exactly Format_RGB32's pixels: wrapped, not copied.
    const QImage image(reinterpret_cast<const uchar*>(pixels), width, height, width * 4,
                       QImage::Format_RGB32);
    m_painter.drawImage(x, y, image);
}

std::optional<PixelTarget> QtPaintDevice::TargetFor(int x, int y, int width, int height) {
    if (!m_offerPixels || m_painter.paintEngine() == nullptr) {
        return std::nullopt;
    }
    QPaintDevice* device = m_painter.paintEngine()->paintDevice();
    if (device == nullptr || device->devType() != QInternal::Image) {
        return std::nullopt;
    }
    auto* image = static_cast<QImage*>(device);
    // 0xFFRRGGBB words are these formats' pixels.
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied) {
        return std::nullopt;
    }
    // Only where painting is a shift by whole pixels does (x, y) name one pixel of the image.
    const QTransform& t = m_painter.deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::round(t.dx()) || t.dy() != std::round(t.dy())) {
        return std::nullopt;
    }
    const QRect place(x + static_cast<int>(t.dx()), y + static_cast<int>(t.dy()), width, height);
    if (!image->rect().contains(place)) {
        return std::nullopt;
    }
    const auto stride = static_cast<std::size_t>(image->bytesPerLine()) / sizeof(Pixel32);
    auto* pixels = reinterpret_cast<Pixel32*>(image->bits());
    return PixelTarget{pixels + static_cast<std::size_t>(place.y()) * stride + place.x(), stride};
}

}  // namespace qzm::ui
