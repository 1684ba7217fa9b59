// The player's paint device over a QPainter: the renderer's 32-bit output is shown in place, the
// native 8-bit picture through an image kept between frames. Where the painter paints into a 32-bit
// image in whole device pixels (a window's backing store), the device offers that image's pixels, so
// that the picture is rendered straight into them.
#pragma once

#include <QImage>

#include "paint_device.h"

class QPainter;

namespace qzm::ui {

class QtPaintDevice : public IPaintDevice {
public:
    // `indexed` is reused for the 8-bit picture from one paint to the next. With `offerPixels`, the
    // painter's image is offered as the target of a picture: only where everything the picture
    // covers is to be painted (the painter's clip is not applied to it).
    QtPaintDevice(QPainter& painter, QImage& indexed, bool offerPixels = false)
        : m_painter(painter), m_indexed(indexed), m_offerPixels(offerPixels) {}

    void DrawIndexed(int x, int y, const std::uint8_t* rows, int width, int height,
                     std::span<const PaletteEntry, kColourCount> palette) override;
    void DrawPixels(int x, int y, const Pixel32* pixels, int width, int height) override;
    std::optional<PixelTarget> TargetFor(int x, int y, int width, int height) override;

private:
    QPainter& m_painter;
    QImage& m_indexed;
    bool m_offerPixels;
};

}  // namespace qzm::ui
