// The player's paint device over a QPainter: the renderer's 32-bit output is shown in place, the
// native 8-bit picture through an image kept between frames.
#pragma once

#include <QImage>

#include "paint_device.h"

class QPainter;

namespace qzm::ui {

class QtPaintDevice : public IPaintDevice {
public:
    // `indexed` is reused for the 8-bit picture from one paint to the next.
    QtPaintDevice(QPainter& painter, QImage& indexed) : m_painter(painter), m_indexed(indexed) {}

    void DrawIndexed(int x, int y, const std::uint8_t* rows, int width, int height,
                     std::span<const PaletteEntry, kColourCount> palette) override;
    void DrawPixels(int x, int y, const Pixel32* pixels, int width, int height) override;

private:
    QPainter& m_painter;
    QImage& m_indexed;
};

}  // namespace qzm::ui
