#include "qt_paint_device.h"

#include <QPainter>
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

}  // namespace qzm::ui
